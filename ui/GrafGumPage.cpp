// The GUM page of the Simulation page, the curve it puts over the
// histogram, and the run's choices beside Start: the interval kind and the
// adaptive number of trials.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>

#include "document/GumSections.h"
#include "ui/Chart.h"
#include "ui/Colours.h"
#include "ui/Graf.h"
#include "ui/PageParts.h"
#include "ui/ResultGrids.h"
#include "ui/TextBridge.h"

namespace corvanta {

namespace {

// The summary lines under the budget, from the top.
const char* const kGumLines[] = {"LabelGumEstimate", "LabelGumCombined",   "LabelGumSecondOrder",
                                 "LabelGumDegrees",  "LabelGumFactor",     "LabelGumExpanded",
                                 "LabelGumInterval", "LabelGumValidation", "LabelGumDifferences"};

}  // namespace

void TGraf::BuildGumPanel(QWidget* page) {
    PanelGum = NewPanel(page, "PanelGum", kWhite, QFrame::Box);
    SetForeground(PanelGum, QColor(0, 0, 0));
    QLabel* title = NewLabel(PanelGum, "LabelGumTitle", "GUM uncertainty framework");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    // Within the panel beside the vertical scroll bar, so that the grid never
    // scrolls sideways.
    StringGrid3 = NewResultGrid(PanelGum, "StringGrid3", 0, {62, 50, 52, 28, 48, 48, 48});
    StringGrid3->horizontalHeader()->show();
    StringGrid3->horizontalHeader()->setFixedHeight(16);
    StringGrid3->horizontalHeader()->setHighlightSections(false);
    StringGrid3->verticalHeader()->setDefaultSectionSize(15);
    StringGrid3->setItemDelegate(new ResultsGridDelegate(StringGrid3));
    for (const char* name : kGumLines)
        NewLabel(PanelGum, name);
    QLabel* verdict = NewLabel(PanelGum, "LabelGumVerdict");
    verdict->setFont(bold);
    verdict->setWordWrap(true);
    verdict->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CheckBoxGumCurve =
        new QCheckBox(QStringLiteral("Show the GUM curve over the histogram"), PanelGum);
    CheckBoxGumCurve->setObjectName("CheckBoxGumCurve");
    connect(CheckBoxGumCurve, &QCheckBox::toggled, this, [this] { RedrawChart(); });
    PanelGum->hide();
}

void TGraf::BuildRunChoices(QWidget* page) {
    CheckBoxAdaptive = new QCheckBox(QStringLiteral("Adaptive: stable to"), page);
    CheckBoxAdaptive->setObjectName("CheckBoxAdaptive");
    SpinEditDigits = new QSpinBox(page);
    SpinEditDigits->setObjectName("SpinEditDigits");
    SpinEditDigits->setRange(kMinimumDigits, kMaximumDigits);
    SpinEditDigits->setValue(kDefaultDigits);
    NewLabel(page, "LabelDigits", "significant digits");
    ComboBoxInterval = new QComboBox(page);
    ComboBoxInterval->setObjectName("ComboBoxInterval");
    // The page shows the tolerance the digits give.
    connect(SpinEditDigits, &QSpinBox::valueChanged, this, [this] {
        MarkModified();
        if (!Last.Ended) FillGumPage();
    });
    // The choices are saved with the model.
    connect(CheckBoxAdaptive, &QCheckBox::clicked, this, [this] { MarkModified(); });
    connect(ComboBoxInterval, &QComboBox::activated, this, [this] { MarkModified(); });
}

// The digits and their label follow the check box's text, whatever its
// length in the language in force.
void TGraf::PlaceRunChoices() {
    CheckBoxAdaptive->adjustSize();
    SpinEditDigits->move(CheckBoxAdaptive->geometry().right() + 4, SpinEditDigits->y());
    auto* digits = findChild<QLabel*>("LabelDigits");
    digits->adjustSize();
    digits->move(SpinEditDigits->geometry().right() + 4, digits->y());
}

void TGraf::FillIntervalChoices() {
    const QSignalBlocker quiet(ComboBoxInterval);
    const int chosen = ComboBoxInterval->currentIndex();
    ComboBoxInterval->clear();
    ComboBoxInterval->addItem(ToQt(MessageState.Gum.Symmetric));
    ComboBoxInterval->addItem(ToQt(MessageState.Gum.Shortest));
    ComboBoxInterval->setCurrentIndex(chosen >= 0 ? chosen : 0);
}

RunChoices TGraf::ReadRunChoices() const {
    RunChoices choices;
    choices.Interval =
        ComboBoxInterval->currentIndex() == 1 ? IntervalKind::Shortest : IntervalKind::Symmetric;
    choices.Adaptive = CheckBoxAdaptive->isChecked();
    choices.Digits = SpinEditDigits->value();
    return choices;
}

void TGraf::ShowRunChoices(const RunChoices& choices) {
    ComboBoxInterval->setCurrentIndex(choices.Interval == IntervalKind::Shortest ? 1 : 0);
    CheckBoxAdaptive->setChecked(choices.Adaptive);
    SpinEditDigits->setValue(choices.Digits);
}

void TGraf::LabelTab4Click() {
    PanelGum->show();
    PanelGum->raise();
    PanelResultados->hide();
    PanelParametros->hide();
    findChild<QLabel*>("Label15")->hide();
    ColourTabs(nullptr);
}

void TGraf::FillGumPage() {
    const int digits = Last.Ended ? Last.Choices.Digits : SpinEditDigits->value();
    const GumPageTexts page = FormatGumPage(Last.Gum, Last.Checked, Last.CoverageIndex, digits,
                                            Session.OutputUnitSuffix, MessageState);
    QStringList headers;
    for (const std::string& header : page.Headers)
        headers << ToQt(header);
    StringGrid3->setHorizontalHeaderLabels(headers);
    const int budgetRows = int(page.Rows.size());
    StringGrid3->clearSpans();
    StringGrid3->setRowCount(budgetRows + int(page.Correlations.size()));
    // The coefficients that entered u_c follow the budget, a row each.
    for (int i = 0; i < int(page.Correlations.size()); ++i) {
        const int row = budgetRows + i;
        StringGrid3->setSpan(row, 0, 1, kBudgetColumns);
        auto* item = new QTableWidgetItem(ToQt(page.Correlations[i]));
        item->setToolTip(item->text());
        StringGrid3->setItem(row, 0, item);
    }
    for (int row = 0; row < budgetRows; ++row) {
        for (int column = 0; column < kBudgetColumns; ++column) {
            auto* item = new QTableWidgetItem(ToQt(page.Rows[row][column]));
            item->setToolTip(item->text());
            StringGrid3->setItem(row, column, item);
        }
    }
    const std::string* lines[] = {&page.Estimate, &page.Combined,   &page.SecondOrder,
                                  &page.Degrees,  &page.Factor,     &page.Expanded,
                                  &page.Interval, &page.Validation, &page.Differences};
    for (int i = 0; i < int(std::size(kGumLines)); ++i)
        SetLabelText(kGumLines[i], *lines[i]);
    SetLabelText("LabelGumVerdict", page.Verdict);
    RedrawChart();
}

// The chart of the last update, with the GUM curve over it when asked for.
void TGraf::RedrawChart() {
    if (!Last.HaveUpdate) return;
    Chart = BlankChart();
    const bool curve = CheckBoxGumCurve->isChecked() && Last.Gum && Last.Gum->Applicable;
    const auto& h = Last.Update.Histogram;
    const std::int64_t n = Last.Update.Statistics.n;
    // A GUM density taller than the tallest bar lowers the bars with it, so
    // that the curve's peak stays on the chart.
    const std::int64_t scale =
        curve ? GumCurvePeak(h, n, Last.Gum->Estimate, Last.Gum->CombinedUncertainty,
                             Last.Gum->EffectiveDegreesOfFreedom)
              : 0;
    DrawChart(Chart, h.Counts, Last.Update.Marks, scale);
    if (curve)
        DrawGumCurve(Chart, h, n, Last.Gum->Estimate, Last.Gum->CombinedUncertainty,
                     Last.Gum->EffectiveDegreesOfFreedom);
    Image1->setPixmap(QPixmap::fromImage(Chart));
}

}  // namespace corvanta
