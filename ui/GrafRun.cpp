// The simulation run in the window: Start, the progress shown at each update,
// the stop label, the results and contributions after the loop, and the
// coverage choice.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTextDocument>
#include <QTimer>

#include "engine/NumberText.h"
#include "ui/Chart.h"
#include "ui/Graf.h"
#include "ui/ResultGrids.h"
#include "ui/TextBridge.h"

namespace corvanta {

namespace {

// Hands the run's progress to the window.
class WindowRunObserver : public RunObserver {
  public:
    std::function<void(const RunProgress&)> Progress;
    std::function<void(int)> Bar;
    std::function<void(std::int64_t)> Iteration;
    std::function<void(const RunOutcome&)> Results;

    void ProgressUpdated(const RunProgress& progress) override { Progress(progress); }
    void BarStepped(int width) override { Bar(width); }
    void IterationReached(std::int64_t iteration) override { Iteration(iteration); }
    void ResultsReady(const RunOutcome& outcome) override { Results(outcome); }
};

}  // namespace

void TGraf::SetLabelText(const char* name, const std::string& text) {
    findChild<QLabel*>(name)->setText(ToQt(text));
}

void TGraf::ButtonInicioClick() {
    if (Session.SimulationRunning) return;
    // A count typed but not yet brought into range is brought into it here.
    const std::int64_t iterations = LimitIterationCount(FromQt(SpinEdit1->cleanText()));
    SpinEdit1->setValue(static_cast<int>(iterations));
    LabelTab1Click();
    if (PostfixExpression.empty() || !CheckReady(ParameterListState)) {
        Dialogs->ShowMessage(MessageState.IncompleteInit);
        for (std::size_t i = 0; i < ParameterListState.size(); ++i) {
            if (!ParameterListState[i].Init) {
                SelectParameterRow(int(i));
                break;
            }
        }
        return;
    }
    // Edits made in the parameter table reach the records.
    for (int i = 0; i < int(ParameterListState.size()); ++i) {
        ParameterListState[i].Unidad = FromQt(AsStringGrid2->item(i, 1)->text());
        ParameterListState[i].Desc = FromQt(AsStringGrid2->item(i, 2)->text());
    }

    RunSettings settings;
    settings.Iterations = iterations;
    settings.ProgressView = CheckBoxHistogram->isChecked();
    settings.CoverageIndex = ComboBox1->currentIndex();
    settings.Seed = RunSeed;
    settings.Correlations = CorrelationState;

    Label14->show();
    if (!settings.ProgressView) {
        ProgressBar->resize(0, ProgressBar->height());
        ProgressBar->show();
    }
    Chart = BlankChart();
    Image1->setPixmap(QPixmap::fromImage(Chart));
    SetLabelText("Label12", NormalityUndeterminedText(MessageState));
    ClearResults();
    SetRunning(true);

    WindowRunObserver observer;
    observer.Progress = [this, iterations](const RunProgress& progress) {
        if (progress.Iteration == iterations) ProgressBar->hide();
        ShowProgress(progress);
    };
    observer.Bar = [this](int width) { ShowBarStep(width); };
    observer.Iteration = [this](std::int64_t iteration) { ShowIteration(iteration); };
    // The results show, and the window is free again, before the
    // contributions are computed.
    bool shown = false;
    observer.Results = [this, &shown](const RunOutcome& outcome) {
        SetRunning(false);
        ShowRunOutcome(outcome);
        shown = true;
    };
    // The run draws from its own copy of the compiled model.
    const std::string modelText = PostfixExpression;
    const RunChoices choices = ReadRunChoices();
    ChosenRunOutcome outcome =
        RunWithChoices(modelText, ParameterListState, settings, choices, kWindowAdaptiveCeiling,
                       true, MessageState, *Dialogs, Session, observer);
    SetRunning(false);
    if (!shown) ShowRunOutcome(outcome.Run);
    if (outcome.Run.ContributionsComputed) FillContributions();
    const RunStatus status = outcome.Run.Status;
    Last.Status = status;
    Last.Ended = status == RunStatus::Completed || status == RunStatus::Interrupted;
    Last.Iterations = outcome.Run.Computed;
    Last.Seed = outcome.Run.Seed;
    Last.CoverageIndex = settings.CoverageIndex;
    Last.Choices = choices;
    Last.Adaptive = outcome.Adaptive;
    Last.Gum = std::move(outcome.Gum);
    Last.Checked = outcome.Checked;
    Last.Values = std::move(outcome.Values);
    FillGumPage();
    if (CloseAfterRun) {
        CloseAfterRun = false;
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

// While a run goes on, the window answers at each progress update: nothing
// that replaces or edits the model the run is drawing from may act then.
void TGraf::SetRunning(bool running) {
    CheckBoxHistogram->setEnabled(!running);
    Label14->setVisible(running);
    PageControl1->widget(1)->setEnabled(!running);
    for (QWidget* choice :
         {static_cast<QWidget*>(CheckBoxAdaptive), static_cast<QWidget*>(SpinEditDigits),
          static_cast<QWidget*>(ComboBoxInterval)})
        choice->setEnabled(!running);
    for (const char* name : {"Nuevo1", "Abrir1", "Guardarmodelo1", "Guardar1", "Imprimir1",
                             "ExportarPDF1", "ExportarValores1", "Cargararchivodeidioma1"})
        findChild<QAction*>(name)->setEnabled(!running);
    RecentMenu->menuAction()->setEnabled(!running && !RecentMenu->isEmpty());
}

void TGraf::ShowIteration(std::int64_t iteration) {
    Label5->setText(QString::number(iteration));
    Label5->repaint();
}

void TGraf::ShowBarStep(int width) {
    ProgressBar->resize(width, ProgressBar->height());
    ProgressBar->repaint();
}

void TGraf::ShowProgress(const RunProgress& progress) {
    Label5->setText(QString::number(progress.Iteration));
    const ProgressUpdate& update = *progress.Update;
    Last.Update = update;
    Last.HaveUpdate = true;
    const ChartMarks marks = DrawChart(Chart, update.Histogram.Counts, update.Marks);
    Image1->setPixmap(QPixmap::fromImage(Chart));
    auto* lower = findChild<QLabel*>("Label6");
    auto* upper = findChild<QLabel*>("Label7");
    lower->setVisible(marks.Shown);
    upper->setVisible(marks.Shown);
    lower->setText(ToQt(MarkText(update.LowerBound)));
    upper->setText(ToQt(MarkText(update.UpperBound)));
    lower->adjustSize();
    upper->adjustSize();
    lower->move(marks.LowX - 36, lower->y());
    upper->move(marks.HighX - 36, upper->y());
    SetLabelText("LabelM1", progress.MeanText);
    SetLabelText("LabelM2", progress.VarianceText);
    // The one place in a run where the window handles what the user did.
    QApplication::processEvents();
}

void TGraf::ShowRunOutcome(const RunOutcome& outcome) {
    switch (outcome.Status) {
        case RunStatus::Ignored:
            return;
        case RunStatus::NotReady:
            SelectParameterRow(int(outcome.FirstUninitialised));
            return;
        case RunStatus::Aborted:
        case RunStatus::Completed:
        case RunStatus::Interrupted:
            break;
    }
    ProgressBar->hide();
    SetLabelText("Label12", outcome.NormalityText);
    SetLabelText("Label15", outcome.IntervalText);
    SetLabelText("Label60", outcome.IntervalText);
    SetLabelText("Label28", outcome.ClassicText);
    SetLabelText("LabelSkew", outcome.SkewnessText);
    SetLabelText("LabelKurtosis", outcome.KurtosisText);
    for (int row = 0; row < kResultRows; ++row)
        StringGrid2->item(row, 1)->setText(ToQt(outcome.Grid[row]));
    SetLabelText("Resultado_res", outcome.ResultText);
}

void TGraf::FillContributions() {
    static_cast<ContributionsGridDelegate*>(StringGrid1->itemDelegate())
        ->SetUnitSuffix(ToQt(Session.OutputUnitSuffix));
    const int rows = std::min<int>(StringGrid1->rowCount(), int(Session.Contributions.size()));
    for (int row = 0; row < rows; ++row) {
        StringGrid1->item(row, 1)->setText(ToQt(Session.Contributions[row].Width));
        StringGrid1->item(row, 2)->setText(ToQt(Session.Contributions[row].Relative));
    }
    StringGrid1->viewport()->update();
}

void TGraf::Label14Click() {
    Session.StopRequested = true;
}

void TGraf::ComboBox1Change(int index) {
    const CoverageChangeTexts texts = ChangeCoverage(Session.StopRequested, index, MessageState);
    if (!texts.Changed) return;
    SetLabelText("Label15", texts.Interval);
    SetLabelText("Label60", texts.Interval);
    SetLabelText("Label28", texts.Classic);
}

bool TGraf::RunAsStart(std::optional<std::int64_t> iterations, std::optional<int> coverageIndex) {
    if (iterations) SpinEdit1->setValue(static_cast<int>(*iterations));
    if (coverageIndex) ComboBox1->setCurrentIndex(*coverageIndex);
    CheckBoxHistogram->setChecked(false);
    ShowPage(2);
    ButtonInicioClick();
    return Last.Status == RunStatus::Completed;
}

}  // namespace corvanta
