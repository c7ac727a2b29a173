// The caption table, the message texts formed from it, the composed control texts, path texts.
#include <gtest/gtest.h>

#include <array>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "captions/Captions.h"
#include "captions/ComposedCaptions.h"
#include "captions/PathText.h"

namespace corvanta {
namespace {

template <class... T>
std::vector<std::string> Texts(const T&... texts) {
    return {std::string(texts)...};
}

TEST(CaptionTable, EveryKeyInOrderFirstMatchAndTheBuiltInFallBack) {
    const auto& captions = DefaultCaptions();
    ASSERT_EQ(captions.size(), static_cast<std::size_t>(kCaptionCount));
    for (std::size_t k = 0; k < captions.size(); ++k)
        EXPECT_EQ(captions[k].Key, "cap" + std::to_string(k));
    const CaptionTable table = {{{"cap5", "first"}, {"cap5", "second"}, {"cap200", "beyond"}}};
    // A gap: the built-in text; keys are exact.
    EXPECT_EQ(Texts(table.Lookup("cap5"), table.Cap(5), table.Cap(6), table.Cap(200),
                    table.Cap(kCaptionCount), table.Lookup("CAP5")),
              Texts("first", "first", "Real number", "beyond", "", ""));
    EXPECT_EQ(CaptionTable::BuiltIn().Entries, DefaultCaptions());
}

TEST(MessageTexts, EnglishDefaultsAndTheTableInForce) {
    const MessageTexts m = FormMessageTexts(CaptionTable::BuiltIn());
    const std::string e = "Error of parameters.. ";
    EXPECT_EQ(
        Texts(m.NormalChoice, m.Indetermined, m.IncompatibleParameter, m.IncompleteInit,
              m.HeaderParameter, m.HeaderUnits, m.HeaderDescription, m.ConfidenceInterval,
              m.ModelUpdated, m.GumFormat, m.NotReal, m.ABMustBeReal, m.DegreesMustBeInteger,
              m.NotInteger, m.ErrorNP, m.ErrorK, m.ErrorForm, m.ValuesNotEntered, m.NormalityTest,
              m.Wait, m.TheFile, m.AlreadyExistsOverwrite, m.SaveModel, m.DoesNotFit, m.Fits,
              m.AssignDistribution, m.UndefinedOutput, m.TooManyOutputs, m.ErrorDeviation,
              m.ErrorHalfWidth, m.ErrorMean, m.ErrorBinomial),
        Texts("Normal", "Indetermined", "Incompatible parameter",
              "Cannot run the simulation. Incomplete initialization of parameters", "Parameter",
              "Units", "Description", "Confidence interval",
              "Model has been updated. Want to update parameters?", "GUM format",
              "is not a Real number", "a and b must be real numbers",
              "Degrees of freedom must be integer > 0", "is not an Integer",
              e + "n must be real > 0 and p must take values between 0 and 1",
              e + "k must be real and take values between 0 and 10", e + "Form must be real > 0",
              "Values have not been entered therefore probability distribution will no be assigned",
              "Normality test", "wait...", "The file",
              "already exists. Do you want to overwrite with updated model?", "Save model?",
              "doesn't fit", "fit", "Want to assign this distribution?",
              "Error. Undefined output parameter.", "Error. Too many output parameter.",
              e + "Standard deviation must be real >= 0", e + "Half-width must be real >= 0",
              e + "Mean must be real >= 0",
              e + "n must be integer >= 0 and p must take values between 0 and 1"));
    // The parameter table's headers: each after one blank.
    EXPECT_EQ(ParameterTableHeaders(m),
              (std::array<std::string, 3>{" Parameter", " Units", " Description"}));
}

// A control's text ("?" before it: its hint, "FormValores." the observations window) or grid row.
std::string ControlText(const ComposedCaptionTexts& texts, std::string control, int row = 0) {
    std::string window = "Graf";
    CaptionTarget target = control[0] == '?' ? CaptionTarget::Hint : CaptionTarget::Text;
    if (target == CaptionTarget::Hint) control.erase(0, 1);
    if (control.starts_with("FormValores.")) window = "FormValores", control.erase(0, 12);
    if (control == "StringGrid2") target = CaptionTarget::GridRow;
    const std::string* found = FindControlCaption(texts, window, control, target, row);
    return found ? *found : "none";
}

TEST(ComposedCaptions, EnglishStartTexts) {
    const ComposedCaptionTexts texts = ComposedCaptions(CaptionTable::BuiltIn());
    const std::vector<std::string> cases =
        Texts("Label66", "Form: Real number > 0", "Label_student", "Mean (optional)", "Label72",
              "  Integer > 0", "Label78", "b:  Real number 0 < p < 1", "Label46", "Mean (lambda)",
              "Label87", "Mean Real number > 0", "Label88", "Standard Deviation Real number > 0",
              "Label14", "(Stop)", "Label15", "Confidence interval (p := 95%)  :=  Indetermined",
              "Label12", "Normality test (Jarque - Bera)  :=  Indetermined", "Label28",
              "GUM format  :=  Indetermined", "Label56", "Result =", "RadioButton3",
              "Indirect SXXS", "?RadioButton3", "Value = ( ( Xa + Xb ) / 2 ) - ( ( Sa + Sb ) / 2 )",
              "?RadioButton5", "Value = valor = X - ( ( Sa + Sb ) / 2 )", "RadioButton7",
              "t (Student)", "Button3", "Continue...", "Button20", "Values...", "Imprimir1",
              "Print results...", "Button2", "Update parameters", "?AsHyperBtn5", "Insert function",
              "TabSheet6", "Gamma", "AsHyperBtn14", "sin", "AsHyperBtn41", "cyc-grad", "Edit1",
              "Type the title of simulation project", "FormValores.FormValores", "Observations",
              "FormValores.Button2", "Ok", "FormValores.Button1", "Cancel", "TabSheet7",
              "Exponential", "AsHyperBtn13", "none");
    const char* const rows[] = {
        "Iterations ", "Mean ",          "Variance ",      "Standard Deviation ",   "Skew ",
        "Kurtosis ",   "Maximum value ", "Minimum value ", "Most probable number ", "Range "};
    for (std::size_t i = 0; i < cases.size(); i += 2)
        EXPECT_EQ(ControlText(texts, cases[i]), cases[i + 1]) << cases[i];
    for (int row = 0; row < 11; ++row)
        EXPECT_EQ(ControlText(texts, "StringGrid2", row), row < 10 ? rows[row] : "none") << row;
    EXPECT_EQ(texts.TitlePlaceholder, "Type the title of simulation project");
    EXPECT_EQ(texts.DescriptionPlaceholder, "Enter project description and notes here");
    // Every target is set once; 17 of them are Apply buttons.
    std::set<std::tuple<std::string, std::string, CaptionTarget, int>> seen;
    int apply = 0;
    for (const auto& c : texts.Controls) {
        EXPECT_TRUE(seen.insert({c.Window, c.Control, c.Target, c.Row}).second) << c.Control;
        apply += c.Text == "Apply";
    }
    EXPECT_EQ(apply, 17);
}

TEST(TranslatedTable, ReachesMessageAndComposedTexts) {
    // clang-format off
    std::vector<CaptionEntry> entries = {{"cap22", "Error de par\xE1metros"},
        {"cap23", "Forma > 0"}, {"cap26", "espere"}, {"cap1", "ya existe"}, {"cap98", "Alto"},
        {"cap2", "\xBFSobrescribir?"}, {"cap6", "N\xFAmero real"}, {"cap47", "Real"},
        {"cap38", "Indeterminado"}, {"cap46", "Iteraciones"}, {"cap85", "T\xEDtulo"},
        {"cap3", "Parar"}};
    // clang-format on
    entries.insert(entries.end(), DefaultCaptions().begin(), DefaultCaptions().end());
    const CaptionTable table = {entries};
    const MessageTexts t = FormMessageTexts(table);
    const ComposedCaptionTexts texts = ComposedCaptions(table);
    EXPECT_EQ(
        Texts(t.ErrorForm, t.Wait, t.AlreadyExistsOverwrite, t.ErrorK,
              ControlText(texts, "Label14"), ControlText(texts, "Label69"),
              ControlText(texts, "Label78"), ControlText(texts, "Label28"),
              ControlText(texts, "StringGrid2", 0), ControlText(texts, "Label8"),
              texts.TitlePlaceholder),
        Texts("Error de par\xE1metros. Forma > 0", "espere...", "ya existe. \xBFSobrescribir?",
              "Error de par\xE1metros. k must be real and take values between 0 and 10", "(Alto)",
              "b:  N\xFAmero real > 0", "b:  Real 0 < p < 1", "GUM format  :=  Indeterminado",
              "Iteraciones ", "Iteraciones", "T\xEDtulo"));
    // cap3 is loaded but shown nowhere.
    for (const auto& c : texts.Controls)
        EXPECT_NE(c.Text, "Parar") << c.Control;
}

TEST(PathText, FileSystemNamesInTheTextsCodePage) {
    // Converted, or kept when not UTF-8; each length's least and greatest, around surrogates.
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"/home/lab/model.cvm", "/home/lab/model.cvm"}, {"", ""},
        {"/home/lab/medici\xC3\xB3n.cvm", "/home/lab/medici\xF3n.cvm"},
        {"/m/\xE2\x82\xAC-\xC5\x93.cvm", "/m/\x80-\x9C.cvm"}, {"/m/\xC3", "/m/\xC3"},
        {"/m/\xE6\x97\xA5\xF0\x9F\x98\x80.cvm", "/m/??.cvm"},
        {"/m/medici\xF3n.cvm", "/m/medici\xF3n.cvm"}, {"/m/\xC0\xAF.cvm", "/m/\xC0\xAF.cvm"},
        {"/m/\xED\xA0\x80.cvm", "/m/\xED\xA0\x80.cvm"}, {"/\xE0\x9F\xBF", "/\xE0\x9F\xBF"},
        {"/\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "/????"},
        {"/\xF0\x8F\xBF\xBF", "/\xF0\x8F\xBF\xBF"}, {"/\xF4\x90\x80\x80", "/\xF4\x90\x80\x80"},
        {"/\xED\x9F\xBF\xEE\x80\x80", "/??"}, {"/\xED\xBF\xBF", "/\xED\xBF\xBF"}};
    // clang-format on
    for (const auto& [path, shown] : cases)
        EXPECT_EQ(PathText(path), shown) << path;
}

}  // namespace
}  // namespace corvanta
