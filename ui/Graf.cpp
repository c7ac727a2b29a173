#include "ui/Graf.h"
#include "ui/Colours.h"

#include <algorithm>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QStackedWidget>
#include <QTableWidget>

#include "captions/LanguageFiles.h"
#include "ui/FormCorrelations.h"
#include "ui/FormInfo.h"
#include "ui/FormValores.h"
#include "ui/Layout.h"
#include "ui/TextBridge.h"
#include "ui/WindowDialogs.h"
#include "ui/controls/AsHyperBtn.h"
#include "ui/controls/AsPagePanel.h"
#include "ui/controls/AsPanel.h"
#include "ui/controls/TransEdit.h"
#include "ui/controls/TransMemo.h"

namespace corvanta {

namespace {

// A widget that shows one picture as its background.
class PictureBackground : public QWidget {
  public:
    using QWidget::QWidget;
    QPixmap Picture;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.drawPixmap(0, 0, Picture);
    }
};

}  // namespace

TGraf::TGraf(const GrafEnvironment& environment, UserDialogs* dialogs) : Environment(environment) {
    setObjectName(kMainWindowName);
    if (!dialogs) {
        OwnDialogs = std::make_unique<WindowDialogs>(this);
        dialogs = OwnDialogs.get();
    }
    Dialogs = dialogs;
    FileDialogs = DefaultFileDialogs();
    CaptionState = CaptionTable::BuiltIn();
    MessageState = FormMessageTexts(CaptionState);
    PixelRatio = screen() ? screen()->devicePixelRatio() : qApp->devicePixelRatio();

    auto* client = new PictureBackground(this);
    client->setObjectName("ClientArea");
    client->Picture = PaintPageBackground(QSize(kClientWidth, kClientHeight), PixelRatio);
    client->setFixedSize(kClientWidth, kClientHeight);
    QPalette light = client->palette();
    light.setColor(QPalette::WindowText, kWhite);
    client->setPalette(light);
    Client = client;
    setCentralWidget(client);

    PageControl1 = new QStackedWidget(client);
    PageControl1->setObjectName("PageControl1");
    const char* pageNames[] = {"TabSheet23", "TabSheet20", "TabSheet21"};
    for (const char* name : pageNames) {
        auto* page = new QWidget;
        page->setObjectName(name);
        PageControl1->addWidget(page);
    }
    BuildTopBar(client);
    BuildGeneralPage(PageControl1->widget(0));
    BuildModelPage(PageControl1->widget(1));
    BuildSimulationPage(PageControl1->widget(2));
    BuildMenu();
    AddRunShortcuts();
    setAcceptDrops(true);
    PlaceControls(this);

    ShowDocumentCaption();
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    FormCreate();
    // The observations dialog loads the interface texts when it is created.
    FormValores = new TFormValores(*Dialogs, this);
    FormCorrelations = new TFormCorrelations(*Dialogs, this);
    auto loaded = LoadCaptions(kDefaultLanguageSource, Environment.LanguageFolder, *Dialogs);
    if (loaded) ApplyCaptions(loaded->Table, loaded->Messages);
    FormInfo = new TFormInfo(this);
    FormInfo->SetTexts(MessageState.Window);

    adjustSize();
    setFixedSize(sizeHint());
}

TGraf::~TGraf() = default;

TAsHyperBtn* TGraf::NewButton(QWidget* parent, const char* name, ButtonLook look,
                              const QString& caption) {
    auto* button = new TAsHyperBtn(parent);
    button->setObjectName(name);
    const ControlPlace* place = FindControlPlace(name);
    QSize size = place ? QSize(place->Width, place->Height) : QSize(82, 26);
    button->resize(size);
    button->SetFaces(PaintButtonFaces(size, look, PixelRatio));
    button->SetCaption(caption);
    button->SetCaptionColor(look == ButtonLook::Page ? kWhite : kNavy);
    return button;
}

QLabel* TGraf::NewLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

QLineEdit* TGraf::NewEdit(QWidget* parent, const char* name) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    return edit;
}

void TGraf::BuildTopBar(QWidget* client) {
    auto* bar = new PictureBackground(client);
    bar->setObjectName("Panel9");
    bar->Picture = PaintTopBar(QSize(430, 33), PixelRatio);
    const char* names[] = {"AsHyperBtn2", "AsHyperBtn3", "AsHyperBtn4"};
    const char* captions[] = {"General", "Model", "Simulation"};
    for (int i = 0; i < 3; ++i) {
        TAsHyperBtn* button = NewButton(bar, names[i], ButtonLook::Page, captions[i]);
        button->SetAutochange(true);
        PageButtons[i] = button;
        connect(button, &TAsHyperBtn::OnButtonOn, this,
                [this, button] { AsHyperBtn2ButtonOn(button); });
        connect(button, &TAsHyperBtn::OnClick, this, [this, button] { AsHyperBtn2Click(button); });
    }
}

