#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "distributions/Readings.h"
#include "engine/Faults.h"
#include "engine/NumberText.h"
#include "support/ScriptedDialogs.h"

#ifdef CORVANTA_HAVE_BOOST
#include <boost/math/distributions/students_t.hpp>
#endif

namespace corvanta {
namespace {

using testing::ScriptedDialogs;
using Cells = std::vector<std::vector<std::string>>;
using M = ReadingMode;

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
    // clang-format off
    const Case cases[] = {
        {M::Directa, "Directa", {Quantity}, ""},
        {M::IndirectaSX, "SX", {Standard, Quantity}, "Value = X - S"},
        {M::IndirectaSXXS, "SXXS", {Standard, Quantity, Quantity, Standard},
         "Value = ( ( Xa + Xb ) / 2 ) - ( ( Sa + Sb ) / 2 )"},
        {M::IndirectaXS, "X/S", {Standard, Quantity}, "Value = X / S"},
        {M::IndirectaSXS, "SXS", {Standard, Quantity, Standard},
         "Value = valor = X - ( ( Sa + Sb ) / 2 )"},
    };
    // clang-format on
    for (const auto& c : cases) {
        EXPECT_EQ(ReadingModeKeyword(c.Mode), c.Keyword);
        EXPECT_EQ(ReadingModeFromKeyword(c.Keyword), c.Mode);
        EXPECT_EQ(ReadingColumns(c.Mode), c.Columns);
        EXPECT_EQ(ReadingModeHint(c.Mode, "Value"), c.Hint);
    }
    for (const char* keyword : {"sx", "SX ", ""})
        EXPECT_EQ(ReadingModeFromKeyword(keyword), std::nullopt) << keyword;
    EXPECT_STREQ(kStandardColumnHeader, "Patr\xF3n");
}

// Every mode survives parse and compose byte for byte; other line ends, blanks between cells and
// the trailing empty lines of old files read as the canonical text.
TEST(Readings, ParseThenComposeGivesTheCanonicalText) {
    const char* const sx = "SX\r\n10.0\r10.2\r\n10.0\r&\r\n";
    // clang-format off
    const std::pair<std::string, const char*> cases[] = {
        {"Directa\r\n10.1\r\n10.3\r\n10.2\r\n", nullptr}, {"Directa\r\n&\r\n-1E-5\r\n", nullptr},
        {"SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n", nullptr}, {"SX\r\n&\r10.2\r\n10.0\r&\r\n", nullptr},
        {"SXXS\r\n1\r5\r7\r3\r\n1.5\r5.5\r&\r3.5\r\n", nullptr},
        {"X/S\r\n2\r4\r\n2\r4\r\n2\r4\r\n", nullptr},
        {"SXS\r\n1.0\r5.0\r3.0\r\n&\r&\r&\r\n", nullptr}, {"", nullptr}, {"Directa\r\n", nullptr},
        {"SX\n10.0\r10.2\n10.0\r&\n", sx}, {"SX\r\n10.0\r10.2\r\n10.0\r&", sx},
        {"SX\r\n10.0\r10.2\r\n10.0\r&\r\n\r\n\r\n", sx}, {"SX\r\n10.0 10.2\r\n 10.0  &\r\n", sx},
        {"SX\r\n10.0\r10.2 \r\n10.0\r\r\n", sx}, {"Directa\r\n1 2\r\n", "Directa\r\n1\r2\r\n"},
    };
    // clang-format on
    for (const auto& [text, canonical] : cases)
        EXPECT_EQ(ComposeReadings(ParseReadings(text)), canonical ? canonical : text) << text;
    EXPECT_EQ(ParseReadings(sx), (ReadingsTable{"SX", {{"10.0", "10.2"}, {"10.0", ""}}}));
    EXPECT_EQ(ComposeReadings(M::IndirectaSX, {{"10.0", "10.2"}, {"10.0", "10.3"}}),
              "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n");
    EXPECT_EQ(ComposeReadings(M::IndirectaSXS, {{"1", "", "3"}}), "SXS\r\n1\r&\r3\r\n");
    EXPECT_EQ(ComposeReadings(M::Directa, {}), "Directa\r\n");
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
    // clang-format off
    const Case cases[] = {
        {"same mode", sx, M::IndirectaSX, 3, {{"1", "2"}, {"3", ""}, {"5", "6"}}},
        {"more rows", sx, M::IndirectaSX, 4, {{"1", "2"}, {"3", ""}, {"5", "6"}, {"", ""}}},
        {"fewer rows", sx, M::IndirectaSX, 1, {{"1", "2"}}},
        {"other mode", sx, M::IndirectaXS, 2, {{"", ""}, {"", ""}}},
        {"directa reads sx", sx, M::Directa, 1, {{""}}},
        {"one row", "SX\r\n1\r2\r\n", M::IndirectaSX, 1, {{"", ""}}},
        {"short row", "SXS\r\n1\r2\r\n4\r5\r6\r\n", M::IndirectaSXS, 2,
         {{"1", "2", ""}, {"4", "5", "6"}}},
        {"empty", "", M::Directa, 2, {{""}, {""}}}, {"no rows", "", M::Directa, 0, {}},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(PrefillReadings(c.Text, c.Mode, c.Rows), c.Expected);
    }
}

TEST(Readings, ExperimentalApplyStoresWhatTheSamplerReads) {
    struct ExperimentalCase {
        const char* Name;
        ReadingMode Mode;
        std::string Table;
        bool Student;
        std::string Valor;  // exact
        double A;           // to 1e-13 relative
        std::string Grados;
    };
    const double u = 0.1 / std::sqrt(3.0);
    // The 95 % critical value for two degrees of freedom, in single precision.
    const double t2 = 4.302652835845947;
    // clang-format off
    const ExperimentalCase cases[] = {
        {"directa normal", M::Directa, "Directa\r\n10.1\r\n10.3\r\n10.2\r\n", false, "10.2",
         t2 * u / 1.96, "2"},
        {"directa student", M::Directa, "Directa\r\n10.1\r\n10.3\r\n10.2\r\n", true, "10.2", u,
         "2"},
        {"two readings", M::Directa, "Directa\r\n1\r\n2\r\n", true, "1.5", 0.5, "1"},
        {"x/s", M::IndirectaXS, "X/S\r\n2\r4\r\n2\r4\r\n2\r4\r\n", true, "2", 0, "2"},
        {"sxs", M::IndirectaSXS, "SXS\r\n1.0\r5.0\r3.0\r\n1\r7\r3\r\n", true, "4", 1, "1"},
        {"sxxs", M::IndirectaSXXS, "SXXS\r\n1\r5\r7\r3\r\n0\r0\r0\r0\r\n", true, "2", 2, "1"},
        {"sx", M::IndirectaSX, "SX\r\n10\r10.5\r\n10\r11.5\r\n", true, "1", 0.5, "1"},
        {"old file extra line end", M::Directa, "Directa\r\n1\r\n2\r\n\r\n", true, "1.5", 0.5, "1"},
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Name);
        ModelParameter before;
        before.Nombre = "L", before.Desc = "length", before.Distrib = 1, before.Valor = "9";
        before.a = "1", before.Sensib = 0.5;
        ScriptedDialogs dialogs;
        auto stored = ApplyExperimental({c.Mode, c.Table, c.Student}, before, English(), dialogs);
        EXPECT_TRUE(dialogs.Log.empty());
        ASSERT_TRUE(stored);
        long double a = 0;
        ASSERT_TRUE(TryParseFloat(stored->a, a)) << stored->a;
        EXPECT_NEAR(static_cast<double>(a), c.A, 1e-13 * std::fabs(c.A));
        ModelParameter expected = before;  // everything else is kept
        expected.Distrib = 17, expected.Init = true, expected.Valor = c.Valor,
        expected.a = stored->a;
        expected.b = c.Student ? "Student" : "Normal", expected.Grados = c.Grados;
        expected.Lecturas = c.Table;
        EXPECT_EQ(*stored, expected);
    }
}

