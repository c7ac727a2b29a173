#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "distributions/Readings.h"
#include "engine/NumberText.h"
#include "support/ScriptedDialogs.h"

namespace corvanta {
namespace {

using testing::ScriptedDialogs;
using Cells = std::vector<std::vector<std::string>>;

const MessageTexts& English() {
    static const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    return texts;
}

TEST(Readings, ModesHaveTheirKeywordsAndColumns) {
    using enum ReadingColumn;
    struct Case {
        ReadingMode Mode;
        std::string Keyword;
        std::vector<ReadingColumn> Columns;
        std::string Hint;
    };
    const std::vector<Case> cases = {
        {ReadingMode::Directa, "Directa", {Quantity}, ""},
        {ReadingMode::IndirectaSX, "SX", {Standard, Quantity}, "Value = X - S"},
        {ReadingMode::IndirectaSXXS,
         "SXXS",
         {Standard, Quantity, Quantity, Standard},
         "Value = ( ( Xa + Xb ) / 2 ) - ( ( Sa + Sb ) / 2 )"},
        {ReadingMode::IndirectaXS, "X/S", {Standard, Quantity}, "Value = X / S"},
        {ReadingMode::IndirectaSXS,
         "SXS",
         {Standard, Quantity, Standard},
         "Value = valor = X - ( ( Sa + Sb ) / 2 )"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadingModeKeyword(c.Mode), c.Keyword);
        EXPECT_EQ(ReadingModeFromKeyword(c.Keyword), c.Mode);
        EXPECT_EQ(ReadingColumns(c.Mode), c.Columns);
        EXPECT_EQ(ReadingModeHint(c.Mode, "Value"), c.Hint);
    }
    EXPECT_EQ(ReadingModeFromKeyword("sx"), std::nullopt);
    EXPECT_EQ(ReadingModeFromKeyword("SX "), std::nullopt);
    EXPECT_EQ(ReadingModeFromKeyword(""), std::nullopt);
    EXPECT_STREQ(kStandardColumnHeader, "Patr\xF3n");
}

TEST(Readings, ParseThenComposeIsByteIdenticalInEveryMode) {
    const std::vector<std::string> texts = {
        "Directa\r\n10.1\r\n10.3\r\n10.2\r\n",        "Directa\r\n&\r\n-1E-5\r\n",
        "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n",         "SX\r\n&\r10.2\r\n10.0\r&\r\n",
        "SXXS\r\n1\r5\r7\r3\r\n1.5\r5.5\r&\r3.5\r\n", "X/S\r\n2\r4\r\n2\r4\r\n2\r4\r\n",
        "SXS\r\n1.0\r5.0\r3.0\r\n&\r&\r&\r\n",        "",
    };
    for (const auto& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ComposeReadings(ParseReadings(text)), text);
    }
    EXPECT_EQ(ComposeReadings(ReadingMode::IndirectaSX, {{"10.0", "10.2"}, {"10.0", "10.3"}}),
              "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n");
    EXPECT_EQ(ComposeReadings(ReadingMode::IndirectaSXS, {{"1", "", "3"}}), "SXS\r\n1\r&\r3\r\n");
    EXPECT_EQ(ComposeReadings(ReadingMode::Directa, {}), "Directa\r\n");
}

TEST(Readings, ParseAcceptsOtherLineEndsBlanksAndTheTrailingEmptyLinesOfOldFiles) {
    const ReadingsTable sx{"SX", {{"10.0", "10.2"}, {"10.0", ""}}};
    const std::vector<std::string> texts = {
        "SX\r\n10.0\r10.2\r\n10.0\r&\r\n", "SX\n10.0\r10.2\n10.0\r&\n",
        "SX\r\n10.0\r10.2\r\n10.0\r&",     "SX\r\n10.0\r10.2\r\n10.0\r&\r\n\r\n\r\n",
        "SX\r\n10.0 10.2\r\n 10.0  &\r\n", "SX\r\n10.0\r10.2 \r\n10.0\r\r\n",
    };
    for (const auto& text : texts) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ParseReadings(text), sx);
    }
    EXPECT_EQ(ParseReadings("Directa\r\n"), (ReadingsTable{"Directa", {}}));
    EXPECT_EQ(ParseReadings("Directa\r\n1 2\r\n"), (ReadingsTable{"Directa", {{"1", "2"}}}));
}

