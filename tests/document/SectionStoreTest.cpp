#include "document/SectionStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModelFixtures.h"

namespace corvanta {
namespace {

using testing::ReplaceAll;

struct SectionCase {
    const char* Label;
    const char* Name;
    std::string Text;
    std::string Section;  // ExtractSection
    std::string Line;     // ExtractSectionLine
};

const std::vector<SectionCase>& SectionCases() {
    static const std::vector<SectionCase> cases = {
        {"opened and closed at once", "Desc", "%Desc%\r\n%/Desc%\r\n", "", "%/Desc%"},
        {"empty line kept", "Desc", "%Desc%\r\na\r\n\r\nb\r\n%/Desc%\r\n", "a\r\n\r\nb\r\n", "a"},
        {"no closing tag runs to the end", "Desc", "%Desc%\r\na", "a\r\n", "a"},
        {"single line", "Titulo", "%Titulo%\r\nx\r\n%/Titulo%\r\n", "x\r\n", "x"},
        {"empty value line", "Titulo", "%Titulo%\r\n\r\n%/Titulo%\r\n", "\r\n", ""},
        {"lower case tag opens nothing", "Titulo", "%titulo%\r\nx\r\n%/titulo%\r\n", "", ""},
        {"leading blank opens nothing", "Titulo", " %Titulo%\r\nx\r\n%/Titulo%\r\n", "", ""},
        {"trailing blank closes nothing", "Desc", "%Desc%\r\na\r\n%/Desc% \r\nb\r\n",
         "a\r\n%/Desc% \r\nb\r\n", "a"},
        {"first of two sections", "Desc",
         "%Desc%\r\none\r\n%/Desc%\r\n%Desc%\r\ntwo\r\n%/Desc%\r\n", "one\r\n", "one"},
        {"closing tag before opening plays no part", "Desc",
         "%/Desc%\r\n%Desc%\r\na\r\n%/Desc%\r\n", "a\r\n", "a"},
        {"Par1 neither starts nor stops at Par10", "Par1",
         "%Par10%\r\nten\r\n%/Par10%\r\n%Par1%\r\none\r\n%Par10%\r\n%/Par10%\r\n%/Par1%\r\n",
         "one\r\n%Par10%\r\n%/Par10%\r\n", "one"},
        {"nested sections are copied whole", "Par0",
         "%Par0%\r\n%ParNombre%\r\nx\r\n%/ParNombre%\r\n%/Par0%\r\n",
         "%ParNombre%\r\nx\r\n%/ParNombre%\r\n", "%ParNombre%"},
        {"tag is the last line", "Titulo", "a\r\n%Titulo%\r\n", "", ""},
        {"no tag at all", "Titulo", "a\r\nb\r\n", "", ""},
        {"empty text", "Titulo", "", "", ""},
        {"Windows-1252 bytes kept", "Desc", "%Desc%\r\n\xB5m \xB1 0.1\r\n%/Desc%\r\n",
         "\xB5m \xB1 0.1\r\n", "\xB5m \xB1 0.1"},
        {"NUL ends the text", "Desc", std::string("%Desc%\r\na\0b\r\n%/Desc%\r\n", 23), "a\r\n",
         "a"}};
    return cases;
}

// Texts are written with CR LF; each case also runs with LF and CR alone.
TEST(SectionStore, ReadsEveryCaseAlikeWithEachLineEnd) {
    for (const SectionCase& c : SectionCases()) {
        for (const char* end : {"\r\n", "\n", "\r"}) {
            std::string text = ReplaceAll(c.Text, "\r\n", end);
            SCOPED_TRACE(std::string(c.Label) + " / " +
                         ReplaceAll(ReplaceAll(end, "\r", "CR"), "\n", "LF"));
            EXPECT_EQ(ExtractSection(c.Name, text), c.Section);
            EXPECT_EQ(ExtractSectionLine(c.Name, text), c.Line);
        }
    }
}

TEST(SectionStore, SplitsLinesAtEveryKindOfLineEnd) {
    // Text, then its lines each closed by "|".
    const std::pair<std::string, const char*> cases[] = {
        {"", ""},
        {"\r\n", "|"},
        {"a", "a|"},
        {"a\r\n", "a|"},
        {"a\r\n\r\n", "a||"},
        {"a\rb\nc\r\nd", "a|b|c|d|"},
        {"a\n\rb", "a||b|"},
        {"a\r\r\nb", "a||b|"},
        {std::string("a\nb\0c\nd", 7), "a|b|"}};  // NUL ends the text
    for (const auto& [text, expected] : cases) {
        std::string got;
        for (std::string_view line : SplitTextLines(text))
            got += std::string(line) + "|";
        EXPECT_EQ(got, expected) << "text of " << text.size() << " bytes";
    }
    EXPECT_EQ(NormalizeLineEnds("a\rb\nc\r\n\n"), "a\r\nb\r\nc\r\n\r\n");
}

}  // namespace
}  // namespace corvanta