TEST(Readings, ExperimentalApplyRefusesWhatCannotBeDrawn) {
    struct Case {
        ReadingMode Mode;
        std::string Table;
        DialogKind Kind;
        std::string Text;
    };
    const DialogKind info = DialogKind::Information, error = DialogKind::Error;
    const std::string emptyCell = "The readings table is incomplete: row ",
                      incomplete =
                          " has an empty cell. The distribution has not been assigned; "
                          "complete the table and apply it again.",
                      again = " Enter the readings again.",
                      select = " Select that mode, or enter the readings again.",
                      entered = "The readings were entered in the mode ";
    // clang-format off
    const Case cases[] = {
        {M::Directa, "", info, English().ValuesNotEntered},
        {M::Directa, "Directa\r\n", info, English().ValuesNotEntered},
        {M::Directa, "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n", error,
         entered + "Indirect SX, not in the mode selected (Direct)." + select},
        {M::IndirectaXS, "SX\r\n1\r2\r\n1\r3\r\n", error,
         entered + "Indirect SX, not in the mode selected (Indirect X/S)." + select},
        {M::Directa, "Direct\r\n1\r\n2\r\n", error,
         "The readings table is not valid: its first line names no mode of entry." + again},
        {M::IndirectaSX, "SX\r\n1\r2\r\n&\r3\r\n", info, emptyCell + "2" + incomplete},
        {M::Directa, "Directa\r\n&\r\n2\r\n", info, emptyCell + "1" + incomplete},
        {M::IndirectaSX, "SX\r\n1\r2\r\n1\r2\r3\r\n", error,
         "Row 2 of the readings table holds 3 values where the mode Indirect SX needs 2." + again},
        {M::Directa, "Directa\r\n1 2\r\n3\r\n", error,
         "Row 1 of the readings table holds 2 values where the mode Direct needs 1." + again},
        {M::IndirectaSXS, "SXS\r\n1\r2\r3\r\n1\rabc\r3\r\n", error, "abc is not a Real number"},
        {M::Directa, "Directa\r\n1,5\r\n2\r\n", error, "1,5 is not a Real number"},
        {M::Directa, "Directa\r\n10.1\r\n", error, "A single reading gives no estimate of the "
         "spread: enter at least two readings. The distribution has not been assigned."},
        {M::IndirectaXS, "X/S\r\n2\r4\r\n0\r4\r\n", error, "Floating point division by zero"},
        {M::Directa, "Directa\r\n1E400\r\n1\r\n", error, "Floating point overflow"},
        {M::Directa, "Directa\r\n-1.7E308\r\n1.7E308\r\n", error, "Floating point overflow"},
    };
    // clang-format on
    for (const bool student : {false, true}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(c.Table);
            ScriptedDialogs dialogs;
            EXPECT_FALSE(ApplyExperimental({c.Mode, c.Table, student}, ModelParameter{}, English(),
                                           dialogs));
            EXPECT_EQ(dialogs.Log, (std::vector<ScriptedDialogs::Shown>{{c.Kind, c.Text}}));
        }
    }
}

