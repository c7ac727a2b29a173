#include "captions/ComposedCaptions.h"

#include <string>
#include <utility>

namespace corvanta {

namespace {

constexpr const char* kMain = kMainWindowName;
constexpr const char* kObservations = kObservationsWindowName;
constexpr CaptionTarget Text = CaptionTarget::Text;
constexpr CaptionTarget Hint = CaptionTarget::Hint;

struct CatalogueTarget {
    int Number;
    const char* Window;
    const char* Control;
    CaptionTarget Target;
};

// Controls that show a catalogue text unchanged, unless a composed text below
// takes their place.
constexpr CatalogueTarget kCatalogueTargets[] = {
    {0, kMain, "Label72", Text},
    {0, kMain, "Label74", Text},
    {0, kMain, "Label85", Text},
    {6, kMain, "Label66", Text},
    {6, kMain, "Label68", Text},
    {6, kMain, "Label69", Text},
    {6, kMain, "Label75", Text},
    {6, kMain, "Label77", Text},
    {6, kMain, "Label82", Text},
    {6, kMain, "Label87", Text},
    {6, kMain, "Label88", Text},
    {7, kMain, "Button2", Text},
    {8, kMain, "Button1", Text},
    {8, kMain, "Button4", Text},
    {8, kMain, "Button5", Text},
    {8, kMain, "Button6", Text},
    {8, kMain, "Button7", Text},
    {8, kMain, "Button8", Text},
    {8, kMain, "Button9", Text},
    {8, kMain, "Button10", Text},
    {8, kMain, "Button11", Text},
    {8, kMain, "Button12", Text},
    {8, kMain, "Button13", Text},
    {8, kMain, "Button14", Text},
    {8, kMain, "Button15", Text},
    {8, kMain, "Button16", Text},
    {8, kMain, "Button17", Text},
    {8, kMain, "Button18", Text},
    {8, kMain, "Button19", Text},
    {9, kMain, "Label16", Text},
    {10, kMain, "TabSheet4", Text},
    {11, kMain, "Button3", Text},
    {12, kMain, "Panel6", Text},
    {13, kMain, "Label57", Text},
    {14, kMain, "Label17", Text},
    {15, kMain, "Label98", Text},
    {18, kMain, "Label19", Text},
    {18, kMain, "Label64", Text},
    {18, kMain, "Label88", Text},
    {19, kMain, "RadioButton1", Text},
    {20, kMain, "Label97", Text},
    {27, kMain, "TabSheet22", Text},
    {28, kMain, "TabSheet7", Text},
    {29, kMain, "Label36", Text},
    {29, kMain, "Label66", Text},
    {29, kMain, "Label61", Text},
    {29, kMain, "Label82", Text},
    {30, kMain, "Label28", Text},
    {31, kMain, "TabSheet23", Text},
    {31, kMain, "AsHyperBtn2", Text},
    {32, kMain, "Label71", Text},
    {32, kMain, "Label84", Text},
    {33, kMain, "Label44", Text},
    {33, kMain, "Label62", Text},
    {35, kMain, "LabelTab1", Text},
    {37, kMain, "LabelTab3", Text},
    {37, kMain, "Panel5", Text},
    {38, kMain, "Label15", Text},
    {38, kMain, "Label12", Text},
    {38, kMain, "Label60", Text},
    {38, kMain, "Label28", Text},
    {39, kMain, "RadioButton2", Text},
    {39, kMain, "RadioButton3", Text},
    {39, kMain, "RadioButton4", Text},
    {39, kMain, "RadioButton5", Text},
    {40, kMain, "Label26", Text},
    {41, kMain, "AsHyperBtn1", Text},
    {42, kMain, "Label10", Text},
    {43, kMain, "Label93", Text},
    {43, kMain, "AsHyperBtn5", Hint},
    {44, kMain, "TabSheet18", Text},
    {45, kMain, "Label15", Text},
    {45, kMain, "Label60", Text},
    {46, kMain, "Label8", Text},
    {47, kMain, "Label78", Text},
    {47, kMain, "Label80", Text},
    {49, kMain, "Label27", Text},
    {50, kMain, "Label18", Text},
    {50, kMain, "Label20", Text},
    {50, kMain, "Label22", Text},
    {50, kMain, "Label_student", Text},
    {50, kMain, "Label46", Text},
    {50, kMain, "Label63", Text},
    {50, kMain, "Label87", Text},
    {50, kMain, "Label3", Text},
    {51, kMain, "Label_student", Text},
    {52, kMain, "TabSheet20", Text},
    {52, kMain, "AsHyperBtn3", Text},
    {54, kMain, "Label4", Text},
    {55, kMain, "Label96", Text},
    {60, kMain, "Label40", Text},
    {60, kMain, "Label59", Text},
    {61, kMain, "TabSheet1", Text},
    {61, kMain, "RadioButton6", Text},
    {62, kMain, "Panel4", Text},
    {64, kMain, "Label13", Text},
    {66, kMain, "TabSheet2", Text},
    {67, kMain, "Label65", Text},
    {67, kMain, "Label67", Text},
    {67, kMain, "Label70", Text},
    {67, kMain, "Label73", Text},
    {67, kMain, "Label76", Text},
    {67, kMain, "Label79", Text},
    {67, kMain, "Label81", Text},
    {67, kMain, "Label83", Text},
    {67, kMain, "Label86", Text},
    {68, kMain, "TabSheet19", Text},
    {68, kMain, "Label92", Text},
    {68, kMain, "Label56", Text},
    {69, kMain, "Label91", Text},
    {70, kMain, "LabelTab2", Text},
    {70, kMain, "Label47", Text},
    {71, kMain, "Label21", Text},
    {71, kMain, "Label23", Text},
    {72, kMain, "Label2", Text},
    {73, kMain, "TabSheet21", Text},
    {73, kMain, "AsHyperBtn4", Text},
    {74, kMain, "Label25", Text},
    {75, kMain, "Label12", Text},
    {76, kMain, "Label95", Text},
    {77, kMain, "TabSheet3", Text},
    {79, kMain, "Label24", Text},
    {79, kMain, "RadioButton2", Hint},
    {79, kMain, "RadioButton3", Hint},
    {79, kMain, "RadioButton4", Hint},
    {79, kMain, "RadioButton5", Hint},
    {83, kMain, "Button20", Text},
    {84, kMain, "Label1", Text},
    {85, kMain, "Edit1", Text},
    {86, kMain, "TransMemo1", Text},
    {87, kMain, "Lenguaje1", Text},
    {88, kMain, "Cargararchivodeidioma1", Text},
    {89, kMain, "Informacindeidiomapredeterminado1", Text},
    {90, kMain, "Cerrar1", Text},
    {91, kMain, "Archivo1", Text},
    {92, kMain, "Abrir1", Text},
    {94, kMain, "Guardarmodelo1", Text},
    {95, kMain, "Guardar1", Text},
    {96, kMain, "Imprimir1", Text},
    {97, kMain, "Info1", Text},
    {98, kMain, "Label14", Text},
    {99, kObservations, "FormValores", Text},
    {100, kObservations, "Button2", Text},
    {101, kObservations, "Button1", Text},
    {102, kMain, "Label29", Text},
    {103, kMain, "Label29", Hint},
    {103, kMain, "CheckBoxHistogram", Hint},
};

bool SameTarget(const ControlCaption& a, const ControlCaption& b) {
    return a.Window == b.Window && a.Control == b.Control && a.Target == b.Target && a.Row == b.Row;
}

std::vector<ControlCaption> ComposedTexts(const CaptionTable& t) {
    auto cap = [&t](int number) -> const std::string& { return t.Cap(number); };
    std::vector<ControlCaption> out;
    auto text = [&out](const char* control, std::string value) {
        out.push_back({kMain, control, Text, 0, std::move(value)});
    };
    auto hint = [&out](const char* control, std::string value) {
        out.push_back({kMain, control, Hint, 0, std::move(value)});
    };

    text("Label66", cap(29) + ": " + cap(6) + " > 0");
    text("Label82", cap(29) + ": " + cap(6) + " > 0");
    text("Label68", "a:  " + cap(6) + " > 0");
    text("Label69", "b:  " + cap(6) + " > 0");
    text("Label_student", cap(50) + " (" + cap(51) + ")");
    text("Label72", "  " + cap(0) + " > 0");
    text("Label85", "  " + cap(0) + " > 0");
    text("Label46", cap(50) + " (lambda)");
    text("Label74", "n:  " + cap(0));
    text("Label75", "b:  " + cap(6));
    text("Label77", "n:  " + cap(6) + " > 0");
    text("Label78", "b:  " + cap(47) + " 0 < p < 1");
    text("Label80", "k:  " + cap(47) + " 0 < k < 10");
    text("Label61", cap(29) + " (k)");
    text("Label87", cap(50) + " " + cap(6) + " > 0");
    text("Label88", cap(18) + " " + cap(6) + " > 0");
    text("RadioButton2", cap(39) + " SX");
    text("RadioButton3", cap(39) + " SXXS");
    text("RadioButton4", cap(39) + " X/S");
    text("RadioButton5", cap(39) + " SXS");
    hint("RadioButton2", cap(79) + " = X - S");
    hint("RadioButton3", cap(79) + " = ( ( Xa + Xb ) / 2 ) - ( ( Sa + Sb ) / 2 )");
    hint("RadioButton4", cap(79) + " = X / S");
    hint("RadioButton5", cap(79) + " = valor = X - ( ( Sa + Sb ) / 2 )");
    text("RadioButton7", "t (Student)");
    text("Button20", cap(83) + "...");
    text("Button3", cap(11) + "...");
    text("Button21", cap(gumcap::Correlations) + "...");
    text("Label14", "(" + cap(98) + ")");
    text("Label15", cap(45) + " (p := 95%)  :=  " + cap(38));
    text("Label60", cap(45) + " (p := 95%)  :=  " + cap(38));
    text("Label12", cap(75) + " (Jarque - Bera)  :=  " + cap(38));
    text("Label28", cap(30) + "  :=  " + cap(38));
    text("Label56", cap(68) + " =");
    text("Label11", "Skew =");
    text("Label9", "Kurtosis =");

    const std::string rowLabels[] = {cap(46),    cap(50), cap(84), cap(18), "Skew",
                                     "Kurtosis", cap(81), cap(82), cap(80), cap(65)};
    for (int row = 0; row < 10; ++row)
        out.push_back({kMain, "StringGrid2", CaptionTarget::GridRow, row, rowLabels[row] + " "});

    text("Imprimir1", cap(96) + "...");
    text("ExportarPDF1", cap(gumcap::ExportPdf) + "...");
    text("ExportarValores1", cap(gumcap::ExportValues) + "...");
    text("LabelTab4", cap(gumcap::Tab));
    text("LabelGumTitle", cap(gumcap::Title));
    text("CheckBoxGumCurve", cap(gumcap::Curve));
    text("CheckBoxAdaptive", cap(gumcap::AdaptiveStable));
    text("LabelDigits", cap(gumcap::Digits));
    text("Nuevo1", cap(windowcap::New));
    text("AbrirReciente1", cap(windowcap::OpenRecent));
    text("Ayuda1", cap(windowcap::Help));
    text("GuiaUsuario1", cap(windowcap::UserGuide));
    text("AcercaDe1", cap(windowcap::About) + "...");

    // The pages of the later kinds and the optional degrees of freedom.
    const std::string degrees = cap(33) + " (" + cap(51) + ")";
    for (const char* page : {"Normal", "Rectangular", "Triangular", "UShaped", "Trapezoidal",
                             "CurvilinearTrapezoid", "AsymmetricTriangular"})
        text(("Label" + std::string(page) + "Degrees").c_str(), degrees);
    const struct {
        const char* Page;
        int Title, First, Second, Third;
    } laterPages[] = {
        {"UShaped", distcap::UShaped, distcap::Midpoint, distcap::HalfWidth, -1},
        {"Trapezoidal", distcap::Trapezoidal, distcap::Midpoint, distcap::HalfWidth,
         distcap::Ratio},
        {"CurvilinearTrapezoid", distcap::CurvilinearTrapezoid, distcap::Midpoint,
         distcap::HalfWidth, distcap::Inexactness},
        {"AsymmetricTriangular", distcap::AsymmetricTriangular, distcap::Mode, distcap::Lower,
         distcap::Upper},
    };
    for (const auto& page : laterPages) {
        const std::string label = std::string("Label") + page.Page;
        text(("TabSheet" + std::string(page.Page)).c_str(), cap(page.Title));
        text((label + "1").c_str(), cap(page.First));
        text((label + "2").c_str(), cap(page.Second));
        if (page.Third >= 0) text((label + "3").c_str(), cap(page.Third));
    }

    const char* const pages[][2] = {
        {"TabSheet6", "Gamma"},       {"TabSheet8", "Beta"},       {"TabSheet9", "Student"},
        {"TabSheet10", "Poisson"},    {"TabSheet11", "Binomial"},  {"TabSheet12", "NegBinomial"},
        {"TabSheet13", "VonMises"},   {"TabSheet14", "Cauchy"},    {"TabSheet15", "Weibull"},
        {"TabSheet16", "XiCuadrado"}, {"TabSheet17", "LogNormal"},
    };
    for (const auto& page : pages)
        text(page[0], page[1]);

    const char* const functions[] = {
        "abs",      "exp",     "ln",      "log",      "sqr",     "sqrt",     "pi",
        "sin",      "cos",     "tan",     "cot",      "sin h",   "cos h",    "tan h",
        "cot h",    "asin",    "asin h",  "acos",     "acos h",  "atan",     "atan h",
        "acot",     "acot h",  "rad-deg", "rad-grad", "deg-rad", "deg-grad", "grad-rad",
        "grad-deg", "cyc-rad", "cyc-deg", "rad-cyc",  "deg-cyc", "grad-cyc", "cyc-grad",
    };
    // Buttons 6 to 12, then 14 to 41: button 13 has no function of its own.
    int button = 6;
    for (const char* function : functions) {
        text(("AsHyperBtn" + std::to_string(button)).c_str(), function);
        button = button == 12 ? 14 : button + 1;
    }
    return out;
}

}  // namespace

ComposedCaptionTexts ComposedCaptions(const CaptionTable& table) {
    ComposedCaptionTexts result;
    std::vector<ControlCaption> composed = ComposedTexts(table);
    for (const auto& target : kCatalogueTargets) {
        ControlCaption caption{target.Window, target.Control, target.Target, 0,
                               table.Cap(target.Number)};
        bool replaced = false;
        for (const auto& other : composed)
            replaced = replaced || SameTarget(caption, other);
        for (const auto& earlier : result.Controls)
            replaced = replaced || SameTarget(caption, earlier);
        if (!replaced) result.Controls.push_back(std::move(caption));
    }
    for (auto& caption : composed)
        result.Controls.push_back(std::move(caption));
    result.TitlePlaceholder = table.Cap(85);
    result.DescriptionPlaceholder = table.Cap(86);
    return result;
}

const std::string* FindControlCaption(const ComposedCaptionTexts& texts, std::string_view window,
                                      std::string_view control, CaptionTarget target, int row) {
    for (const auto& caption : texts.Controls)
        if (caption.Window == window && caption.Control == control && caption.Target == target &&
            caption.Row == row)
            return &caption.Text;
    return nullptr;
}

std::array<std::string, 3> ParameterTableHeaders(const MessageTexts& messages) {
    return {" " + messages.HeaderParameter, " " + messages.HeaderUnits,
            " " + messages.HeaderDescription};
}

}  // namespace corvanta