void TGraf::BuildGeneralPage(QWidget* page) {
    NewLabel(page, "Label95", "Title");
    Edit1 = new TTransEdit(page);
    Edit1->setObjectName("Edit1");
    Edit1->SetTransparent(true);
    NewLabel(page, "Label98", "Technical description");
    TransMemo1 = new TTransMemo(page);
    TransMemo1->setObjectName("TransMemo1");
    TransMemo1->SetTransparent(true);
    connect(Edit1, &QLineEdit::textEdited, this, [this] { MarkModified(); });
    connect(TransMemo1, &QPlainTextEdit::textChanged, this, [this] { MarkModified(); });
    for (QWidget* box : {static_cast<QWidget*>(Edit1), static_cast<QWidget*>(TransMemo1)}) {
        QPalette palette = box->palette();
        palette.setColor(QPalette::Text, kWhite);
        box->setPalette(palette);
    }
}

// The window's creation handler: the state of a new session.
void TGraf::FormCreate() {
    ModelChanged = false;
    FillCoverageChoices();
    LabelTab1Click();
    Session.SimulationRunning = false;
    ShowPage(0);
    ScratchMemo.clear();
    CurrentFileName.clear();
    LoadUnits();
    ProgressBar->resize(10, ProgressBar->height());
}

void TGraf::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!Shown) {
        Shown = true;
        FormShow();
    }
}

// First showing of the window: the parameter table's headers, the first
// page of the distribution panel, and the count beside its label.
void TGraf::FormShow() {
    AsPagePanel1->SetActivePageIndex(0);
    SetTableHeaders();
    PlaceIterationCount();
}

// The parameter table's headers, from the captions in force.
void TGraf::SetTableHeaders() {
    auto headers = ParameterTableHeaders(MessageState);
    for (int column = 0; column < 3; ++column)
        AsStringGrid2->horizontalHeaderItem(column)->setText(ToQt(headers[column]));
    // The names column widens, at the description's expense, when its header
    // would not fit.
    const int nameWidth =
        std::max(59, AsStringGrid2->fontMetrics().horizontalAdvance(ToQt(headers[0])) + 8);
    AsStringGrid2->setColumnWidth(0, nameWidth);
    AsStringGrid2->setColumnWidth(2, 240 - (nameWidth - 59));
}

// The count stands 4 pixels right of its label, wide enough for the largest.
void TGraf::PlaceIterationCount() {
    const int width = Label5->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 2;
    Label5->setGeometry(Label4->geometry().right() + 1 + 4, Label4->y(), width, Label4->height());
}

