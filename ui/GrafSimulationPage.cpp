// The Simulation page: iterations, coverage, the chart, the result and
// contribution panels and their tabs.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>

#include "simulation/Statistics.h"
#include "ui/Chart.h"
#include "ui/Colours.h"
#include "ui/Graf.h"
#include "ui/PageParts.h"
#include "ui/ResultGrids.h"
#include "ui/TextBridge.h"
#include "ui/controls/AsHyperBtn.h"

namespace corvanta {

QFrame* NewPanel(QWidget* parent, const char* name, const QColor& fill, QFrame::Shape shape) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(shape);
    panel->setAutoFillBackground(true);
    QPalette palette = panel->palette();
    palette.setColor(QPalette::Window, fill);
    panel->setPalette(palette);
    return panel;
}

QTableWidget* NewResultGrid(QWidget* parent, const char* name, int rows,
                            std::initializer_list<int> widths) {
    auto* grid = new QTableWidget(rows, int(widths.size()), parent);
    grid->setObjectName(name);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(17);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setFrameShape(QFrame::NoFrame);
    int column = 0;
    for (int width : widths)
        grid->setColumnWidth(column++, width);
    for (int row = 0; row < rows; ++row)
        for (int c = 0; c < int(widths.size()); ++c)
            grid->setItem(row, c, new QTableWidgetItem);
    return grid;
}

void SetForeground(QWidget* widget, const QColor& colour) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void TGraf::BuildSimulationPage(QWidget* page) {
    Label4 = NewLabel(page, "Label4", "Iteration number");
    Label5 = NewLabel(page, "Label5", "0");
    Label14 = NewLabel(page, "Label14", "(Stop)");
    Label14->setCursor(Qt::PointingHandCursor);
    Label14->installEventFilter(this);
    Label14->hide();

    QFrame* chartFrame = NewPanel(page, "Panel8", QColor(52, 68, 110), QFrame::Panel);
    chartFrame->setFrameShadow(QFrame::Sunken);
    QFrame* chart = NewPanel(chartFrame, "Panel1", kNavy);
    Image1 = new QLabel(chart);
    Image1->setObjectName("Image1");
    Chart = BlankChart();
    Image1->setPixmap(QPixmap::fromImage(Chart));
    // The mark labels move with the marks at every update (and stay out of
    // the layout table, which is applied again at each language change).
    for (const char* name : {"Label6", "Label7"}) {
        QLabel* mark = NewLabel(chart, name);
        SetForeground(mark, kWhite);
        mark->move(20, 184);
        mark->hide();
    }

    QFrame* strip = NewPanel(page, "Panel2", QColor(0, 0, 0));
    SetForeground(strip, kWhite);
    NewLabel(strip, "Label3", "Mean");
    NewLabel(strip, "LabelM1");
    NewLabel(strip, "Label1", "Variance");
    NewLabel(strip, "LabelM2");
    NewLabel(page, "Label15");

    const char* tabs[] = {"LabelTab1", "LabelTab2", "LabelTab3", "LabelTab4"};
    const char* tabTexts[] = {"Histogram", "Results", "Uncertainties", "GUM"};
    for (int i = 0; i < 4; ++i) {
        LabelTabs[i] = NewLabel(page, tabs[i], tabTexts[i]);
        QFont bold = LabelTabs[i]->font();
        bold.setBold(true);
        LabelTabs[i]->setFont(bold);
        LabelTabs[i]->setCursor(Qt::PointingHandCursor);
        LabelTabs[i]->installEventFilter(this);
    }
    BuildResultPanels(page);
    BuildGumPanel(page);

    ProgressBar = NewPanel(page, "progressbar", QColor(154, 199, 154));
    ProgressBar->hide();

    NewLabel(page, "Label8", "Iterations");
    SpinEdit1 = new QSpinBox(page);
    SpinEdit1->setObjectName("SpinEdit1");
    SpinEdit1->setRange(100000, 2000000);
    SpinEdit1->setSingleStep(100000);
    SpinEdit1->setValue(200000);
    NewLabel(page, "Label13", "Probability");
    ComboBox1 = new QComboBox(page);
    ComboBox1->setObjectName("ComboBox1");
    connect(ComboBox1, &QComboBox::currentIndexChanged, this,
            [this](int index) { ComboBox1Change(index); });
    CheckBoxHistogram = new QCheckBox(page);
    CheckBoxHistogram->setObjectName("CheckBoxHistogram");
    CheckBoxHistogram->setChecked(true);
    QLabel* viewProgress = NewLabel(page, "Label29", "View progress");
    viewProgress->installEventFilter(this);
    TAsHyperBtn* start = NewButton(page, "AsHyperBtn1", ButtonLook::Action, "Start Simulation");
    connect(start, &TAsHyperBtn::OnClick, this, [this] { ButtonInicioClick(); });
    BuildRunChoices(page);

    // Texts the run carries into the results grid; never shown.
    for (const char* name :
         {"Iteraciones_res", "Media_res", "Varianza_res", "Prob_res", "desv_res", "LabelSkew",
          "LabelKurtosis", "Maximo_res", "Minimo_res", "Rango_res", "Label11", "Label9"})
        NewLabel(page, name)->hide();
}