TEST(Readings, CorrelationOfPairedDirectReadings) {
    auto experimental = [](const char* table) {
        ModelParameter p;
        p.Distrib = 17, p.Lecturas = table, p.Init = true;
        return p;
    };
    const ModelParameter q = experimental("Directa\r\n1\r\n2\r\n3\r\n4\r\n");
    const std::pair<const char*, std::optional<double>> cases[] = {
        {"Directa\r\n2\r\n4\r\n6\r\n8\r\n", 1.0},
        {"Directa\r\n8\r\n6\r\n4\r\n2\r\n", -1.0},
        // Sums of products about the means: 1 for the pair, 5 and 2 for each.
        {"Directa\r\n1\r\n0\r\n2\r\n1\r\n", 1 / std::sqrt(10.0)},
        {"Directa\r\n5\r\n5\r\n5\r\n5\r\n", std::nullopt},         // no spread
        {"Directa\r\n1\r\n2\r\n3\r\n", std::nullopt},              // three readings to four
        {"SX\r\n1\r0\r\n2\r0\r\n3\r0\r\n4\r0\r\n", std::nullopt},  // not read directly
        {"Directa\r\n1\r\nx\r\n3\r\n4\r\n", std::nullopt},
    };
    for (const auto& [other, expected] : cases) {
        const std::optional<double> r = ReadingsCorrelation(q, experimental(other));
        ASSERT_EQ(r.has_value(), expected.has_value()) << other;
        EXPECT_NEAR(r.value_or(0), expected.value_or(0), 1e-15) << other;
    }
    ModelParameter normal = q;
    normal.Distrib = static_cast<std::int32_t>(DistributionKind::Normal);
    EXPECT_EQ(ReadingsCorrelation(q, normal), std::nullopt);
    EXPECT_EQ(
        ReadingsCorrelation(experimental("Directa\r\n1\r\n"), experimental("Directa\r\n2\r\n")),
        std::nullopt);
}

