#pragma once

#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "captions/ComposedCaptions.h"
#include "captions/UserDialogs.h"
#include "distributions/ModelParameter.h"
#include "distributions/Readings.h"
#include "document/ModelFile.h"
#include "document/ResultsReport.h"
#include "simulation/Run.h"
#include "simulation/RunChoices.h"
#include "ui/controls/Pictures.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPrinter;
class QSpinBox;
class QStackedWidget;
class QTableWidget;

namespace corvanta {

class TAsHyperBtn;
class TAsPagePanel;
class TAsPanel;
class TFormValores;
class TFormCorrelations;
class TFormInfo;
class TTransEdit;
class TTransMemo;
class WindowDialogs;

// Where the window keeps and finds its files.
struct GrafEnvironment {
    // default.lng and language.dat are read and written here.
    std::filesystem::path LanguageFolder;
    // The units list; an empty path or a missing file leaves the list empty.
    std::filesystem::path UnitsFile;
    // Where the install command's dialog starts: the shipped language files.
    std::filesystem::path ShippedLanguages;
    // The settings that are not the model's (recent models, last folder):
    // this INI file, or the user's settings of the program when empty.
    std::filesystem::path SettingsFile;
    // The user guide (Markdown); empty when none is installed.
    std::filesystem::path GuideFile;
};

// The window's file and print dialogs. Each file dialog returns the chosen
// path (in the file system's encoding), or nothing when cancelled;
// ChoosePrinter sets up the printer and returns false when cancelled. Tests
// put scripted ones in place of the real dialogs.
struct GrafFileDialogs {
    std::function<std::optional<std::string>()> ChooseOpenPath;
    std::function<std::optional<std::string>()> ChooseSavePath;
    std::function<std::optional<std::string>()> ChooseLanguagePath;
    std::function<bool(QPrinter&)> ChoosePrinter;
    std::function<std::optional<std::string>()> ChoosePdfPath;
    std::function<std::optional<std::string>()> ChooseValuesPath;
};

// What the last run left for the GUM page, the chart, the report and the
// exports; cleared with the results.
struct LastRunState {
    RunStatus Status = RunStatus::Ignored;
    bool Ended = false;  // completed or interrupted
    std::int64_t Iterations = 0;
    std::uint32_t Seed = 0;
    int CoverageIndex = 2;
    RunChoices Choices;
    std::optional<AdaptiveOutcome> Adaptive;
    std::optional<GumResult> Gum;
    std::optional<Validation> Checked;
    std::vector<double> Values;  // in run order
    bool HaveUpdate = false;
    ProgressUpdate Update;  // the last progress update, for redrawing the chart
};

// The main window: the General, Model and Simulation pages, the menu, and
// the state of the document and of the session. Its handlers read the
// controls, call the core and write the controls back.
class TGraf : public QMainWindow {
    Q_OBJECT
  public:
    // dialogs: where every message goes; nullptr shows message boxes.
    explicit TGraf(const GrafEnvironment& environment, UserDialogs* dialogs = nullptr);
    ~TGraf() override;

    // Opens a model file at start-up exactly as the Open command does.
    void OpenFileAtStart(const std::string& path);

    // Session state, readable by tests and by the next pages.
    const ParameterList& Parameters() const { return ParameterListState; }
    const CorrelationList& Correlations() const { return CorrelationState; }
    const std::string& Postfix() const { return PostfixExpression; }
    bool IsModelChanged() const { return ModelChanged; }
    // The document holds changes not yet saved (shown in the title).
    bool IsDocumentModified() const { return isWindowModified(); }
    bool IsParametersReady() const { return ParametersReady; }
    const MessageTexts& Messages() const { return MessageState; }
    TFormValores* ObservationsDialog() const { return FormValores; }
    TFormCorrelations* CorrelationsDialog() const { return FormCorrelations; }
    const SimulationSession& Simulation() const { return Session; }
    const std::string& FileName() const { return CurrentFileName; }

    // Replaces the file and print dialogs (tests script them).
    void SetFileDialogs(const GrafFileDialogs& dialogs) { FileDialogs = dialogs; }
    // Runs start from this seed instead of the clock (tests compare runs).
    void SetRunSeed(std::optional<std::uint32_t> seed) { RunSeed = seed; }
    const LastRunState& LastRun() const { return Last; }

    // For the report written without a window: sets the iteration count and
    // the coverage choice (when given), turns the progress view off and runs
    // as Start does; true when the run completed.
    bool RunAsStart(std::optional<std::int64_t> iterations, std::optional<int> coverageIndex);
    // Writes the report as Export report as PDF does, to path; false after
    // telling why.
    bool WriteReportPdf(const std::string& path);

  protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Construction, page by page (each in the file of its page).
    void BuildTopBar(QWidget* client);
    void BuildGeneralPage(QWidget* page);
    void BuildModelPage(QWidget* page);
    void BuildFunctionPalette(QWidget* page);
    void BuildParameterTable(QWidget* page);
    void BuildDistributionPanel(QWidget* page);
    void BuildExperimentalPage(QWidget* page);
    void BuildSimulationPage(QWidget* page);
    void BuildResultPanels(QWidget* page);
    void BuildMenu();
    TAsHyperBtn* NewButton(QWidget* parent, const char* name, ButtonLook look,
                           const QString& caption);
    QLabel* NewLabel(QWidget* parent, const char* name, const QString& text = QString());
    QLineEdit* NewEdit(QWidget* parent, const char* name);

    // Start-up.
    void FormCreate();
    void FormShow();
    void PlaceIterationCount();
    void SetTableHeaders();
    void LoadUnits();

    // Files.
    void TakeOpenedModel(const struct OpenedModel& opened, const std::string& path);

    // The document's state (GrafDocument.cpp): what marks it modified, the
    // question before changes are lost, New.
    void MarkModified();
    void ShowDocumentCaption();
    bool MayLoseChanges();
    void Nuevo1Click();
    // While the window itself fills the document's controls, nothing it
    // writes is a change of the user's.
    struct FillingDocument {
        explicit FillingDocument(TGraf& window) : Window(window) { ++Window.DocumentFills; }
        ~FillingDocument() { --Window.DocumentFills; }
        TGraf& Window;
    };

    // Captions.
    void ApplyCaptions(const CaptionTable& table, const MessageTexts& messages);
    void SetControlText(const ControlCaption& caption);

    // Pages and the top bar.
    void AsHyperBtn2Click(TAsHyperBtn* sender);
    void AsHyperBtn2ButtonOn(TAsHyperBtn* sender);
    void ShowPage(int index);

    // Model page.
    void Memo1Enter();
    void Memo1Exit();
    void Memo1Change();
    void AsHyperBtn5Click();
    void Label94Click();
    void AsHyperBtn6Click(const QString& function);
    void Button2Click();
    void Button3Click();
    void Button21Click();

    // Parameter table.
    void FillParameterTable();
    void SelectParameterRow(int index);
    int SelectedParameterIndex() const;
    void AsStringGrid2Click();
    void AsStringGrid2SelectCell(int row, int column);
    void AsStringGrid2SetEditText(int row, int column);
    void cbInplaceComboBoxCloseUp(int item);
    void cbInplaceComboBoxChange(const QString& text);
    void HideUnitsBox();
    void ShowRecordFields(const ModelParameter& record);

    // Distribution panel.
    // index: the kind of the item picked.
    void ComboBox2Change(int index);
    // The list items of the later kinds, from the captions in force.
    void SetDistributionItemTexts();
    void ClearEdits();
    void Button4Click();
    void FocusRefusedField(int page, int field);
    void Button20Click();
    void AsPagePanel1Enter();
    void AsPagePanel1Exit();
    ReadingMode SelectedReadingMode() const;

    // Simulation page.
    void ClearResults();
    void LabelTab1Click();
    void LabelTab2Click();
    void LabelTab3Click();
    void ColourTabs(QLabel* hovered);
    void Label29Click();
    void FillCoverageChoices();

    // GUM page and the run's choices (GrafGumPage.cpp).
    void BuildGumPanel(QWidget* page);
    void BuildRunChoices(QWidget* page);
    void LabelTab4Click();
    void FillGumPage();
    void RedrawChart();
    void FillIntervalChoices();
    void PlaceRunChoices();
    RunChoices ReadRunChoices() const;
    void ShowRunChoices(const RunChoices& choices);

    // The run (GrafRun.cpp).
    void ButtonInicioClick();
    void Label14Click();
    void ComboBox1Change(int index);
    void SetRunning(bool running);
    void ShowProgress(const RunProgress& progress);
    void ShowBarStep(int width);
    void ShowIteration(std::int64_t iteration);
    void ShowRunOutcome(const RunOutcome& outcome);
    void FillContributions();
    void SetLabelText(const char* name, const std::string& text);

    // Menu.
    void Cerrar1Click();
    void Info1Click();
    void AddRunShortcuts();
    void GuiaUsuario1Click();

    // Recent models, dropped files and the last folder (GrafRecent.cpp).
    std::unique_ptr<class QSettings> OpenSettings() const;
    QString LastFolder() const;
    void RememberModel(const std::string& path);
    void FillRecentMenu();
    void OpenRecentEntry(const QString& path);
    void OpenModelPath(const std::string& path);

