// The run's choices saved with the model, the GUM page's texts after a run
// of the shipped samples, and the values export.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "document/GumSections.h"
#include "document/ModelFile.h"
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
    "%Titulo%\r\nt\r\n%/Titulo%\r\n%Desc%\r\n%/Desc%\r\n%Modelo%\r\ny = x\r\n%/Modelo%\r\n" +
    RecordText(0, "y", "19") + RecordText(1, "x", "1");

std::string Choice(const char* tag, const char* value) {
    return std::string("%") + tag + "%\r\n" + value + "\r\n%/" + tag + "%\r\n";
}

TEST(RunChoicesSection, ReadWrittenAndRefused) {
    const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    const std::string invalid = "The file \"m.cvm\" is not a valid model file: ";
    struct Case {
        std::string Tail;
        RunChoices Expected;
        std::string Refusal;  // "" when the file opens
    } cases[] = {
        {"", {}, ""},
        {Choice("Intervalo", "Minimo"), {IntervalKind::Shortest, false, 2}, ""},
        {Choice("Adaptativo", "T") + Choice("Cifras", "5"), {IntervalKind::Symmetric, true, 5}, ""},
        {Choice("Intervalo", "Shortest"),
         {},
         invalid + "the interval kind \"Shortest\" is not Simetrico or Minimo."},
        {Choice("Cifras", "0"),
         {},
         invalid + "the number of significant digits \"0\" is not one of 1 to 5."},
        {Choice("Cifras", "6"),
         {},
         invalid + "the number of significant digits \"6\" is not one of 1 to 5."},
        {Choice("Cifras", "2.5"),
         {},
         invalid + "the number of significant digits \"2.5\" is not one of 1 to 5."},
    };
    for (const Case& c : cases) {
        ScriptedDialogs dialogs;
        const auto opened = ApplyModelText(kHead + c.Tail, "m.cvm", texts, dialogs);
        if (!c.Refusal.empty()) {
            EXPECT_FALSE(opened) << c.Tail;
            EXPECT_EQ(dialogs.Texts(), std::vector<std::string>{c.Refusal});
            continue;
        }
        ASSERT_TRUE(opened) << c.Tail;
        EXPECT_EQ(opened->Document.Choices, c.Expected) << c.Tail;
        // Written back whole, all three, and nothing for the defaults.
        const auto again =
            ApplyModelText(ComposeModelText(opened->Document), "m.cvm", texts, dialogs);
        ASSERT_TRUE(again);
        EXPECT_EQ(again->Document.Choices, c.Expected);
        const std::string written = ComposeModelText(opened->Document);
        EXPECT_EQ(written.find("%Intervalo%") != std::string::npos, c.Expected != RunChoices{});
        EXPECT_TRUE(dialogs.Log.empty());
    }
}

// The pages after a fixed-seed run of a shipped sample.
GumPageTexts PageOfSample(const char* file, const RunChoices& choices, ChosenRunOutcome& outcome,
                          int coverageIndex = 2) {
    ScriptedDialogs dialogs;
    const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    const auto text = ReadModelFile(std::string(CORVANTA_SOURCE_DIR "/samples/") + file, dialogs);
    EXPECT_TRUE(text);
    auto opened = ApplyModelText(*text, file, texts, dialogs);
    EXPECT_TRUE(opened);
    RunSettings settings;
    settings.Iterations = 200000;
    settings.CoverageIndex = coverageIndex;
    settings.Seed = 12345;
    settings.ProgressView = false;
    SimulationSession session;
    RunObserver quiet;
    outcome = RunWithChoices(opened->PostfixExpression, opened->Document.Parameters, settings,
                             choices, kWindowAdaptiveCeiling, true, texts, dialogs, session, quiet);
    EXPECT_EQ(outcome.Run.Status, RunStatus::Completed);
    return FormatGumPage(outcome.Gum, outcome.Checked, coverageIndex, choices.Digits, "", texts);
}

TEST(GumPage, MassCalibrationIsNotValidatedAtTwoDigits) {
    ChosenRunOutcome outcome;
    const GumPageTexts page = PageOfSample("mass-calibration.cvm", {}, outcome);
    // First order 0.0539 mg; with the second-order terms 0.0750 mg.
    EXPECT_EQ(page.Combined, "Combined standard uncertainty u_c = 0.05385");
    EXPECT_EQ(page.SecondOrder, "With second-order terms u_c = 0.07497");
    EXPECT_EQ(page.Degrees, "Effective degrees of freedom = infinite");
    EXPECT_EQ(page.Factor, "Coverage factor k = 1.96");
    ASSERT_TRUE(outcome.Checked);
    EXPECT_NEAR(static_cast<double>(outcome.Checked->Tolerance), 0.0005, 1e-12);
    EXPECT_EQ(page.Verdict,
              "not validated: the GUM interval differs from the Monte Carlo "
              "interval by more than the tolerance");
    ASSERT_EQ(page.Rows.size(), 7u);
    EXPECT_EQ(page.Rows[0][0], "mRc");
    EXPECT_EQ(page.Rows[0][5], "86.2");
}

