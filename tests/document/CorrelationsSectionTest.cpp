// The correlations section of the model file: written after the records only
// when a coefficient is not 0, read back, and refused line by line.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "document/ModelFile.h"
#include "document/ResultsReport.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;

std::string RecordText(int n, const std::string& name, const std::string& distrib) {
    const char* const tags[] = {"ParNombre", "ParUnidad",   "ParDesc",  "ParDistrib",
                                "ParValor",  "ParLecturas", "Par_a",    "Par_b",
                                "ParGrados", "ParInit",     "ParSensib"};
    const std::string values[] = {name, "", "", distrib, "0", "", "1", "", "", "T", "0"};
    std::string text = "%Par" + std::to_string(n) + "%\r\n";
    for (int i = 0; i < 11; ++i)
        text += std::string("%") + tags[i] + "%\r\n" + values[i] + "\r\n%/" + tags[i] + "%\r\n";
    return text + "%/Par" + std::to_string(n) + "%\r\n";
}

const std::string kHead =
    "%Titulo%\r\nt\r\n%/Titulo%\r\n%Desc%\r\n%/Desc%\r\n%Modelo%\r\n"
    "y = x1 + x2\r\n%/Modelo%\r\n" +
    RecordText(0, "y", "19") + RecordText(1, "x1", "1") + RecordText(2, "x2", "2");
const std::string kSection = "%Correlaciones%\r\nx1;x2;0.9\r\n%/Correlaciones%\r\n";

TEST(CorrelationsSection, RoundTripAndAbsence) {
    ScriptedDialogs dialogs;
    const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    auto opened = ApplyModelText(kHead + kSection, "m.cvm", texts, dialogs);
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->Document.Correlations, (CorrelationList{{"x1", "x2", 0.9}}));
    EXPECT_EQ(ComposeModelText(opened->Document), kHead + kSection);
    // Coefficients of 0 are not written, and no section at all without others.
    opened->Document.Correlations = {{"x1", "x2", 0}};
    EXPECT_EQ(ComposeModelText(opened->Document), kHead);
    auto plain = ApplyModelText(kHead, "m.cvm", texts, dialogs);
    ASSERT_TRUE(plain);
    EXPECT_TRUE(plain->Document.Correlations.empty());
    EXPECT_TRUE(dialogs.Log.empty());
}

TEST(CorrelationsSection, DamagedLinesAreRefusedNamingTheLine) {
    const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    // The first line inside the section, and the one after it.
    const long long first = std::count(kHead.begin(), kHead.end(), '\n') + 2;
    const std::string prefix =
        "The file \"m.cvm\" is not a valid model file: line " + std::to_string(first) + " (\"";
    struct Case {
        const char *Line, *Why;
    } cases[] = {
        {"x1;x9;0.5", "\"x9\" names no quantity of the model"},
        {"y;x1;0.5", "\"y\" is not an input quantity"},
        {"x2;x2;0.5", "\"x2\" is paired with itself"},
        {"x1;x2;1.5", "the coefficient 1.5 of \"x1\" and \"x2\" is not between -1 and 1"},
        {"x1;x2;zero", "'zero' is not a valid floating point value"},
        {"x1;x2", "it does not hold two names and a coefficient separated by \";\""},
        {"x1;x2;0.5;1", "it does not hold two names and a coefficient separated by \";\""},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        const std::string text =
            kHead + "%Correlaciones%\r\n" + c.Line + "\r\n%/Correlaciones%\r\n";
        EXPECT_FALSE(ApplyModelText(text, "m.cvm", texts, dialogs));
        EXPECT_EQ(
            dialogs.Texts(),
            std::vector<std::string>{prefix + c.Line + "\") of the correlations: " + c.Why + "."});
    }
    ScriptedDialogs dialogs;
    EXPECT_FALSE(
        ApplyModelText(kHead + "%Correlaciones%\r\nx1;x2;0.5\r\nx2;x1;0.5\r\n%/Correlaciones%\r\n",
                       "m.cvm", texts, dialogs));
    EXPECT_EQ(dialogs.Texts(),
              std::vector<std::string>{"The file \"m.cvm\" is not a valid model file: line " +
                                       std::to_string(first + 1) +
                                       " (\"x2;x1;0.5\") of the correlations: the pair \"x2\", "
                                       "\"x1\" is given twice."});
    EXPECT_FALSE(
        ApplyModelText(kHead + "%Correlaciones%\r\nx1;x2;0.5\r\n", "m.cvm", texts, dialogs));
    EXPECT_EQ(dialogs.Texts().back(),
              "The file \"m.cvm\" is not a complete model file: the tag "
              "\"%/Correlaciones%\" is missing.");
}

TEST(CorrelationsSection, ReportListsTheNonzeroCoefficientsAfterTheQuantities) {
    ModelParameter x;
    x.Nombre = "x1";
    const std::vector<ReportLine> lines =
        ComposeReport(ReportTexts{}, {x}, {{"x1", "x2", 0}, {"x2", "x1", -0.25}});
    const auto heading = std::find(lines.begin(), lines.end(), ReportLine{"Correlations", 0, true});
    ASSERT_NE(heading, lines.end());
    EXPECT_GT(heading - lines.begin(),
              std::find(lines.begin(), lines.end(), ReportLine{">> x1", 0, true}) - lines.begin());
    EXPECT_EQ(*(heading + 1), (ReportLine{"r(x2, x1) = -0.25"}));
    EXPECT_EQ(*(heading + 2), (ReportLine{""}));
    const std::vector<ReportLine> plain = ComposeReport(ReportTexts{}, {x}, {{"x1", "x2", 0}});
    EXPECT_EQ(std::find(plain.begin(), plain.end(), ReportLine{"Correlations", 0, true}),
              plain.end());
}

}  // namespace
}  // namespace corvanta