// Spreadsheet text: the separator is the first kind present (tab, semicolon, blank); an empty
// cell between separators stays; blank lines after the selection are no rows.
TEST(Readings, PastedTextSplitsAsASpreadsheetCopiesIt) {
    const std::vector<std::pair<std::string, Cells>> cases = {
        {"", {}},
        {"1\t2\r\n3\t4\r\n", {{"1", "2"}, {"3", "4"}}},
        {"1\t\t3\n 4 \t5", {{"1", "", "3"}, {"4", "5"}}},
        {"1;2 3;\r4", {{"1", "2 3", ""}, {"4"}}},
        {"  1   2 \n\n3\r\n \r\n\n", {{"1", "2"}, {}, {"3"}}},
        {"1,5 2,5", {{"1,5", "2,5"}}},
    };
    for (const auto& [text, cells] : cases)
        EXPECT_EQ(SplitPastedCells(text), cells) << text;
}

// A paste lands from the chosen cell, adds rows as needed and is refused whole: a bad cell named
// by its place in the table, a paste wider than the table from that cell or beyond row 999.
TEST(Readings, PasteFillsFromTheCellOrRefusesTheWholePaste) {
    const std::string refused = "Nothing was pasted: ",
                      fits = refused +
                             "the readings have more columns than the table from this "
                             "cell, or more than 999 rows";
    using Line = std::vector<std::string>;
    struct Case {
        int Row, Column;
        const char* Text;
        std::size_t Rows;  // rows of the table afterwards, 0 when refused
        Line First, Last;
        std::string Error;
    } cases[] = {
        {0, 0, "1\t2\n3\t4", 2, {"1", "2"}, {"3", "4"}, ""},
        {1, 1, "5", 2, {"", ""}, {"", "5"}, ""},
        {2, 0, "6", 3, {"", ""}, {"6", ""}, ""},
        {998, 0, "7\t8", 999, {"", ""}, {"7", "8"}, ""},
        {999, 0, "7", 0, {}, {}, fits},
        {997, 0, "7\n8\n9", 0, {}, {}, fits},
        {0, 1, "1\t2", 0, {}, {}, fits},
        {-1, 0, "1", 0, {}, {}, fits},
        {0, 0, "x\t2", 0, {}, {}, refused + "row 1, column 1: x is not a Real number"},
        {1, 0, "1\t2\n3\tabc", 0, {}, {}, refused + "row 3, column 2: abc is not a Real number"},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        const auto pasted =
            PasteReadings({{"", ""}, {"", "9"}}, 2, c.Row, c.Column, c.Text, English(), dialogs);
        using Log = std::vector<ScriptedDialogs::Shown>;
        const Log shown = c.Error.empty() ? Log{} : Log{{DialogKind::Error, c.Error}};
        EXPECT_EQ(dialogs.Log, shown) << c.Text;
        ASSERT_EQ(pasted ? pasted->size() : 0, c.Rows) << c.Text;
        if (!pasted) continue;
        EXPECT_EQ(pasted->front(), c.First) << c.Text;
        EXPECT_EQ(pasted->back(), c.Last) << c.Text;
    }
}

