// The document's state in the window: what marks it modified, the title that
// shows it, the question before changes are lost, and New.
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>

#include "ui/Graf.h"
#include "ui/TextBridge.h"
#include "ui/controls/AsHyperBtn.h"
#include "ui/controls/AsPagePanel.h"
#include "ui/controls/TransEdit.h"
#include "ui/controls/TransMemo.h"

namespace corvanta {

void TGraf::MarkModified() {
    if (DocumentFills == 0) setWindowModified(true);
}

// The platform marks the title where the placeholder stands.
void TGraf::ShowDocumentCaption() {
    if (CurrentFileName.empty()) {
        setWindowTitle(QStringLiteral("  Corvanta[*]"));
    } else {
        setWindowTitle(QStringLiteral(" Corvanta - ") +
                       QFile::decodeName(QByteArray::fromStdString(CurrentFileName)) +
                       QStringLiteral("[*]"));
    }
}

bool TGraf::MayLoseChanges() {
    if (!isWindowModified()) return true;
    const KeepChangesOutcome outcome = AskToKeepChanges(
        CurrentDocument(), CurrentFileName, MessageState, *Dialogs, FileCommandsDialogs());
    TakeSaveOutcome(outcome.Save);
    return outcome.Proceed;
}

void TGraf::closeEvent(QCloseEvent* event) {
    // A running simulation stops at its next progress update; the window
    // closes, asking first, once the run has ended.
    if (Session.SimulationRunning) {
        Label14Click();
        CloseAfterRun = true;
        event->ignore();
        return;
    }
    if (!MayLoseChanges()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}

// A fresh, unnamed, empty model, as at start.
void TGraf::Nuevo1Click() {
    if (Session.SimulationRunning || !MayLoseChanges()) return;
    {
        FillingDocument filling(*this);
        Edit1->setText(ToQt(TitlePlaceholder));
        TransMemo1->setPlainText(ToQt(DescriptionPlaceholder));
        Memo1->clear();
        ParameterListState.clear();
        CorrelationState.clear();
        PostfixExpression.clear();
        ParametersReady = false;
        ModelChanged = false;
        Button2->SetButtonOn(false);
        ShowRunChoices(RunChoices{});
        ClearResults();
        FillParameterTable();
        ClearEdits();
        Label17->clear();
        ComboBox2->setCurrentIndex(0);
        AsPagePanel1->SetActivePageIndex(0);
        Panel3->show();
        CurrentFileName.clear();
    }
    ShowDocumentCaption();
    setWindowModified(false);
    LabelTab1Click();
    ShowPage(0);
}

}  // namespace corvanta