bool TGraf::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1) {
        if (event->type() == QEvent::FocusIn) Memo1Enter();
        if (event->type() == QEvent::FocusOut) {
            // A context menu of the box does not take the model box away.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) Memo1Exit();
        }
    }
    if (watched == AsStringGrid2->viewport()) {
        if (event->type() == QEvent::MouseButtonPress) {
            PressInGrid = true;
            PressChangedCell = false;
        } else if (event->type() == QEvent::MouseButtonRelease) {
            PressInGrid = false;
        }
    }
    if (watched == cbInplaceComboBox && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        // Opening its own list moves the focus into the box's popup: the box
        // stays until the focus goes elsewhere.
        QWidget* inside = QApplication::focusWidget();
        while (inside && inside != cbInplaceComboBox)
            inside = inside->parentWidget();
        if (!inside) HideUnitsBox();
    }
    if (watched->objectName() == QLatin1String("Label29") &&
        event->type() == QEvent::MouseButtonRelease)
        Label29Click();
    if (watched == Label14 && event->type() == QEvent::MouseButtonRelease) Label14Click();
    if (watched->objectName() == QLatin1String("Label94") &&
        event->type() == QEvent::MouseButtonRelease)
        Label94Click();
    for (int i = 0; i < 4; ++i) {
        if (watched != LabelTabs[i]) continue;
        if (event->type() == QEvent::MouseButtonRelease) {
            if (i == 0) LabelTab1Click();
            if (i == 1) LabelTab2Click();
            if (i == 2) LabelTab3Click();
            if (i == 3) LabelTab4Click();
        } else if (event->type() == QEvent::Enter) {
            ColourTabs(LabelTabs[i]);
        } else if (event->type() == QEvent::Leave) {
            ColourTabs(nullptr);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// The page button toggles itself on every click; a click on the page in view
// must leave it on.
void TGraf::AsHyperBtn2Click(TAsHyperBtn* sender) {
    if (!sender->ButtonOn()) sender->SetButtonOn(true);
}

void TGraf::AsHyperBtn2ButtonOn(TAsHyperBtn* sender) {
    for (int i = 0; i < 3; ++i) {
        TAsHyperBtn* button = PageButtons[i];
        QFont font = button->font();
        font.setBold(button == sender);
        button->setFont(font);
        button->SetCaptionColor(button == sender ? kYellow : kWhite);
        if (button == sender) {
            PageControl1->setCurrentIndex(i);
        } else {
            button->SetButtonOn(false);
        }
    }
}

void TGraf::ShowPage(int index) {
    PageButtons[index]->SetButtonOn(true);
    AsHyperBtn2ButtonOn(PageButtons[index]);
}

void TGraf::ApplyCaptions(const CaptionTable& table, const MessageTexts& messages) {
    // New texts in the fields are the language's, not a change of the model.
    FillingDocument filling(*this);
    CaptionState = table;
    MessageState = messages;
    FormValores->SetMessages(messages);
    FormCorrelations->SetTexts(table, messages);
    if (FormInfo) FormInfo->SetTexts(messages.Window);
    FillCoverageChoices();
    FillIntervalChoices();
    SetDistributionItemTexts();
    ComposedCaptionTexts texts = ComposedCaptions(table);
    for (const ControlCaption& caption : texts.Controls)
        SetControlText(caption);
    // The placeholders are what the fields hold once the texts are in.
    TitlePlaceholder = FromQt(Edit1->text());
    DescriptionPlaceholder = FromQt(TransMemo1->toPlainText());
    PlaceControls(this);
    PlaceRunChoices();
    // Shown already: a language installed from the menu reaches what the
    // first showing set up.
    if (Shown) {
        SetTableHeaders();
        PlaceIterationCount();
    }
}

void TGraf::SetControlText(const ControlCaption& caption) {
    QWidget* window = caption.Window == kObservationsWindowName ? static_cast<QWidget*>(FormValores)
                                                                : static_cast<QWidget*>(this);
    const QString name = ToQt(caption.Control);
    const QString text = ToQt(caption.Text);
    if (caption.Target == CaptionTarget::GridRow) {
        if (auto* item = StringGrid2->item(caption.Row, 0)) item->setText(text);
        return;
    }
    if (window->objectName() == name) {
        if (caption.Target == CaptionTarget::Text && window != this) window->setWindowTitle(text);
        return;
    }
    if (auto* action = window->findChild<QAction*>(name)) {
        action->setText(text);
        return;
    }
    if (auto* menu = window->findChild<QMenu*>(name)) {
        menu->setTitle(text);
        return;
    }
    QWidget* widget = window->findChild<QWidget*>(name);
    if (!widget) return;
    if (caption.Target == CaptionTarget::Hint) {
        widget->setToolTip(text);
    } else if (auto* button = qobject_cast<TAsHyperBtn*>(widget)) {
        button->SetCaption(text);
    } else if (auto* label = qobject_cast<QLabel*>(widget)) {
        label->setText(text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
        edit->setText(text);
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(widget)) {
        memo->setPlainText(text);
    } else if (auto* abstractButton = qobject_cast<QAbstractButton*>(widget)) {
        abstractButton->setText(text);
    } else {
        // Hidden page titles and panels keep their text as the window title.
        widget->setWindowTitle(text);
    }
}

void TGraf::Cerrar1Click() {
    close();
}

void TGraf::Info1Click() {
    FormInfo->exec();
}

// F5 presses Start and Escape the stop label, while their page is in view.
void TGraf::AddRunShortcuts() {
    auto* start = new QAction(this);
    start->setObjectName("ActionStart");
    start->setShortcut(Qt::Key_F5);
    connect(start, &QAction::triggered, this, [this] {
        if (PageControl1->currentIndex() == 2) ButtonInicioClick();
    });
    auto* stop = new QAction(this);
    stop->setObjectName("ActionStop");
    stop->setShortcut(Qt::Key_Escape);
    connect(stop, &QAction::triggered, this, [this] {
        if (Session.SimulationRunning) Label14Click();
    });
    addActions({start, stop});
}

}  // namespace corvanta