const double kPercent[6] = {68.27, 90, 95, 95.45, 99, 99.73};
const double kOutside[6] = {0.3173, 0.1, 0.05, 0.0455, 0.01, 0.0027};

// The quoted rows, to their six significant digits; a coverage may also be given as the
// probability outside the interval.
TEST(StudentCritical, AgreesWithTheQuotedRows) {
    const std::pair<int, std::array<double, 6>> rows[] = {
        {1, {1.83741, 6.31375, 12.7062, 13.9678, 63.6567, 235.784}},
        {10, {1.05259, 1.81246, 2.22814, 2.28368, 3.16927, 3.95689}},
        {50, {1.01012, 1.6759, 2.00856, 2.05125, 2.67779, 3.15712}},
        {100, {1.00505, 1.66023, 1.98397, 2.02531, 2.62589, 3.07673}},
        {10000, {1.00007, 1.64501, 1.96020, 2.00025, 2.57632, 3.00073}},
    };
    for (const auto& [nu, values] : rows) {
        for (int c = 0; c < 6; ++c) {
            SCOPED_TRACE("nu " + std::to_string(nu) + " column " + std::to_string(c));
            const double shown = values[c];
            const double halfUnit = 0.5 * std::pow(10.0, std::floor(std::log10(shown)) - 5);
            EXPECT_NEAR(static_cast<double>(StudentCritical(kPercent[c], nu)), shown,
                        halfUnit * 1.0001);
            EXPECT_EQ(StudentCritical(kOutside[c], nu), StudentCritical(kPercent[c], nu));
        }
    }
}

#ifdef CORVANTA_HAVE_BOOST
TEST(StudentCritical, EveryRowIsTheQuantileRoundedToSinglePrecision) {
    // nu = 1 ... 50, 100, 1000, 10000
    for (int nu = 1; nu <= 10000; nu = nu < 50 ? nu + 1 : nu * 10 / (nu == 50 ? 5 : 1)) {
        const boost::math::students_t_distribution<long double> t(nu);
        for (double percent : kPercent) {
            const long double upper = (1.0L + static_cast<long double>(percent) / 100) / 2;
            EXPECT_EQ(StudentCritical(percent, nu),
                      static_cast<float>(boost::math::quantile(t, upper)))
                << "nu " << nu << " coverage " << percent;
        }
    }
}
#endif

TEST(StudentCritical, InterpolatesLinearlyBetweenRowsAndHoldsBeyondTheLast) {
    const auto at = [](int nu) { return StudentCritical(95, nu); };
    // The quoted example: 2.00856 + 25 (1.98397 - 2.00856) / 50.
    EXPECT_NEAR(static_cast<double>(at(75)), 1.99626535, 1e-8);
    const int cases[][3] = {{51, 50, 100}, {99, 50, 100}, {200, 100, 1000}, {9999, 1000, 10000}};
    for (const auto& [nu, low, high] : cases) {
        const long double expected = at(low) + (nu - low) * (at(high) - at(low)) / (high - low);
        EXPECT_NEAR(static_cast<double>(at(nu)), static_cast<double>(expected), 1e-15) << nu;
    }
    EXPECT_EQ(at(10000), at(20000));
    EXPECT_EQ(at(10000), at(2147483647));
}

TEST(StudentCritical, RefusesAnUnknownCoverageAndFewerThanOneDegree) {
    EXPECT_EQ(StudentCritical(95.000009, 10), StudentCritical(95, 10));
    EXPECT_EQ(StudentCritical(0.050009, 10), StudentCritical(95, 10));
    for (double p : {95.0001, 0.0501, 0.95, 50.0, 0.0, -95.0, 100.0})
        EXPECT_THROW(StudentCritical(p, 10), CalcError) << p;
    for (int nu : {0, -1, -2147483647 - 1})
        EXPECT_THROW(StudentCritical(95, nu), CalcError) << nu;
}

}  // namespace
}  // namespace corvanta