// The GUM's example H.1 with its arcsine input and the degrees of freedom of
// its Type B inputs: u_c = 32 nm, 34 nm with the second-order terms,
// nu_eff = 16 and U99 = 2.92 x 32 nm = 92 nm, as the GUM gives them.
TEST(GumPage, EndGaugeGivesTheGumFigures) {
    ChosenRunOutcome outcome;
    const GumPageTexts page = PageOfSample("gum-h1-end-gauge.cvm", {}, outcome, 4);
    ASSERT_TRUE(outcome.Gum && outcome.Gum->Applicable);
    const GumResult& gum = *outcome.Gum;
    EXPECT_EQ(std::lround(static_cast<double>(gum.CombinedUncertainty)), 32);
    ASSERT_TRUE(gum.SecondOrderUncertainty);
    EXPECT_EQ(std::lround(static_cast<double>(*gum.SecondOrderUncertainty)), 34);
    EXPECT_EQ(gum.EffectiveDegreesOfFreedom, 16);
    EXPECT_EQ(std::lround(static_cast<double>(gum.ExpandedUncertainty)), 92);
    EXPECT_EQ(page.Combined, "Combined standard uncertainty u_c = 31.66");
    EXPECT_EQ(page.SecondOrder, "With second-order terms u_c = 33.81");
    EXPECT_EQ(page.Degrees, "Effective degrees of freedom = 16");
    EXPECT_EQ(page.Factor, "Coverage factor k = 2.921");
    EXPECT_EQ(page.Expanded, "Expanded uncertainty U = 92.48");
    // The Monte Carlo standard deviation is the second-order figure (the
    // model is bilinear in independent inputs): sqrt(1142.9) nm, within five
    // standard errors of a standard deviation of 200000 values.
    const SimulationResult& run = outcome.Run.Last.Statistics;
    const double sd = static_cast<double>(run.StandardDeviation);
    const double kurtosis = static_cast<double>(run.Kurtosis);
    EXPECT_NEAR(sd, 33.807, 5 * sd * std::sqrt((kurtosis - 1) / (4 * 200000.0)));
}

TEST(GumPage, AdditiveNormalIsValidatedAndTheShortestIntervalShown) {
    ChosenRunOutcome outcome;
    const GumPageTexts page =
        PageOfSample("jcgm101-additive-normal.cvm", {IntervalKind::Shortest, false, 2}, outcome);
    EXPECT_EQ(page.Verdict,
              "validated: the GUM interval agrees with the Monte Carlo interval "
              "within the tolerance");
    ASSERT_TRUE(outcome.Shortest);
    EXPECT_EQ(outcome.Run.IntervalText.rfind("Shortest interval (p = 95%): [ ", 0), 0u)
        << outcome.Run.IntervalText;
    EXPECT_EQ(outcome.Values.size(), 200000u);
}

TEST(GumPage, BeforeARunEveryFigureIsUndetermined) {
    const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    const GumPageTexts page = FormatGumPage(std::nullopt, std::nullopt, 2, 2, "", texts);
    EXPECT_EQ(page.Combined, "Combined standard uncertainty u_c = " + texts.Indetermined);
    EXPECT_EQ(page.Verdict, texts.Indetermined);
    GumResult none;
    none.Reason = "x has no variance";
    const GumPageTexts refused = FormatGumPage(none, std::nullopt, 2, 2, "", texts);
    EXPECT_EQ(refused.Combined, "Combined standard uncertainty u_c = not applicable");
    EXPECT_EQ(refused.Verdict, "not applicable: x has no variance");
}

// Figures the framework marks as without footing are named so, never shown
// from the values kept in their place.
TEST(GumPage, FiguresWithoutFootingAreNotAvailable) {
    const MessageTexts texts = FormMessageTexts(CaptionTable::BuiltIn());
    GumResult gum;
    gum.Applicable = true;
    gum.SecondOrderUncertainty = 1.5L;
    gum.EffectiveDegreesOfFreedom = 12;
    const std::string second = "With second-order terms u_c = ",
                      degrees = "Effective degrees of freedom = ";
    for (const bool available : {true, false}) {
        gum.SecondOrderAvailable = gum.DegreesAvailable = available;
        const GumPageTexts page = FormatGumPage(gum, std::nullopt, 2, 2, "", texts);
        EXPECT_EQ(page.SecondOrder,
                  second + (available ? "1.5" : "not available: correlated inputs"));
        EXPECT_EQ(page.Degrees, degrees + (available ? "12" : "not available: correlated inputs"));
    }
    gum.SecondOrderAvailable = false;
    gum.DegreesAvailable = true;
    EXPECT_EQ(FormatGumPage(gum, std::nullopt, 2, 2, "", texts).Degrees, degrees + "12");
}

TEST(ValuesExport, OneValueALineWithThePoint) {
    EXPECT_EQ(ValuesText({0.1, 1.5e-5, -2, 123456.789}), "0.1\r\n1.5E-5\r\n-2\r\n123456.789\r\n");
    EXPECT_EQ(ValuesText({}), "");
}

}  // namespace
}  // namespace corvanta
