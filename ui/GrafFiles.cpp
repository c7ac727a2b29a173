// Model files and language files in the window: Open, Save model, Save model
// as, the command-line open, and the Language menu.
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QTableWidget>
#include <filesystem>

#include "captions/LanguageFiles.h"
#include "ui/Graf.h"
#include "ui/TextBridge.h"
#include "ui/controls/TransEdit.h"
#include "ui/controls/TransMemo.h"

namespace corvanta {

namespace {

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

const QString kModelFilter = QStringLiteral(u"Corvanta\u00AE Files (*.cvm)");
const QString kLanguageFilter = QStringLiteral(u"Corvanta\u00AE language Files (*.*)");

std::optional<std::string> AskForPath(QWidget* parent, QFileDialog::AcceptMode mode,
                                      const QString& filter, const QString& suffix,
                                      const std::filesystem::path& folder = {}) {
    QFileDialog dialog(parent, QString(),
                       QFile::decodeName(QByteArray::fromStdString(folder.string())));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptSave ? QFileDialog::AnyFile
                                                       : QFileDialog::ExistingFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(suffix);
    // The command asks about an existing file itself, in its own words.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return LocalPath(dialog.selectedFiles().constFirst());
}

}  // namespace

GrafFileDialogs TGraf::DefaultFileDialogs() {
    GrafFileDialogs dialogs;
    // Both start in the folder of the model last opened or saved.
    dialogs.ChooseOpenPath = [this] {
        return AskForPath(this, QFileDialog::AcceptOpen, kModelFilter, QStringLiteral("cvm"),
                          LocalPath(LastFolder()));
    };
    dialogs.ChooseSavePath = [this] {
        return AskForPath(this, QFileDialog::AcceptSave, kModelFilter, QStringLiteral("cvm"),
                          LocalPath(LastFolder()));
    };
    dialogs.ChooseLanguagePath = [this] {
        return AskForPath(this, QFileDialog::AcceptOpen, kLanguageFilter, QString(),
                          Environment.ShippedLanguages);
    };
    dialogs.ChoosePrinter = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    dialogs.ChoosePdfPath = [this] {
        return AskForPath(this, QFileDialog::AcceptSave, QStringLiteral("PDF (*.pdf)"),
                          QStringLiteral("pdf"));
    };
    dialogs.ChooseValuesPath = [this] {
        return AskForPath(this, QFileDialog::AcceptSave, QStringLiteral("Text (*.txt)"),
                          QStringLiteral("txt"));
    };
    return dialogs;
}

ModelDocument TGraf::CurrentDocument() const {
    ModelDocument document;
    document.Title = FromQt(Edit1->text());
    document.Description = FromQt(TransMemo1->toPlainText());
    document.ModelText = FromQt(Memo1->toPlainText());
    document.Parameters = ParameterListState;
    document.Correlations = CorrelationState;
    document.Choices = ReadRunChoices();
    // The file holds what the table shows.
    for (int i = 0; i < int(document.Parameters.size()) && i < AsStringGrid2->rowCount(); ++i) {
        document.Parameters[i].Unidad = FromQt(AsStringGrid2->item(i, 1)->text());
        document.Parameters[i].Desc = FromQt(AsStringGrid2->item(i, 2)->text());
    }
    return document;
}

ModelFileDialogs TGraf::FileCommandsDialogs() {
    return ModelFileDialogs{FileDialogs.ChooseSavePath, FileDialogs.ChooseOpenPath};
}

void TGraf::TakeSaveOutcome(const SaveOutcome& outcome) {
    if (!outcome.Written) return;
    CurrentFileName = outcome.FileName;
    ShowDocumentCaption();
    setWindowModified(false);
    RememberModel(outcome.FileName);
}

void TGraf::Guardarmodelo1Click() {
    TakeSaveOutcome(SaveModel(CurrentDocument(), CurrentFileName, MessageState, *Dialogs,
                              FileCommandsDialogs()));
}

void TGraf::Guardar1Click() {
    TakeSaveOutcome(SaveModelAs(CurrentDocument(), MessageState, *Dialogs, FileCommandsDialogs()));
}

void TGraf::Abrir1Click() {
    const OpenOutcome outcome = OpenModel(CurrentDocument(), CurrentFileName, isWindowModified(),
                                          MessageState, *Dialogs, FileCommandsDialogs());
    TakeSaveOutcome(outcome.Save);
    if (outcome.Opened) TakeOpenedModel(*outcome.Opened, outcome.Path);
}

void TGraf::OpenFileAtStart(const std::string& path) {
    auto opened = OpenModelFile(path, MessageState, *Dialogs);
    if (opened) TakeOpenedModel(*opened, path);
}

// Save model writes back to the file the user opened, never over the file of
// another model saved earlier.
void TGraf::TakeOpenedModel(const OpenedModel& opened, const std::string& path) {
    FillingDocument filling(*this);
    CurrentFileName = path;
    ShowDocumentCaption();
    setWindowModified(false);
    RememberModel(path);
    Edit1->setText(ToQt(opened.Document.Title));
    TransMemo1->setPlainText(ToQt(opened.Document.Description));
    Memo1->setPlainText(ToQt(opened.Document.ModelText));
    ParameterListState = opened.Document.Parameters;
    CorrelationState = opened.Document.Correlations;
    PostfixExpression = opened.PostfixExpression;
    ParametersReady = opened.ParametersReady;
    ModelChanged = false;
    ShowRunChoices(opened.Document.Choices);
    ClearResults();
    FillParameterTable();
    if (!ParameterListState.empty()) {
        Panel3->hide();
        AsStringGrid2Click();
    }
    ShowPage(1);
}

void TGraf::Cargararchivodeidioma1Click() {
    auto chosen = FileDialogs.ChooseLanguagePath();
    if (!chosen) return;
    // A name typed without an extension means the .cvl file.
    std::string path = *chosen;
    if (!std::filesystem::exists(path)) path = WithLanguageFileExtension(path);
    try {
        auto loaded = LoadCaptions(path, Environment.LanguageFolder, *Dialogs);
        if (loaded) ApplyCaptions(loaded->Table, loaded->Messages);
    } catch (const FileAccessError& error) {
        Dialogs->ShowError(error.what());
    }
}

void TGraf::Informacindeidiomapredeterminado1Click() {
    try {
        ShowDefaultLanguageInfo(Environment.LanguageFolder, *Dialogs);
    } catch (const FileAccessError& error) {
        Dialogs->ShowError(error.what());
    }
}

}  // namespace corvanta
