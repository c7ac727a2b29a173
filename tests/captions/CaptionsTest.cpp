#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>

#include "captions/Captions.h"
#include "captions/ComposedCaptions.h"

namespace corvanta {
namespace {

TEST(DefaultCaptions, HoldsEveryKeyInOrder) {
    const auto& captions = DefaultCaptions();
    ASSERT_EQ(captions.size(), 107u);
    for (std::size_t k = 0; k < captions.size(); ++k)
        EXPECT_EQ(captions[k].Key, "cap" + std::to_string(k));
}

TEST(CaptionTable, LookupTakesFirstMatchAndFallsBackToBuiltIn) {
    CaptionTable table;
    table.Entries = {{"cap5", "first"}, {"cap5", "second"}, {"cap200", "beyond"}};
    EXPECT_EQ(table.Lookup("cap5"), "first");
    EXPECT_EQ(table.Cap(5), "first");
    EXPECT_EQ(table.Cap(6), "Real number");  // gap: built-in text
    EXPECT_EQ(table.Cap(200), "beyond");
    EXPECT_EQ(table.Cap(107), "");
    EXPECT_EQ(table.Lookup("CAP5"), "");  // keys are exact
    EXPECT_EQ(CaptionTable::BuiltIn().Entries, DefaultCaptions());
}

TEST(MessageTexts, EnglishDefaults) {
    const MessageTexts m = FormMessageTexts(CaptionTable::BuiltIn());
    const std::pair<std::string MessageTexts::*, const char*> expected[] = {
        {&MessageTexts::NormalChoice, "Normal"},
        {&MessageTexts::Indetermined, "Indetermined"},
        {&MessageTexts::IncompatibleParameter, "Incompatible parameter"},
        {&MessageTexts::IncompleteInit,
         "Cannot run the simulation. Incomplete initialization of parameters"},
        {&MessageTexts::HeaderParameter, "Parameter"},
        {&MessageTexts::HeaderUnits, "Units"},
        {&MessageTexts::HeaderDescription, "Description"},
        {&MessageTexts::ConfidenceInterval, "Confidence interval"},
        {&MessageTexts::ModelUpdated, "Model has been updated. Want to update parameters?"},
        {&MessageTexts::GumFormat, "GUM format"},
        {&MessageTexts::NotReal, "is not a Real number"},
        {&MessageTexts::ABMustBeReal, "a and b must be real numbers"},
        {&MessageTexts::DegreesMustBeInteger, "Degrees of freedom must be integer > 0"},
        {&MessageTexts::NotInteger, "is not an Integer"},
        {&MessageTexts::ErrorNP,
         "Error of parameters.. n must be real > 0 and p must take values between 0 and 1"},
        {&MessageTexts::ErrorK,
         "Error of parameters.. k must be real and take values between 0 and 10"},
        {&MessageTexts::ErrorForm, "Error of parameters.. Form must be real > 0"},
        {&MessageTexts::ValuesNotEntered,
         "Values have not been entered therefore probability distribution will no be assigned"},
        {&MessageTexts::NormalityTest, "Normality test"},
        {&MessageTexts::Wait, "wait..."},
        {&MessageTexts::TheFile, "The file"},
        {&MessageTexts::AlreadyExistsOverwrite,
         "already exists. Do you want to overwrite with updated model?"},
        {&MessageTexts::SaveModel, "Save model?"},
        {&MessageTexts::DoesNotFit, "doesn't fit"},
        {&MessageTexts::Fits, "fit"},
        {&MessageTexts::AssignDistribution, "Want to assign this distribution?"},
        {&MessageTexts::UndefinedOutput, "Error. Undefined output parameter."},
        {&MessageTexts::TooManyOutputs, "Error. Too many output parameter."},
    };
    for (const auto& [field, text] : expected)
        EXPECT_EQ(m.*field, text);
}

CaptionTable Translated(std::initializer_list<CaptionEntry> entries) {
    CaptionTable table;
    table.Entries = entries;
    for (const auto& entry : DefaultCaptions())
        table.Entries.push_back(entry);
    return table;
}

TEST(MessageTexts, FormedFromTheTableInForce) {
    const MessageTexts m = FormMessageTexts(Translated({{"cap22", "Error de par\xE1metros"},
                                                        {"cap23", "Forma > 0"},
                                                        {"cap26", "espere"},
                                                        {"cap1", "ya existe"},
                                                        {"cap2", "\xBFSobrescribir?"}}));
    EXPECT_EQ(m.ErrorForm, "Error de par\xE1metros. Forma > 0");
    EXPECT_EQ(m.Wait, "espere...");
    EXPECT_EQ(m.AlreadyExistsOverwrite, "ya existe. \xBFSobrescribir?");
    EXPECT_EQ(m.ErrorK, "Error de par\xE1metros. k must be real and take values between 0 and 10");
}

TEST(ComposedCaptions, EnglishStartTexts) {
    const ComposedCaptionTexts texts = ComposedCaptions(CaptionTable::BuiltIn());
    const std::tuple<const char*, const char*, CaptionTarget, const char*> cases[] = {
        {"Graf", "Label66", CaptionTarget::Text, "Form: Real number > 0"},
        {"Graf", "Label_student", CaptionTarget::Text, "Mean (optional)"},
        {"Graf", "Label72", CaptionTarget::Text, "  Integer > 0"},
        {"Graf", "Label78", CaptionTarget::Text, "b:  Real number 0 < p < 1"},
        {"Graf", "Label46", CaptionTarget::Text, "Mean (lambda)"},
        {"Graf", "Label87", CaptionTarget::Text, "Mean Real number > 0"},
        {"Graf", "Label88", CaptionTarget::Text, "Standard Deviation Real number > 0"},
        {"Graf", "Label14", CaptionTarget::Text, "(Stop)"},
        {"Graf", "Label15", CaptionTarget::Text,
         "Confidence interval (p := 95%)  :=  Indetermined"},
        {"Graf", "Label12", CaptionTarget::Text,
         "Normality test (Jarque - Bera)  :=  Indetermined"},
        {"Graf", "Label28", CaptionTarget::Text, "GUM format  :=  Indetermined"},
        {"Graf", "Label56", CaptionTarget::Text, "Result ="},
        {"Graf", "RadioButton3", CaptionTarget::Text, "Indirect SXXS"},
        {"Graf", "RadioButton3", CaptionTarget::Hint,
         "Value = ( ( Xa + Xb ) / 2 ) - ( ( Sa + Sb ) / 2 )"},
        {"Graf", "RadioButton5", CaptionTarget::Hint, "Value = valor = X - ( ( Sa + Sb ) / 2 )"},
        {"Graf", "RadioButton7", CaptionTarget::Text, "t (Student)"},
        {"Graf", "Button3", CaptionTarget::Text, "Continue..."},
        {"Graf", "Button20", CaptionTarget::Text, "Values..."},
        {"Graf", "Imprimir1", CaptionTarget::Text, "Print results..."},
        {"Graf", "Button2", CaptionTarget::Text, "Update parameters"},
        {"Graf", "AsHyperBtn5", CaptionTarget::Hint, "Insert function"},
        {"Graf", "TabSheet6", CaptionTarget::Text, "Gamma"},
        {"Graf", "AsHyperBtn14", CaptionTarget::Text, "sin"},
        {"Graf", "AsHyperBtn41", CaptionTarget::Text, "cyc-grad"},
        {"Graf", "Edit1", CaptionTarget::Text, "Type the title of simulation project"},
        {"FormValores", "FormValores", CaptionTarget::Text, "Observations"},
        {"FormValores", "Button2", CaptionTarget::Text, "Ok"},
        {"FormValores", "Button1", CaptionTarget::Text, "Cancel"},
    };
    for (const auto& [window, control, target, text] : cases) {
        const std::string* found = FindControlCaption(texts, window, control, target);
        ASSERT_NE(found, nullptr) << control;
        EXPECT_EQ(*found, text) << control;
    }
    EXPECT_EQ(FindControlCaption(texts, "Graf", "AsHyperBtn13"), nullptr);
    EXPECT_EQ(FindControlCaption(texts, "Graf", "TabSheet7")->c_str(), std::string("Exponential"));
    EXPECT_EQ(texts.TitlePlaceholder, "Type the title of simulation project");
    EXPECT_EQ(texts.DescriptionPlaceholder, "Enter project description and notes here");
}

TEST(ComposedCaptions, ResultsGridRowLabels) {
    const ComposedCaptionTexts texts = ComposedCaptions(CaptionTable::BuiltIn());
    const char* const rows[] = {
        "Iterations ", "Mean ",          "Variance ",      "Standard Deviation ",   "Skew ",
        "Kurtosis ",   "Maximum value ", "Minimum value ", "Most probable number ", "Range "};
    for (int row = 0; row < 10; ++row) {
        const std::string* found =
            FindControlCaption(texts, "Graf", "StringGrid2", CaptionTarget::GridRow, row);
        ASSERT_NE(found, nullptr) << row;
        EXPECT_EQ(*found, rows[row]);
    }
    EXPECT_EQ(FindControlCaption(texts, "Graf", "StringGrid2", CaptionTarget::GridRow, 10),
              nullptr);
}

TEST(ComposedCaptions, EveryTargetIsSetOnce) {
    const ComposedCaptionTexts texts = ComposedCaptions(CaptionTable::BuiltIn());
    std::set<std::tuple<std::string, std::string, CaptionTarget, int>> seen;
    for (const auto& c : texts.Controls)
        EXPECT_TRUE(seen.insert({c.Window, c.Control, c.Target, c.Row}).second)
            << c.Window << "." << c.Control;
    // 17 Apply buttons, 35 function buttons, 11 fixed page names, 10 grid rows among them.
    int apply = 0;
    for (const auto& c : texts.Controls)
        apply += c.Text == "Apply";
    EXPECT_EQ(apply, 17);
}

TEST(ComposedCaptions, TranslationReachesComposedTexts) {
    const ComposedCaptionTexts texts = ComposedCaptions(Translated({
        {"cap98", "Alto"},
        {"cap6", "N\xFAmero real"},
        {"cap47", "Real"},
        {"cap38", "Indeterminado"},
        {"cap46", "Iteraciones"},
        {"cap85", "T\xEDtulo"},
        {"cap3", "Parar"},
    }));
    EXPECT_EQ(*FindControlCaption(texts, "Graf", "Label14"), "(Alto)");
    EXPECT_EQ(*FindControlCaption(texts, "Graf", "Label69"), "b:  N\xFAmero real > 0");
    EXPECT_EQ(*FindControlCaption(texts, "Graf", "Label78"), "b:  Real 0 < p < 1");
    EXPECT_EQ(*FindControlCaption(texts, "Graf", "Label28"), "GUM format  :=  Indeterminado");
    EXPECT_EQ(*FindControlCaption(texts, "Graf", "StringGrid2", CaptionTarget::GridRow, 0),
              "Iteraciones ");
    EXPECT_EQ(*FindControlCaption(texts, "Graf", "Label8"), "Iteraciones");
    EXPECT_EQ(texts.TitlePlaceholder, "T\xEDtulo");
    // cap3 is loaded but shown nowhere.
    for (const auto& c : texts.Controls)
        EXPECT_NE(c.Text, "Parar") << c.Control;
}

TEST(ParameterTableHeaders, EachAfterOneBlank) {
    const auto headers = ParameterTableHeaders(FormMessageTexts(CaptionTable::BuiltIn()));
    EXPECT_EQ(headers[0], " Parameter");
    EXPECT_EQ(headers[1], " Units");
    EXPECT_EQ(headers[2], " Description");
}

}  // namespace
}  // namespace corvanta
