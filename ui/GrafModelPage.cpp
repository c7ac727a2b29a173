// The Model page: the model box, the function palette, "Update parameters"
// and "Continue".
#include <QLabel>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTextCursor>

#include "distributions/ModelUpdate.h"
#include "ui/Colours.h"
#include "ui/FormCorrelations.h"
#include "ui/Graf.h"
#include "ui/TextBridge.h"
#include "ui/controls/AsHyperBtn.h"
#include "ui/controls/AsPanel.h"
#include "ui/controls/TransMemo.h"

namespace corvanta {

namespace {

struct PaletteFunction {
    const char* Button;
    const char* Caption;
    const char* Hint;
    const char* Inserted;
};

constexpr const char* kRadians = "(angle in radians)";

constexpr PaletteFunction kPaletteFunctions[] = {
    {"AsHyperBtn6", "abs", "", "ABS"},
    {"AsHyperBtn7", "exp", "", "EXP"},
    {"AsHyperBtn8", "ln", "", "LN"},
    {"AsHyperBtn9", "log", "", "LOG"},
    {"AsHyperBtn10", "sqr", "", "SQR"},
    {"AsHyperBtn11", "sqrt", "", "SQRT"},
    {"AsHyperBtn12", "pi", "Constant Pi", "PI"},
    {"AsHyperBtn14", "sin", kRadians, "SIN"},
    {"AsHyperBtn15", "cos", kRadians, "COS"},
    {"AsHyperBtn16", "tan", kRadians, "TAN"},
    {"AsHyperBtn17", "cot", kRadians, "COT"},
    {"AsHyperBtn18", "sin h", kRadians, "SINH"},
    {"AsHyperBtn19", "cos h", kRadians, "COSH"},
    {"AsHyperBtn20", "tan h", kRadians, "TANH"},
    {"AsHyperBtn21", "cot h", kRadians, "COTH"},
    {"AsHyperBtn22", "asin", kRadians, "ARCSIN"},
    {"AsHyperBtn23", "asin h", kRadians, "ARCSINH"},
    {"AsHyperBtn24", "acos", kRadians, "ARCCOS"},
    {"AsHyperBtn25", "acos h", kRadians, "ARCCOSH"},
    {"AsHyperBtn26", "atan", kRadians, "ARCTAN"},
    {"AsHyperBtn27", "atan h", kRadians, "ARCTANH"},
    {"AsHyperBtn28", "acot", kRadians, "ARCCOT"},
    {"AsHyperBtn29", "acot h", kRadians, "ARCCOTH"},
    {"AsHyperBtn30", "rad-deg", "Conversion (rad -> deg)", "RADTODEG"},
    {"AsHyperBtn31", "rad-grad", "Conversion (rad -> grad)", "RADTOGRAD"},
    {"AsHyperBtn32", "deg-rad", "Conversion (deg -> rad)", "DEGTORAD"},
    {"AsHyperBtn33", "deg-grad", "Conversion (deg -> grad)", "DEGTOGRAD"},
    {"AsHyperBtn34", "grad-rad", "Conversion (grad -> rad)", "GRADTORAD"},
    {"AsHyperBtn35", "grad-deg", "Conversion (grad -> deg)", "GRADTODEG"},
    {"AsHyperBtn36", "cyc-rad", "Conversion (cyc -> rad)", "CYCLETORAD"},
    {"AsHyperBtn37", "cyc-deg", "Conversion (cyc -> deg)", "CYCLETODEG"},
    {"AsHyperBtn38", "rad-cyc", "Conversion (rad -> cyc)", "RADTOCYCLE"},
    {"AsHyperBtn39", "deg-cyc", "Conversion (deg -> cyc)", "DEGTOCYCLE"},
    {"AsHyperBtn40", "grad-cyc", "Conversion (grad -> cyc)", "GRADTOCYCLE"},
    {"AsHyperBtn41", "cyc-grad", "Conversion (cyc -> grad)", "CYCLETOGRAD"},
};

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

}  // namespace

void TGraf::BuildModelPage(QWidget* page) {
    NewLabel(page, "Label2", "Equations group");
    Memo1 = new TTransMemo(page);
    Memo1->setObjectName("Memo1");
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->SetTransparent(true);
    SetTextColour(Memo1, kWhite);
    Memo1->installEventFilter(this);
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { Memo1Change(); });

    AsHyperBtn5 = NewButton(page, "AsHyperBtn5", ButtonLook::Action, "f(x)");
    AsHyperBtn5->setToolTip("Insert function");
    AsHyperBtn5->hide();
    connect(AsHyperBtn5, &TAsHyperBtn::OnClick, this, [this] { AsHyperBtn5Click(); });
    Button2 = NewButton(page, "Button2", ButtonLook::Action, "Update parameters");
    Button2->SetAutochange(true);
    Button2->hide();
    connect(Button2, &TAsHyperBtn::OnClick, this, [this] { Button2Click(); });

    BuildParameterTable(page);
    BuildDistributionPanel(page);

    Panel3 = new QFrame(page);
    Panel3->setObjectName("Panel3");
    Panel3->setFrameShape(QFrame::StyledPanel);
    Panel3->setAutoFillBackground(true);
    QPalette start = Panel3->palette();
    start.setColor(QPalette::Window, QColor(218, 227, 243));
    start.setColor(QPalette::WindowText, kNavy);
    Panel3->setPalette(start);
    QLabel* startTitle = NewLabel(Panel3, "Label10", "Start");
    QFont bold = startTitle->font();
    bold.setBold(true);
    startTitle->setFont(bold);
    NewLabel(Panel3, "Label26")->setWordWrap(true);
    NewLabel(Panel3, "Label27");