TEST(Readings, DialogPrefillsOnlyATableOfTheSelectedModeWithTwoRowsOrMore) {
    const std::string sx = "SX\r\n1\r2\r\n3\r&\r\n5\r6\r\n";
    struct Case {
        const char* Name;
        std::string Text;
        ReadingMode Mode;
        int Rows;
        Cells Expected;
    };
    const std::vector<Case> cases = {
        {"same mode", sx, ReadingMode::IndirectaSX, 3, {{"1", "2"}, {"3", ""}, {"5", "6"}}},
        {"more rows",
         sx,
         ReadingMode::IndirectaSX,
         4,
         {{"1", "2"}, {"3", ""}, {"5", "6"}, {"", ""}}},
        {"fewer rows", sx, ReadingMode::IndirectaSX, 1, {{"1", "2"}}},
        {"other mode", sx, ReadingMode::IndirectaXS, 2, {{"", ""}, {"", ""}}},
        {"directa reads sx", sx, ReadingMode::Directa, 1, {{""}}},
        {"one row", "SX\r\n1\r2\r\n", ReadingMode::IndirectaSX, 1, {{"", ""}}},
        {"short row",
         "SXS\r\n1\r2\r\n4\r5\r6\r\n",
         ReadingMode::IndirectaSXS,
         2,
         {{"1", "2", ""}, {"4", "5", "6"}}},
        {"empty", "", ReadingMode::Directa, 2, {{""}, {""}}},
        {"no rows", "", ReadingMode::Directa, 0, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(PrefillReadings(c.Text, c.Mode, c.Rows), c.Expected);
    }
}

struct ExperimentalCase {
    const char* Name;
    ReadingMode Mode;
    std::string Table;
    bool Student;
    std::string Valor;  // exact
    double A;           // to 1e-13 relative
    std::string Grados;
};

TEST(Readings, ExperimentalApplyStoresWhatTheSamplerReads) {
    const double u = 0.1 / std::sqrt(3.0);
    // The 95 % critical value for two degrees of freedom, in single precision.
    const double t2 = 4.302652835845947;
    const std::vector<ExperimentalCase> cases = {
        {"directa normal", ReadingMode::Directa, "Directa\r\n10.1\r\n10.3\r\n10.2\r\n", false,
         "10.2", t2 * u / 1.96, "2"},
        {"directa student", ReadingMode::Directa, "Directa\r\n10.1\r\n10.3\r\n10.2\r\n", true,
         "10.2", u, "2"},
        {"two readings", ReadingMode::Directa, "Directa\r\n1\r\n2\r\n", true, "1.5", 0.5, "1"},
        {"x/s", ReadingMode::IndirectaXS, "X/S\r\n2\r4\r\n2\r4\r\n2\r4\r\n", true, "2", 0, "2"},
        {"sxs", ReadingMode::IndirectaSXS, "SXS\r\n1.0\r5.0\r3.0\r\n1\r7\r3\r\n", true, "4", 1,
         "1"},
        {"sxxs", ReadingMode::IndirectaSXXS, "SXXS\r\n1\r5\r7\r3\r\n0\r0\r0\r0\r\n", true, "2", 2,
         "1"},
        {"sx", ReadingMode::IndirectaSX, "SX\r\n10\r10.5\r\n10\r11.5\r\n", true, "1", 0.5, "1"},
        {"old file extra line end", ReadingMode::Directa, "Directa\r\n1\r\n2\r\n\r\n", true, "1.5",
         0.5, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ModelParameter before;
        before.Nombre = "L";
        before.Desc = "length";
        before.Distrib = 1;
        before.Valor = "9";
        before.a = "1";
        before.Sensib = 0.5;
        ScriptedDialogs dialogs;
        auto stored = ApplyExperimental({c.Mode, c.Table, c.Student}, before, English(), dialogs);
        EXPECT_TRUE(dialogs.Log.empty());
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->Distrib, 17);
        EXPECT_TRUE(stored->Init);
        EXPECT_EQ(stored->Lecturas, c.Table);
        EXPECT_EQ(stored->Grados, c.Grados);
        EXPECT_EQ(stored->Valor, c.Valor);
        EXPECT_EQ(stored->b, c.Student ? "Student" : "Normal");
        long double a = 0;
        ASSERT_TRUE(TryParseFloat(stored->a, a)) << stored->a;
        EXPECT_NEAR(static_cast<double>(a), c.A, 1e-13 * std::fabs(c.A));
        EXPECT_EQ(stored->Nombre, "L");
        EXPECT_EQ(stored->Desc, "length");
        EXPECT_EQ(stored->Sensib, 0.5);
    }
}

TEST(Readings, ExperimentalApplyRefusesWhatCannotBeDrawn) {
    struct Case {
        const char* Name;
        ReadingMode Mode;
        std::string Table;
        DialogKind Kind;
        std::string Text;
    };
    const std::string incomplete =
        " has an empty cell. The distribution has not been assigned; complete the table and "
        "apply it again.";
    const std::vector<Case> cases = {
        {"empty", ReadingMode::Directa, "", DialogKind::Information, English().ValuesNotEntered},
        {"keyword only", ReadingMode::Directa, "Directa\r\n", DialogKind::Information,
         English().ValuesNotEntered},
        {"sx under directa", ReadingMode::Directa, "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n",
         DialogKind::Error,
         "The readings were entered in the mode Indirect SX, not in the mode selected (Direct). "
         "Select that mode, or enter the readings again."},
        {"sx under x/s", ReadingMode::IndirectaXS, "SX\r\n1\r2\r\n1\r3\r\n", DialogKind::Error,
         "The readings were entered in the mode Indirect SX, not in the mode selected (Indirect "
         "X/S). Select that mode, or enter the readings again."},
        {"unknown keyword", ReadingMode::Directa, "Direct\r\n1\r\n2\r\n", DialogKind::Error,
         "The readings table is not valid: its first line names no mode of entry. Enter the "
         "readings again."},
        {"incomplete", ReadingMode::IndirectaSX, "SX\r\n1\r2\r\n&\r3\r\n", DialogKind::Information,
         "The readings table is incomplete: row 2" + incomplete},
        {"incomplete directa", ReadingMode::Directa, "Directa\r\n&\r\n2\r\n",
         DialogKind::Information, "The readings table is incomplete: row 1" + incomplete},
        {"too many cells", ReadingMode::IndirectaSX, "SX\r\n1\r2\r\n1\r2\r3\r\n", DialogKind::Error,
         "Row 2 of the readings table holds 3 values where the mode Indirect SX needs 2. Enter "
         "the readings again."},
        {"blank inside a cell", ReadingMode::Directa, "Directa\r\n1 2\r\n3\r\n", DialogKind::Error,
         "Row 1 of the readings table holds 2 values where the mode Direct needs 1. Enter the "
         "readings again."},
        {"not a number", ReadingMode::IndirectaSXS, "SXS\r\n1\r2\r3\r\n1\rabc\r3\r\n",
         DialogKind::Error, "abc is not a Real number"},
        {"comma", ReadingMode::Directa, "Directa\r\n1,5\r\n2\r\n", DialogKind::Error,
         "1,5 is not a Real number"},
        {"single reading", ReadingMode::Directa, "Directa\r\n10.1\r\n", DialogKind::Error,
         "A single reading gives no estimate of the spread: enter at least two readings. The "
         "distribution has not been assigned."},
        {"zero standard", ReadingMode::IndirectaXS, "X/S\r\n2\r4\r\n0\r4\r\n", DialogKind::Error,
         "Floating point division by zero"},
        {"beyond double", ReadingMode::Directa, "Directa\r\n1E400\r\n1\r\n", DialogKind::Error,
         "Floating point overflow"},
        {"spread beyond double", ReadingMode::Directa, "Directa\r\n-1.7E308\r\n1.7E308\r\n",
         DialogKind::Error, "Floating point overflow"},
    };
    for (const bool student : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.Name);
            ModelParameter before;
            before.Nombre = "q";
            ScriptedDialogs dialogs;
            auto stored = ApplyExperimental({c.Mode, c.Table, student}, before, English(), dialogs);
            EXPECT_FALSE(stored);
            EXPECT_EQ(dialogs.Log, (std::vector<ScriptedDialogs::Shown>{{c.Kind, c.Text}}));
        }
    }
}

}  // namespace
}  // namespace corvanta
