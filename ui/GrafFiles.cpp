// Model files in the window: a document read from a file takes the place of
// the one on screen.
#include <QLabel>
#include <QTableWidget>

#include "document/ModelFile.h"
#include "ui/Graf.h"
#include "ui/TextBridge.h"
#include "ui/controls/TransEdit.h"
#include "ui/controls/TransMemo.h"

namespace corvanta {

void TGraf::OpenFileAtStart(const std::string& path) {
    auto text = ReadModelFile(path, *Dialogs);
    if (!text) return;
    auto opened = ApplyModelText(*text, path, MessageState, *Dialogs);
    if (!opened) return;
    TakeOpenedModel(*opened);
    // Saving writes back to the file the user opened.
    CurrentFileName = path;
    setWindowTitle(ToQt(SavedWindowCaption(path)));
}

void TGraf::TakeOpenedModel(const OpenedModel& opened) {
    Edit1->setText(ToQt(opened.Document.Title));
    TransMemo1->setPlainText(ToQt(opened.Document.Description));
    Memo1->setPlainText(ToQt(opened.Document.ModelText));
    ParameterListState = opened.Document.Parameters;
    PostfixExpression = opened.PostfixExpression;
    ParametersReady = opened.ParametersReady;
    ModelChanged = false;
    ClearResults();
    FillParameterTable();
    if (!ParameterListState.empty()) {
        Panel3->hide();
        AsStringGrid2Click();
    }
    ShowPage(1);
}

}  // namespace corvanta