void TGraf::BuildResultPanels(QWidget* page) {
    PanelResultados = NewPanel(page, "PanelResultados", kWhite, QFrame::Box);
    SetForeground(PanelResultados, QColor(0, 0, 0));
    QLabel* title = NewLabel(PanelResultados, "Label47", "Results");
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);
    StringGrid2 = NewResultGrid(PanelResultados, "StringGrid2", kResultRows, {227, 89});
    StringGrid2->setItemDelegate(new ResultsGridDelegate(StringGrid2));
    NewLabel(PanelResultados, "Label56", "Result =");
    NewLabel(PanelResultados, "Resultado_res")->setFont(bold);
    NewLabel(PanelResultados, "Label60");
    NewLabel(PanelResultados, "Label28");
    NewLabel(PanelResultados, "Label12");
    PanelResultados->hide();

    PanelParametros = NewPanel(page, "PanelParametros", kWhite, QFrame::Box);
    SetForeground(PanelParametros, QColor(0, 0, 0));
    NewLabel(PanelParametros, "Label57", "Uncertainty Contributors")->setFont(bold);
    const char* headers[] = {"Panel4", "Panel5", "Panel6"};
    const char* headerTexts[] = {"Parameter", "Uncertainties", "Relative contribution"};
    for (int i = 0; i < 3; ++i) {
        QLabel* header = NewLabel(PanelParametros, headers[i], headerTexts[i]);
        header->setFrameShape(QFrame::Panel);
        header->setFrameShadow(QFrame::Raised);
        header->setAlignment(Qt::AlignCenter);
        header->setAutoFillBackground(true);
        QPalette palette = header->palette();
        palette.setColor(QPalette::Window, QColor(218, 227, 243));
        palette.setColor(QPalette::WindowText, kNavy);
        header->setPalette(palette);
    }
    StringGrid1 = NewResultGrid(PanelParametros, "StringGrid1", 0, {64, 95, 166});
    StringGrid1->setItemDelegate(new ContributionsGridDelegate(StringGrid1));
    PanelParametros->hide();
}

void TGraf::ClearResults() {
    const QString undetermined = ToQt(MessageState.Indetermined);
    for (const char* name :
         {"Iteraciones_res", "Media_res", "Varianza_res", "Prob_res", "desv_res", "LabelSkew",
          "LabelKurtosis", "Maximo_res", "Minimo_res", "Rango_res", "Resultado_res"})
        findChild<QLabel*>(name)->setText(undetermined);
    for (int row = 0; row < StringGrid2->rowCount(); ++row)
        StringGrid2->item(row, 1)->setText(undetermined);
    Last = LastRunState{};
    FillGumPage();
}

// The interval line under the chart belongs to the histogram page; the
// result panels, which repeat it, would leave its lower edge peeking out.
void TGraf::LabelTab1Click() {
    PanelResultados->hide();
    PanelParametros->hide();
    PanelGum->hide();
    findChild<QLabel*>("Label15")->show();
    ColourTabs(nullptr);
}

void TGraf::LabelTab2Click() {
    PanelResultados->show();
    PanelResultados->raise();
    PanelParametros->hide();
    PanelGum->hide();
    findChild<QLabel*>("Label15")->hide();
    ColourTabs(nullptr);
}

void TGraf::LabelTab3Click() {
    PanelParametros->show();
    PanelParametros->raise();
    PanelResultados->hide();
    PanelGum->hide();
    findChild<QLabel*>("Label15")->hide();
    ColourTabs(nullptr);
}

// The tab of the panel in view is white, the others silver; the one under the
// pointer navy and underlined.
void TGraf::ColourTabs(QLabel* hovered) {
    int inView = 0;
    if (PanelResultados->isVisibleTo(this)) inView = 1;
    if (PanelParametros->isVisibleTo(this)) inView = 2;
    if (PanelGum->isVisibleTo(this)) inView = 3;
    for (int i = 0; i < 4; ++i) {
        QFont font = LabelTabs[i]->font();
        font.setUnderline(LabelTabs[i] == hovered);
        LabelTabs[i]->setFont(font);
        QColor colour = i == inView ? kWhite : kSilver;
        if (LabelTabs[i] == hovered) colour = kNavy;
        SetForeground(LabelTabs[i], colour);
    }
}

void TGraf::Label29Click() {
    if (!Session.SimulationRunning) CheckBoxHistogram->toggle();
}

void TGraf::FillCoverageChoices() {
    // Refilling is not a choice of the user's.
    const QSignalBlocker quiet(ComboBox1);
    const int chosen = ComboBox1->currentIndex();
    ComboBox1->clear();
    for (int index = 0; index < kCoverageChoiceCount; ++index)
        ComboBox1->addItem(ToQt(CoverageItemText(index, MessageState)));
    ComboBox1->setCurrentIndex(chosen >= 0 ? chosen : kDefaultCoverageChoice);
}

}  // namespace corvanta
