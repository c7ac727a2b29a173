#include <gtest/gtest.h>

#include "captions/PathText.h"

namespace corvanta {
namespace {

TEST(PathText, FileSystemNamesInTheTextsCodePage) {
    const std::pair<std::string, std::string> cases[] = {
        {"/home/lab/model.cvm", "/home/lab/model.cvm"},
        {"/home/lab/medici\xC3\xB3n.cvm", "/home/lab/medici\xF3n.cvm"},  // o acute
        {"/m/\xE2\x82\xAC-\xC5\x93.cvm", "/m/\x80-\x9C.cvm"},            // euro, oe
        {"/m/\xE6\x97\xA5\xF0\x9F\x98\x80.cvm", "/m/??.cvm"},            // not in the code page
        {"/m/medici\xF3n.cvm", "/m/medici\xF3n.cvm"},                    // not UTF-8: as it is
        {"/m/\xC0\xAF.cvm", "/m/\xC0\xAF.cvm"},                          // overlong form
        {"/m/\xED\xA0\x80.cvm", "/m/\xED\xA0\x80.cvm"},                  // surrogate
        {"/m/\xC3", "/m/\xC3"},                                          // cut short
        // The least and greatest value of each length are UTF-8; one below or past is not.
        {"/\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "/????"},
        {"/\xE0\x9F\xBF", "/\xE0\x9F\xBF"},
        {"/\xF0\x8F\xBF\xBF", "/\xF0\x8F\xBF\xBF"},
        {"/\xF4\x90\x80\x80", "/\xF4\x90\x80\x80"},
        {"/\xED\x9F\xBF\xEE\x80\x80", "/??"},  // either side of the surrogates
        {"/\xED\xBF\xBF", "/\xED\xBF\xBF"},    // the last surrogate
        {"", ""},
    };
    for (const auto& [path, shown] : cases)
        EXPECT_EQ(PathText(path), shown) << path;
}

}  // namespace
}  // namespace corvanta
