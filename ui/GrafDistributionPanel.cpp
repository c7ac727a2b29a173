// The distribution list and panel of the Model page: one page per kind of
// distribution, Apply, and the Experimental page with its observations.
#include <QApplication>
#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>

#include "distributions/ApplyRules.h"
#include "ui/FormValores.h"
#include "ui/Graf.h"
#include "ui/TextBridge.h"
#include "ui/controls/AsHyperBtn.h"
#include "ui/controls/AsPagePanel.h"

namespace corvanta {

namespace {

struct PageLabel {
    const char* Name;
    const char* Text;
};

// One page of the panel: its name, the labels and fields it shows, and its
// Apply button. Texts are the defaults the captions replace.
struct DistributionPage {
    const char* Sheet;
    const char* Name;
    PageLabel Labels[5];
    // First, second and third field, and the optional degrees of freedom.
    const char* Edits[4];
    const char* Apply;
};

constexpr DistributionPage kPages[kDistributionKindCount] = {
    {"TabSheet5", "Noname", {{"Label25", "Unassigned probability distribution"}}, {}, nullptr},
    {"TabSheet1",
     "Normal",
     {{"Label18", "Mean"}, {"Label19", "Standard Deviation"}, {"LabelNormalDegrees", ""}},
     {"Edit1_Normal", "Edit2_Normal", nullptr, "EditDegrees_Normal"},
     "Button1"},
    {"TabSheet2",
     "Rectangular",
     {{"Label20", "Mean"},
      {"Label21", "half-width of the interval"},
      {"LabelRectangularDegrees", ""}},
     {"Edit1_Rectangular", "Edit2_Rectangular", nullptr, "EditDegrees_Rectangular"},
     "Button5"},
    {"TabSheet3",
     "Triangular",
     {{"Label22", "Mean"},
      {"Label23", "half-width of the interval"},
      {"LabelTriangularDegrees", ""}},
     {"Edit1_Triangular", "Edit2_Triangular", nullptr, "EditDegrees_Triangular"},
     "Button6"},
    {"TabSheet4", "Constante", {{"Label24", "Value"}}, {"Edit1_Constante"}, "Button7"},
    {"TabSheet6",
     "Gamma",
     {{"Label36", "Form"}, {"Label65", "Restrictions"}, {"Label66", ""}},
     {"Edit1_Gamma"},
     "Button8"},
    {"TabSheet7", "Exponencial", {{"Label40", "Parameters are not required"}}, {}, "Button9"},
    {"TabSheet8",
     "Beta",
     {{"LabelBetaA", "a"},
      {"LabelBetaB", "b"},
      {"Label67", "Restrictions"},
      {"Label68", ""},
      {"Label69", ""}},
     {"Edit1_Beta", "Edit2_Beta"},
     "Button10"},
    {"TabSheet9",
     "Student",
     {{"Label44", "Degrees of freedom"},
      {"Label_student", ""},
      {"Label70", "Restrictions"},
      {"Label71", "Deg. of freedom"},
      {"Label72", ""}},
     {"Edit1_Student", "Edit2_student"},
     "Button11"},
    {"TabSheet10", "Poisson", {{"Label46", ""}}, {"Edit1_Poisson"}, "Button12"},
    {"TabSheet11",
     "Binomial",
     {{"LabelBinomialN", "n"},
      {"LabelBinomialP", "p"},
      {"Label73", "Restrictions"},
      {"Label74", ""},
      {"Label75", ""}},
     {"Edit1_Binomial", "Edit2_Binomial"},
     "Button13"},
    {"TabSheet12",
     "NegBinomial",
     {{"LabelNegBinomialN", "n"},
      {"LabelNegBinomialP", "p"},
      {"Label76", "Restrictions"},
      {"Label77", ""},
      {"Label78", ""}},
     {"Edit1_NegBinomial", "Edit2_NegBinomial"},
     "Button14"},
    {"TabSheet13",
     "VonMises",
     {{"LabelVonMisesK", "k"}, {"Label79", "Restrictions"}, {"Label80", ""}},
     {"Edit1_VonMises"},
     "Button15"},
    {"TabSheet14", "Cauchy", {{"Label59", "Parameters are not required"}}, {}, "Button16"},
    {"TabSheet15",
     "Weibull",
     {{"Label61", ""}, {"Label81", "Restrictions"}, {"Label82", ""}},
     {"Edit1_Weibull"},
     "Button17"},
    {"TabSheet16",
     "XiCuadrado",
     {{"Label62", "Degrees of freedom"},
      {"Label83", "Restrictions"},
      {"Label84", "Deg. of freedom"},
      {"Label85", ""}},
     {"Edit1_XiCuadrado"},
     "Button18"},
    {"TabSheet17",
     "LogNormal",
     {{"Label63", "Mean"},
      {"Label64", "Standard Deviation"},
      {"Label86", "Restrictions"},
      {"Label87", ""},
      {"Label88", ""}},
     {"Edit1_LogNormal", "Edit2_LogNormal"},
     "Button19"},
    {"TabSheet22", "Experimental", {}, {}, "Button4"},
    {"TabSheet18", "Intermedio", {{"Label91", "Interim result"}}, {}, nullptr},
    {"TabSheet19", "Resultado", {{"Label92", "Result"}}, {}, nullptr},
    {"TabSheetUShaped",
     "UShaped",
     {{"LabelUShaped1", ""}, {"LabelUShaped2", ""}, {"LabelUShapedDegrees", ""}},
     {"Edit1_UShaped", "Edit2_UShaped", nullptr, "EditDegrees_UShaped"},
     "ButtonUShaped"},
    {"TabSheetTrapezoidal",
     "Trapezoidal",
     {{"LabelTrapezoidal1", ""},
      {"LabelTrapezoidal2", ""},
      {"LabelTrapezoidal3", ""},
      {"LabelTrapezoidalDegrees", ""}},
     {"Edit1_Trapezoidal", "Edit2_Trapezoidal", "Edit3_Trapezoidal", "EditDegrees_Trapezoidal"},
     "ButtonTrapezoidal"},
    {"TabSheetCurvilinearTrapezoid",
     "CurvilinearTrapezoid",
     {{"LabelCurvilinearTrapezoid1", ""},
      {"LabelCurvilinearTrapezoid2", ""},
      {"LabelCurvilinearTrapezoid3", ""},
      {"LabelCurvilinearTrapezoidDegrees", ""}},
     {"Edit1_CurvilinearTrapezoid", "Edit2_CurvilinearTrapezoid", "Edit3_CurvilinearTrapezoid",
      "EditDegrees_CurvilinearTrapezoid"},
     "ButtonCurvilinearTrapezoid"},
    {"TabSheetAsymmetricTriangular",
     "AsymmetricTriangular",
     {{"LabelAsymmetricTriangular1", ""},
      {"LabelAsymmetricTriangular2", ""},
      {"LabelAsymmetricTriangular3", ""},
      {"LabelAsymmetricTriangularDegrees", ""}},
     {"Edit1_AsymmetricTriangular", "Edit2_AsymmetricTriangular", "Edit3_AsymmetricTriangular",
      "EditDegrees_AsymmetricTriangular"},
     "ButtonAsymmetricTriangular"},
};

// Items of the distribution list, at the positions of their kinds.
constexpr const char* kDistributionItems[] = {
    "Probability distribution",
    "Normal",
    "Rectangular",
    "Triangular",
    "Constant",
    "Gamma",
    "Exponential",
    "Beta",
    "t (student)",
    "Poisson",
    "Binomial",
    "NegBinomial",
    "Von Mises",
    "Cauchy",
    "Weibull",
    "Xi square",
    "Lognormal",
    "Experimental",
    // The later kinds: their texts are captions, set with the others.
    "",
    "",
    "",
    "",
};
static_assert(std::size(kDistributionItems) == kDistributionListCount);

bool IsRestrictionLine(const char* name) {
    const QString label = QString::fromLatin1(name);
    static const QStringList rules = {"Label66", "Label68", "Label69", "Label71", "Label72",
                                      "Label74", "Label75", "Label77", "Label78", "Label80",
                                      "Label82", "Label84", "Label85", "Label87", "Label88"};
    return rules.contains(label);
}

}  // namespace

void TGraf::BuildDistributionPanel(QWidget* page) {
    NewLabel(page, "Label16", "Component");
    Label17 = NewLabel(page, "Label17");
    QFont bold = Label17->font();
    bold.setBold(true);
    Label17->setFont(bold);

    ComboBox2 = new QComboBox(page);
    ComboBox2->setObjectName("ComboBox2");
    for (const char* item : kDistributionItems)
        ComboBox2->addItem(QString::fromLatin1(item));
    connect(ComboBox2, &QComboBox::activated, this,
            [this](int item) { ComboBox2Change(KindOfListItem(item)); });

    AsPagePanel1 = new TAsPagePanel(page);
    AsPagePanel1->setObjectName("AsPagePanel1");
    AsPagePanel1->SetHideTabs(true);
    connect(AsPagePanel1, &TAsPagePanel::OnEnter, this, [this] { AsPagePanel1Enter(); });
    connect(AsPagePanel1, &TAsPagePanel::OnExit, this, [this] { AsPagePanel1Exit(); });

    const QColor ruleColour(190, 203, 228);
    for (int index = 0; index < kDistributionKindCount; ++index) {
        const DistributionPage& contents = kPages[index];
        auto* sheet = new QWidget;
        sheet->setObjectName(contents.Sheet);
        sheet->setProperty("pageName", QString::fromLatin1(contents.Name));
        AsPagePanel1->addWidget(sheet);
        for (const PageLabel& label : contents.Labels) {
            if (!label.Name) break;
            QLabel* widget = NewLabel(sheet, label.Name, QString::fromLatin1(label.Text));
            if (IsRestrictionLine(label.Name)) {
                QPalette palette = widget->palette();
                palette.setColor(QPalette::WindowText, ruleColour);
                widget->setPalette(palette);
            }
        }
        for (int field = 0; field < 4; ++field) {
            if (!contents.Edits[field]) continue;
            QLineEdit* edit = NewEdit(sheet, contents.Edits[field]);
            PageFields[index][field] = edit;
            FieldEdits.push_back(edit);
        }
        if (index == int(DistributionKind::Experimental)) BuildExperimentalPage(sheet);
        if (contents.Apply) {
            TAsHyperBtn* apply = NewButton(sheet, contents.Apply, ButtonLook::Action, "Apply");
            connect(apply, &TAsHyperBtn::OnClick, this, [this] { Button4Click(); });
        }
    }
    // The list overlaps the panel's top edge and must stay clickable there.
    ComboBox2->raise();
}

void TGraf::BuildExperimentalPage(QWidget* page) {
    ModeButtons = new QButtonGroup(page);
    const char* modes[] = {"Direct", "Indirect SX", "Indirect SXXS", "Indirect X/S",
                           "Indirect SXS"};
    for (int i = 0; i < kReadingModeCount; ++i) {
        auto* radio = new QRadioButton(QString::fromLatin1(modes[i]), page);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        ModeButtons->addButton(radio, i);
    }
    ModeButtons->button(0)->setChecked(true);
    NewLabel(page, "Label96", "Number of readings");
    SpinEdit2 = new QSpinBox(page);
    SpinEdit2->setObjectName("SpinEdit2");
    SpinEdit2->setRange(1, 999);
    SpinEdit2->setValue(10);
    TAsHyperBtn* values = NewButton(page, "Button20", ButtonLook::Action, "Values...");
    connect(values, &TAsHyperBtn::OnClick, this, [this] { Button20Click(); });
    NewLabel(page, "Label97", "Distribution of simulation");
    SimulationDistribution = new QButtonGroup(page);
    auto* normal = new QRadioButton("Normal", page);
    normal->setObjectName("RadioButton6");
    auto* student = new QRadioButton("t (Student)", page);
    student->setObjectName("RadioButton7");
    SimulationDistribution->addButton(normal, 6);
    SimulationDistribution->addButton(student, 7);
    normal->setChecked(true);
}

ReadingMode TGraf::SelectedReadingMode() const {
    return static_cast<ReadingMode>(std::max(0, ModeButtons->checkedId()));
}

void TGraf::ComboBox2Change(int index) {
    ClearEdits();
    AsPagePanel1->SetActivePageIndex(index);
}

void TGraf::SetDistributionItemTexts() {
    const int first = DistributionListItem(int(DistributionKind::UShaped));
    const int captions[] = {distcap::UShaped, distcap::Trapezoidal, distcap::CurvilinearTrapezoid,
                            distcap::AsymmetricTriangular};
    for (int i = 0; i < 4; ++i)
        ComboBox2->setItemText(first + i, ToQt(CaptionState.Cap(captions[i])));
}

void TGraf::ClearEdits() {
    for (QLineEdit* edit : FieldEdits)
        edit->clear();
    SpinEdit2->setValue(10);
    MemoValues.clear();
}

void TGraf::Button4Click() {
    DistributionApplied = true;
    const int index = SelectedParameterIndex();
    if (index < 0 || index >= int(ParameterListState.size())) return;
    ApplyRequest request;
    request.Page = AsPagePanel1->ActivePageIndex();
    if (IsFieldPage(request.Page)) {
        std::string* texts[] = {&request.Fields.Edit1, &request.Fields.Edit2, &request.Fields.Edit3,
                                &request.Fields.Degrees};
        for (int field = 0; field < 4; ++field)
            if (QLineEdit* edit = PageFields[request.Page][field])
                *texts[field] = FromQt(edit->text());
    }
    request.Experimental.Mode = SelectedReadingMode();
    request.Experimental.Table = MemoValues;
    request.Experimental.Student = SimulationDistribution->checkedId() == 7;
    ApplyOutcome outcome =
        ApplyDistribution(ParameterListState, index, request, MessageState, *Dialogs);
    ParametersReady = outcome.ParametersReady;
    if (outcome.Refused) {
        // The selection, the page and what was typed stay for the user to
        // correct; showing the row again would replace the fields.
        FocusRefusedField(request.Page, outcome.RefusedField);
        return;
    }
    MarkModified();
    // The table takes the focus before the next row's page replaces the
    // fields, so that the panel is left as applied.
    AsStringGrid2->setFocus();
    if (outcome.NextIndex >= 0) SelectParameterRow(outcome.NextIndex);
    AsStringGrid2->viewport()->update();
}

// The field a refusal is about, ready to be typed over. The readings of
// the Experimental page are entered in a dialog; the page's own field is the
// number of readings.
void TGraf::FocusRefusedField(int page, int field) {
    if (page == int(DistributionKind::Experimental)) {
        SpinEdit2->setFocus(Qt::OtherFocusReason);
        SpinEdit2->selectAll();
        return;
    }
    if (!IsFieldPage(page) || field < 0 || field > 3 || !PageFields[page][field]) return;
    QLineEdit* edit = PageFields[page][field];
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
}

void TGraf::Button20Click() {
    const std::string name = FromQt(Label17->text());
    auto table = FormValores->Edit(SelectedReadingMode(), SpinEdit2->value(), name, MemoValues);
    if (!table || *table == MemoValues) return;
    MemoValues = *table;
    // Pasted readings may have added rows: the count follows the table.
    const int rows = int(ParseReadings(MemoValues).Rows.size());
    if (rows > SpinEdit2->value()) SpinEdit2->setValue(rows);
    MarkModified();
}

void TGraf::AsPagePanel1Enter() {
    DistributionApplied = false;
}

// Leaving the panel with values typed but not applied offers to apply them.
void TGraf::AsPagePanel1Exit() {
    // Focus that goes to another window (a message, the observations
    // dialog) comes back; only a move within this window leaves the panel.
    QWidget* focus = QApplication::focusWidget();
    if (!focus || focus->window() != this) return;
    if (DistributionApplied || AsPagePanel1->ActivePageIndex() <= 0) return;
    if (Dialogs->ConfirmOkCancel(MessageState.AssignDistribution) == DialogAnswer::Ok)
        Button4Click();
}

}  // namespace corvanta