    Button3 = NewButton(page, "Button3", ButtonLook::Action, "Continue...");
    connect(Button3, &TAsHyperBtn::OnClick, this, [this] { Button3Click(); });
    Button21 = NewButton(page, "Button21", ButtonLook::Action, "Correlations...");
    connect(Button21, &TAsHyperBtn::OnClick, this, [this] { Button21Click(); });

    BuildFunctionPalette(page);
}

void TGraf::BuildFunctionPalette(QWidget* page) {
    AsPanel2 = new TAsPanel(page);
    AsPanel2->setObjectName("AsPanel2");
    AsPanel2->setAutoFillBackground(true);
    QPalette palette = AsPanel2->palette();
    palette.setColor(QPalette::Window, QColor(218, 227, 243));
    palette.setColor(QPalette::WindowText, kNavy);
    AsPanel2->setPalette(palette);
    AsPanel2->SetFromLeft(269);
    AsPanel2->SetFromTop(18);
    AsPanel2->SetFromWidth(10);
    AsPanel2->SetFromHeight(10);
    AsPanel2->SetStepsCount(10);
    AsPanel2->SetLineWidth(1);
    AsPanel2->SetLineColor(QColor(0, 0, 0));
    AsPanel2->SetEffectOnShow(true);
    AsPanel2->SetEffectOnHide(false);

    QLabel* title = NewLabel(AsPanel2, "Label93", "Insert function");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    QLabel* close = NewLabel(AsPanel2, "Label94", "X");
    close->setFont(bold);
    close->setAlignment(Qt::AlignCenter);
    close->setCursor(Qt::PointingHandCursor);
    close->installEventFilter(this);

    for (const PaletteFunction& function : kPaletteFunctions) {
        TAsHyperBtn* button =
            NewButton(AsPanel2, function.Button, ButtonLook::Palette, function.Caption);
        if (*function.Hint) button->setToolTip(function.Hint);
        const QString inserted = QString::fromLatin1(function.Inserted);
        connect(button, &TAsHyperBtn::OnClick, this,
                [this, inserted] { AsHyperBtn6Click(inserted); });
    }
    AsPanel2->hide();
}

void TGraf::Memo1Enter() {
    Memo1->SetTransparent(false);
    SetTextColour(Memo1, kNavy);
    AsHyperBtn5->show();
    Button2->show();
}

void TGraf::Memo1Exit() {
    Memo1->SetTransparent(true);
    SetTextColour(Memo1, kWhite);
    AsHyperBtn5->hide();
    Button2->hide();
}

void TGraf::Memo1Change() {
    ModelChanged = true;
    MarkModified();
    Button2->SetButtonOn(false);
}

void TGraf::AsHyperBtn5Click() {
    AsPanel2->raise();
    AsPanel2->show();
}

void TGraf::Label94Click() {
    AsPanel2->hide();
}

// The function goes around what is selected in the model box; pi stands
// alone.
void TGraf::AsHyperBtn6Click(const QString& function) {
    QTextCursor cursor = Memo1->textCursor();
    QString inserted = function;
    if (function != QLatin1String("PI")) inserted += "(" + cursor.selectedText() + ")";
    cursor.insertText(inserted);
    Memo1->setTextCursor(cursor);
    AsPanel2->hide();
}

void TGraf::Button2Click() {
    const std::string modelText = FromQt(Memo1->toPlainText());
    if (RemoveEmptyLines(modelText).empty()) return;
    ModelUpdate update = UpdateParameters(modelText, ParameterListState, MessageState, *Dialogs);
    // The box shows the model without its empty lines, whatever the outcome.
    const QString cleaned = ToQt(update.ModelText);
    if (Memo1->toPlainText() != cleaned) Memo1->setPlainText(cleaned);
    ClearResults();
    ModelChanged = false;
    if (!update.Accepted) {
        ShowPage(1);
        Memo1->setFocus();
        return;
    }
    PostfixExpression = update.PostfixExpression;
    ParameterListState = std::move(update.Parameters);
    CorrelationState = SurvivingCorrelations(CorrelationState, ParameterListState);
    ParametersReady = update.ParametersReady;
    FillParameterTable();
    Panel3->hide();
    Button2->SetButtonOn(true);
    AsStringGrid2Click();
}

void TGraf::Button3Click() {
    if (ParametersReady) {
        ShowPage(2);
        return;
    }
    Dialogs->ShowMessage(MessageState.IncompleteInit);
    for (std::size_t i = 0; i < ParameterListState.size(); ++i) {
        if (!ParameterListState[i].Init) {
            SelectParameterRow(int(i));
            break;
        }
    }
}

void TGraf::Button21Click() {
    if (InputNames(ParameterListState).size() < 2) {
        Dialogs->ShowInformation(MessageState.TwoInputs);
        return;
    }
    auto edited = FormCorrelations->Edit(ParameterListState, CorrelationState);
    if (!edited || *edited == CorrelationState) return;
    CorrelationState = std::move(*edited);
    MarkModified();
}

}  // namespace corvanta