    // Files (GrafFiles.cpp).
    GrafFileDialogs DefaultFileDialogs();
    ModelDocument CurrentDocument() const;
    ModelFileDialogs FileCommandsDialogs();
    void TakeSaveOutcome(const SaveOutcome& outcome);
    void Abrir1Click();
    void Guardarmodelo1Click();
    void Guardar1Click();
    void Cargararchivodeidioma1Click();
    void Informacindeidiomapredeterminado1Click();

    // Printing (GrafPrinting.cpp).
    void Imprimir1Click();
    struct ReportTexts GatherReportTexts() const;
    std::vector<ReportLine> ComposeWholeReport() const;
    void ExportarPDF1Click();
    void ExportarValores1Click();

    // Where messages go.
    std::unique_ptr<WindowDialogs> OwnDialogs;
    UserDialogs* Dialogs = nullptr;
    GrafEnvironment Environment;

    // Document and session state.
    ParameterList ParameterListState;
    CorrelationList CorrelationState;  // coefficients between input quantities
    std::string PostfixExpression;
    bool ModelChanged = false;
    int DocumentFills = 0;
    bool CloseAfterRun = false;  // the close box was pressed during a run
    bool ParametersReady = false;
    bool DistributionApplied = false;
    // SimulationRunning, StopRequested, OutputMax, OutputUnitSuffix and the
    // contribution rows of the last run.
    SimulationSession Session;
    std::optional<std::uint32_t> RunSeed;
    LastRunState Last;
    GrafFileDialogs FileDialogs;
    std::string CurrentFileName;
    std::string ScratchMemo;
    CaptionTable CaptionState;
    MessageTexts MessageState;
    std::string TitlePlaceholder;
    std::string DescriptionPlaceholder;
    bool Shown = false;
    bool FillingTable = false;
    bool AskingToUpdate = false;
    bool PressInGrid = false;       // a mouse press on the table is being handled
    bool PressChangedCell = false;  // ... and it moved the current cell
    int UnitsBoxRow = -1;           // the row the units box edits
    qreal PixelRatio = 1;

    // Controls the handlers reach directly; the rest are found by name.
    QWidget* Client = nullptr;
    QStackedWidget* PageControl1 = nullptr;
    TAsHyperBtn* PageButtons[3] = {};
    TTransEdit* Edit1 = nullptr;
    TTransMemo* TransMemo1 = nullptr;
    TTransMemo* Memo1 = nullptr;
    TAsHyperBtn* AsHyperBtn5 = nullptr;
    TAsHyperBtn* Button2 = nullptr;
    TAsHyperBtn* Button3 = nullptr;
    TAsHyperBtn* Button21 = nullptr;
    TAsPanel* AsPanel2 = nullptr;
    QFrame* Panel3 = nullptr;
    QTableWidget* AsStringGrid2 = nullptr;
    QComboBox* cbInplaceComboBox = nullptr;
    QLabel* Label17 = nullptr;
    QComboBox* ComboBox2 = nullptr;
    TAsPagePanel* AsPagePanel1 = nullptr;
    std::vector<QLineEdit*> FieldEdits;  // every field of the field pages
    // By page: first, second and third field, and the degrees of freedom.
    QLineEdit* PageFields[kDistributionKindCount][4] = {};
    QButtonGroup* ModeButtons = nullptr;
    QButtonGroup* SimulationDistribution = nullptr;
    QSpinBox* SpinEdit2 = nullptr;
    std::string MemoValues;  // the hidden observation text of the Experimental page
    QLabel* Label5 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label14 = nullptr;
    QLabel* LabelTabs[4] = {};
    QFrame* PanelGum = nullptr;
    QTableWidget* StringGrid3 = nullptr;  // the GUM budget
    QCheckBox* CheckBoxGumCurve = nullptr;
    QCheckBox* CheckBoxAdaptive = nullptr;
    QSpinBox* SpinEditDigits = nullptr;
    QComboBox* ComboBoxInterval = nullptr;
    QFrame* PanelResultados = nullptr;
    QFrame* PanelParametros = nullptr;
    QTableWidget* StringGrid1 = nullptr;
    QTableWidget* StringGrid2 = nullptr;
    QSpinBox* SpinEdit1 = nullptr;
    QComboBox* ComboBox1 = nullptr;
    QCheckBox* CheckBoxHistogram = nullptr;
    QLabel* Image1 = nullptr;  // shows Chart
    QImage Chart;
    QFrame* ProgressBar = nullptr;
    TFormValores* FormValores = nullptr;
    TFormCorrelations* FormCorrelations = nullptr;
    TFormInfo* FormInfo = nullptr;
    QMenu* RecentMenu = nullptr;
    QWidget* GuideWindow = nullptr;
};

}  // namespace corvanta
