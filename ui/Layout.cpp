#include "ui/Layout.h"

#include <QLabel>

namespace corvanta {

namespace {

// Field pages of the distribution panel share one grid: labels over their
// fields on the left, the restriction lines on the right, Apply bottom right.
constexpr int kFieldX = 12, kLabel1Y = 16, kEdit1Y = 32, kLabel2Y = 58, kEdit2Y = 74;
constexpr int kEditWidth = 150, kEditHeight = 20;
constexpr int kRuleX = 196, kRuleTitleY = 16, kRule1Y = 34, kRule2Y = 50;
constexpr int kApplyX = 292, kApplyY = 94, kApplyWidth = 80, kApplyHeight = 22;
constexpr int kNoteY = 40;
// The right column's fields end before Apply, which stands below them.
constexpr int kRightEditWidth = 90;

constexpr ControlPlace kPlaces[] = {
    // Window: the top bar and its page buttons.
    {"Panel9", 0, 3, 430, 33},
    {"AsHyperBtn2", 12, 5, 122, 22},
    {"AsHyperBtn3", 155, 5, 122, 22},
    {"AsHyperBtn4", 297, 5, 122, 22},
    {"PageControl1", kPageSheet.x(), kPageSheet.y(), kPageSheet.width(), kPageSheet.height()},

    // General page.
    {"Label95", 10, 10, 0, 0},
    {"Edit1", 19, 35, 379, 19},
    {"Label98", 11, 65, 0, 0},
    {"TransMemo1", 20, 92, 378, 338},

    // Model page.
    {"Label2", 9, 25, 0, 0},
    {"Memo1", 14, 46, 386, 40},
    {"AsHyperBtn5", 255, 11, 25, 22},
    {"Button2", 283, 11, 122, 22},
    {"AsStringGrid2", 11, 105, 393, 132},
    {"Label16", 22, 272, 0, 0},
    {"Label17", 100, 272, 0, 0},
    {"ComboBox2", 207, 271, 182, 21},
    {"AsPagePanel1", 17, 281, 381, 123},
    {"Panel3", 9, 253, 396, 158},
    {"Label10", 14, 12, 0, 0},
    {"Label26", 14, 38, 368, 32},
    {"Label27", 14, 78, 368, 16},
    {"Button3", 286, 418, 122, 22},
    {"Button21", 11, 418, 122, 22},
    {"AsPanel2", 118, 194, 214, 252},
    {"Label93", 8, 5, 0, 0},
    {"Label94", 196, 3, 12, 14},

    // Function palette, four columns.
    {"AsHyperBtn6", 7, 26, 50, 22},
    {"AsHyperBtn7", 57, 26, 50, 22},
    {"AsHyperBtn8", 107, 26, 50, 22},
    {"AsHyperBtn9", 157, 26, 50, 22},
    {"AsHyperBtn10", 7, 48, 50, 22},
    {"AsHyperBtn11", 57, 48, 50, 22},
    {"AsHyperBtn12", 107, 48, 50, 22},
    {"AsHyperBtn14", 7, 80, 50, 22},
    {"AsHyperBtn15", 57, 80, 50, 22},
    {"AsHyperBtn16", 107, 80, 50, 22},
    {"AsHyperBtn17", 157, 80, 50, 22},
    {"AsHyperBtn18", 7, 102, 50, 22},
    {"AsHyperBtn19", 57, 102, 50, 22},
    {"AsHyperBtn20", 107, 102, 50, 22},
    {"AsHyperBtn21", 157, 102, 50, 22},
    {"AsHyperBtn22", 7, 124, 50, 22},
    {"AsHyperBtn24", 57, 124, 50, 22},
    {"AsHyperBtn26", 107, 124, 50, 22},
    {"AsHyperBtn28", 157, 124, 50, 22},
    {"AsHyperBtn23", 7, 146, 50, 22},
    {"AsHyperBtn25", 57, 146, 50, 22},
    {"AsHyperBtn27", 107, 146, 50, 22},
    {"AsHyperBtn29", 157, 146, 50, 22},
    {"AsHyperBtn30", 7, 178, 50, 22},
    {"AsHyperBtn31", 57, 178, 50, 22},
    {"AsHyperBtn32", 107, 178, 50, 22},
    {"AsHyperBtn33", 157, 178, 50, 22},
    {"AsHyperBtn34", 7, 200, 50, 22},
    {"AsHyperBtn35", 57, 200, 50, 22},
    {"AsHyperBtn36", 107, 200, 50, 22},
    {"AsHyperBtn37", 157, 200, 50, 22},
    {"AsHyperBtn38", 7, 222, 50, 22},
    {"AsHyperBtn39", 57, 222, 50, 22},
    {"AsHyperBtn40", 107, 222, 50, 22},
    {"AsHyperBtn41", 157, 222, 50, 22},

    // Distribution pages: notes of the pages without fields.
    {"Label25", kFieldX, kNoteY, 0, 0},
    {"Label40", kFieldX, kNoteY, 0, 0},
    {"Label59", kFieldX, kNoteY, 0, 0},
    {"Label91", kFieldX, kNoteY, 0, 0},
    {"Label92", kFieldX, kNoteY, 0, 0},
    // First field's label and edit.
    {"Label18", kFieldX, kLabel1Y, 0, 0},
    {"Label20", kFieldX, kLabel1Y, 0, 0},
    {"Label22", kFieldX, kLabel1Y, 0, 0},
    {"Label24", kFieldX, kLabel1Y, 0, 0},
    {"Label36", kFieldX, kLabel1Y, 0, 0},
    {"LabelBetaA", kFieldX, kLabel1Y, 0, 0},
    {"Label44", kFieldX, kLabel1Y, 0, 0},
    {"Label46", kFieldX, kLabel1Y, 0, 0},
    {"LabelBinomialN", kFieldX, kLabel1Y, 0, 0},
    {"LabelNegBinomialN", kFieldX, kLabel1Y, 0, 0},
    {"LabelVonMisesK", kFieldX, kLabel1Y, 0, 0},
    {"Label61", kFieldX, kLabel1Y, 0, 0},
    {"Label62", kFieldX, kLabel1Y, 0, 0},
    {"Label63", kFieldX, kLabel1Y, 0, 0},
    {"Edit1_Normal", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_Rectangular", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_Triangular", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_Constante", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_Gamma", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_Beta", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_Student", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_Poisson", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_Binomial", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_NegBinomial", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_VonMises", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_Weibull", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_XiCuadrado", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_LogNormal", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    // Second field's label and edit.
    {"Label19", kFieldX, kLabel2Y, 0, 0},
    {"Label21", kFieldX, kLabel2Y, 0, 0},
    {"Label23", kFieldX, kLabel2Y, 0, 0},
    {"LabelBetaB", kFieldX, kLabel2Y, 0, 0},
    {"Label_student", kFieldX, kLabel2Y, 0, 0},
    {"LabelBinomialP", kFieldX, kLabel2Y, 0, 0},
    {"LabelNegBinomialP", kFieldX, kLabel2Y, 0, 0},
    {"Label64", kFieldX, kLabel2Y, 0, 0},
    {"Edit2_Normal", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"Edit2_Rectangular", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"Edit2_Triangular", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"Edit2_Beta", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"Edit2_student", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"Edit2_Binomial", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"Edit2_NegBinomial", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"Edit2_LogNormal", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    // Restriction lines.
    {"Label65", kRuleX, kRuleTitleY, 0, 0},
    {"Label67", kRuleX, kRuleTitleY, 0, 0},
    {"Label70", kRuleX, kRuleTitleY, 0, 0},
    {"Label73", kRuleX, kRuleTitleY, 0, 0},
    {"Label76", kRuleX, kRuleTitleY, 0, 0},
    {"Label79", kRuleX, kRuleTitleY, 0, 0},
    {"Label81", kRuleX, kRuleTitleY, 0, 0},
    {"Label83", kRuleX, kRuleTitleY, 0, 0},
    {"Label86", kRuleX, kRuleTitleY, 0, 0},
    {"Label66", kRuleX, kRule1Y, 0, 0},
    {"Label68", kRuleX, kRule1Y, 0, 0},
    {"Label71", kRuleX, kRule1Y, 0, 0},
    {"Label74", kRuleX, kRule1Y, 0, 0},
    {"Label77", kRuleX, kRule1Y, 0, 0},
    {"Label80", kRuleX, kRule1Y, 0, 0},
    {"Label82", kRuleX, kRule1Y, 0, 0},
    {"Label84", kRuleX, kRule1Y, 0, 0},
    {"Label87", kRuleX, kRule1Y, 0, 0},
    {"Label69", kRuleX, kRule2Y, 0, 0},
    {"Label72", kRuleX, kRule2Y, 0, 0},
    {"Label75", kRuleX, kRule2Y, 0, 0},
    {"Label78", kRuleX, kRule2Y, 0, 0},
    {"Label85", kRuleX, kRule2Y, 0, 0},
    {"Label88", kRuleX, kRule2Y, 0, 0},
    // Fields of the right column: the third field above the degrees of
    // freedom, or the degrees of freedom alone at the top.
    {"LabelNormalDegrees", kRuleX, kLabel1Y, 0, 0},
    {"LabelRectangularDegrees", kRuleX, kLabel1Y, 0, 0},
    {"LabelTriangularDegrees", kRuleX, kLabel1Y, 0, 0},
    {"LabelUShapedDegrees", kRuleX, kLabel1Y, 0, 0},
    {"LabelTrapezoidal3", kRuleX, kLabel1Y, 0, 0},
    {"LabelCurvilinearTrapezoid3", kRuleX, kLabel1Y, 0, 0},
    {"LabelAsymmetricTriangular3", kRuleX, kLabel1Y, 0, 0},
    {"LabelTrapezoidalDegrees", kRuleX, kLabel2Y, 0, 0},
    {"LabelCurvilinearTrapezoidDegrees", kRuleX, kLabel2Y, 0, 0},
    {"LabelAsymmetricTriangularDegrees", kRuleX, kLabel2Y, 0, 0},
    {"EditDegrees_Normal", kRuleX, kEdit1Y, kRightEditWidth, kEditHeight},
    {"EditDegrees_Rectangular", kRuleX, kEdit1Y, kRightEditWidth, kEditHeight},
    {"EditDegrees_Triangular", kRuleX, kEdit1Y, kRightEditWidth, kEditHeight},
    {"EditDegrees_UShaped", kRuleX, kEdit1Y, kRightEditWidth, kEditHeight},
    {"Edit3_Trapezoidal", kRuleX, kEdit1Y, kRightEditWidth, kEditHeight},
    {"Edit3_CurvilinearTrapezoid", kRuleX, kEdit1Y, kRightEditWidth, kEditHeight},
    {"Edit3_AsymmetricTriangular", kRuleX, kEdit1Y, kRightEditWidth, kEditHeight},
    {"EditDegrees_Trapezoidal", kRuleX, kEdit2Y, kRightEditWidth, kEditHeight},
    {"EditDegrees_CurvilinearTrapezoid", kRuleX, kEdit2Y, kRightEditWidth, kEditHeight},
    {"EditDegrees_AsymmetricTriangular", kRuleX, kEdit2Y, kRightEditWidth, kEditHeight},
    // First and second fields of the later kinds.
    {"LabelUShaped1", kFieldX, kLabel1Y, 0, 0},
    {"LabelTrapezoidal1", kFieldX, kLabel1Y, 0, 0},
    {"LabelCurvilinearTrapezoid1", kFieldX, kLabel1Y, 0, 0},
    {"LabelAsymmetricTriangular1", kFieldX, kLabel1Y, 0, 0},
    {"LabelUShaped2", kFieldX, kLabel2Y, 0, 0},
    {"LabelTrapezoidal2", kFieldX, kLabel2Y, 0, 0},
    {"LabelCurvilinearTrapezoid2", kFieldX, kLabel2Y, 0, 0},
    {"LabelAsymmetricTriangular2", kFieldX, kLabel2Y, 0, 0},
    {"Edit1_UShaped", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_Trapezoidal", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_CurvilinearTrapezoid", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit1_AsymmetricTriangular", kFieldX, kEdit1Y, kEditWidth, kEditHeight},
    {"Edit2_UShaped", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"Edit2_Trapezoidal", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"Edit2_CurvilinearTrapezoid", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"Edit2_AsymmetricTriangular", kFieldX, kEdit2Y, kEditWidth, kEditHeight},
    {"ButtonUShaped", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"ButtonTrapezoidal", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"ButtonCurvilinearTrapezoid", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"ButtonAsymmetricTriangular", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    // Apply buttons of pages 1 to 17.
    {"Button1", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button4", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button5", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button6", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button7", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button8", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button9", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button10", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button11", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button12", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button13", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button14", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button15", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button16", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button17", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button18", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    {"Button19", kApplyX, kApplyY, kApplyWidth, kApplyHeight},
    // Experimental page.
    {"RadioButton1", 8, 12, 116, 17},
    {"RadioButton2", 8, 29, 116, 17},
    {"RadioButton3", 8, 46, 116, 17},
    {"RadioButton4", 8, 63, 116, 17},
    {"RadioButton5", 8, 80, 116, 17},
    {"Label96", 126, 14, 0, 0},
    {"SpinEdit2", 126, 30, 64, 20},
    {"Button20", 126, 60, 96, 22},
    {"Label97", 238, 14, 0, 0},
    {"RadioButton6", 238, 30, 136, 17},
    {"RadioButton7", 238, 47, 136, 17},

    // Simulation page.
    {"Label4", 31, 28, 0, 0},
    {"Label14", 335, 28, 0, 0},
    {"Panel8", 32, 46, 355, 229},
    {"Panel1", 1, 1, 353, 227},
    {"Image1", 20, 14, 300, 186},
    {"Panel2", 31, 283, 345, 14},
    {"Label3", 6, 0, 0, 14},
    {"LabelM1", 64, 0, 100, 14},
    {"Label1", 176, 0, 0, 14},
    {"LabelM2", 244, 0, 100, 14},
    {"Label15", 31, 306, 360, 16},
    {"LabelTab1", 21, 338, 0, 0},
    {"LabelTab2", 111, 338, 0, 0},
    {"LabelTab3", 199, 338, 0, 0},
    {"PanelResultados", 19, 25, 377, 291},
    {"Label47", 10, 6, 0, 0},
    {"StringGrid2", 10, 26, 320, 172},
    {"Label56", 10, 206, 0, 0},
    {"Resultado_res", 96, 206, 240, 16},
    {"Label60", 10, 226, 360, 16},
    {"Label28", 10, 246, 360, 16},
    {"Label12", 10, 266, 360, 16},
    {"PanelParametros", 19, 25, 377, 291},
    {"Label57", 10, 6, 0, 0},
    {"Panel4", 10, 26, 64, 18},
    {"Panel5", 74, 26, 95, 18},
    {"Panel6", 169, 26, 168, 18},
    {"StringGrid1", 10, 44, 327, 236},
    {"LabelTab4", 306, 338, 0, 0},
    {"PanelGum", 19, 25, 377, 310},
    {"LabelGumTitle", 10, 6, 0, 0},
    {"StringGrid3", 10, 24, 357, 92},
    {"LabelGumEstimate", 10, 121, 365, 14},
    {"LabelGumCombined", 10, 135, 365, 14},
    {"LabelGumSecondOrder", 10, 149, 365, 14},
    {"LabelGumDegrees", 10, 163, 365, 14},
    {"LabelGumFactor", 10, 177, 365, 14},
    {"LabelGumExpanded", 10, 191, 365, 14},
    {"LabelGumInterval", 10, 205, 365, 14},
    {"LabelGumValidation", 10, 223, 365, 14},
    {"LabelGumDifferences", 10, 237, 365, 14},
    {"LabelGumVerdict", 10, 251, 357, 30},
    {"CheckBoxGumCurve", 10, 285, 357, 18},
    {"progressbar", 8, 358, 10, 4},
    {"Label8", 21, 368, 0, 0},
    {"SpinEdit1", 21, 384, 86, 22},
    {"Label13", 118, 368, 0, 0},
    {"ComboBox1", 118, 384, 140, 22},
    {"CheckBoxHistogram", 275, 371, 16, 16},
    {"Label29", 295, 373, 0, 0},
    {"AsHyperBtn1", 275, 392, 122, 22},
    // The interval's kind under the run's count and probability; the adaptive run's
    // choice below, its digits following the check box's text.
    {"ComboBoxInterval", 21, 414, 237, 22},
    {"CheckBoxAdaptive", 21, 447, 0, 20},
    {"SpinEditDigits", 130, 446, 40, 22},
    {"LabelDigits", 174, 450, 0, 0},
};

}  // namespace

const ControlPlace* FindControlPlace(const QString& name) {
    for (const auto& place : kPlaces)
        if (name == QLatin1String(place.Name)) return &place;
    return nullptr;
}

void PlaceControls(QWidget* root) {
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        const ControlPlace* place = FindControlPlace(widget->objectName());
        if (!place) continue;
        if (place->Width > 0 && place->Height > 0) {
            widget->setGeometry(place->X, place->Y, place->Width, place->Height);
        } else {
            widget->adjustSize();
            QSize size = widget->size();
            if (place->Width > 0) size.setWidth(place->Width);
            if (place->Height > 0) size.setHeight(place->Height);
            widget->setGeometry(place->X, place->Y, size.width(), size.height());
        }
    }
}

}  // namespace corvanta
