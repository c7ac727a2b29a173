// The main menu: File, Language and Info, with items drawn by the window.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include <QDialog>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "ui/Colours.h"
#include "ui/Graf.h"
#include "ui/TextBridge.h"

namespace corvanta {

namespace {

const QColor kHighlightBorder(117, 124, 221);

// Draws the items of the File and Language menus: a quiet highlight with a
// blue border, captions three spaces in; the File menu's items taller.
class MenuItemStyle : public QProxyStyle {
  public:
    explicit MenuItemStyle(int extraHeight) : ExtraHeight(extraHeight) {}

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        if (element != CE_MenuItem || !item) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        const bool highlighted = item->state & State_Selected;
        QRect rect = item->rect.adjusted(0, 0, -1, 0);
        painter->save();
        painter->fillRect(rect, highlighted ? kSelectionBlue : QColor(Qt::white));
        painter->setPen(highlighted ? kHighlightBorder : QColor(Qt::white));
        painter->drawRect(rect.adjusted(0, 0, -1, -1));
        painter->setPen(highlighted ? kNavy : QColor(Qt::black));
        painter->setFont(item->font);
        const int indent = item->fontMetrics.horizontalAdvance(QStringLiteral("   "));
        // The shortcut follows the tab; it stands at the right as the
        // platform shows shortcuts.
        QString text = item->text.section(QLatin1Char('\t'), 0, 0);
        const QString shortcut = item->text.section(QLatin1Char('\t'), 1);
        text.replace(QLatin1String("&&"), QLatin1String("\x01"));
        text.remove(QLatin1Char('&'));
        text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
        const int flags = Qt::AlignVCenter | Qt::TextSingleLine;
        painter->drawText(rect.adjusted(indent, 0, 0, 0), Qt::AlignLeft | flags, text);
        if (!shortcut.isEmpty())
            painter->drawText(rect.adjusted(0, 0, -indent, 0), Qt::AlignRight | flags, shortcut);
        if (item->menuItemType == QStyleOptionMenuItem::SubMenu) {
            QStyleOptionMenuItem arrow = *item;
            arrow.rect = QRect(rect.right() - indent - 8, rect.center().y() - 4, 8, 8);
            proxy()->drawPrimitive(PE_IndicatorArrowRight, &arrow, painter, widget);
        }
        painter->restore();
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuItem) {
            result.rheight() += ExtraHeight;
            // Room between the caption and the shortcut at the right.
            const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
            if (item && item->text.contains(QLatin1Char('\t')))
                result.rwidth() += item->fontMetrics.horizontalAdvance(QStringLiteral("      "));
        }
        return result;
    }

  private:
    int ExtraHeight;
};

// The platform's keys for a command; where its key scheme has none (the
// generic X11 one has no Save As or Quit), the keys most desktops use.
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    if (!keys.isEmpty()) return keys;
    switch (key) {
        case QKeySequence::SaveAs:
            return {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)};
        case QKeySequence::Quit:
            return {QKeySequence(Qt::CTRL | Qt::Key_Q)};
        case QKeySequence::HelpContents:
            return {QKeySequence(Qt::Key_F1)};
        default:
            return {};
    }
}

QAction* NewItem(QMenu* menu, const char* name, const QString& text) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    return action;
}

}  // namespace

void TGraf::BuildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName("MainMenu1");

    QMenu* file = bar->addMenu(QStringLiteral("File"));
    file->setObjectName("Archivo1");
    auto* fileStyle = new MenuItemStyle(20);
    fileStyle->setParent(this);
    file->setStyle(fileStyle);
    const auto item = [this](QMenu* menu, const char* name, const QString& text,
                             void (TGraf::*handler)(), QKeySequence::StandardKey key = {}) {
        QAction* action = NewItem(menu, name, text);
        if (key != QKeySequence::UnknownKey) action->setShortcuts(StandardKeys(key));
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
        return action;
    };
    item(file, "Nuevo1", "New", &TGraf::Nuevo1Click, QKeySequence::New);
    item(file, "Abrir1", "Open", &TGraf::Abrir1Click, QKeySequence::Open);
    RecentMenu = file->addMenu(QStringLiteral("Open recent"));
    RecentMenu->setObjectName("AbrirReciente1");
    RecentMenu->menuAction()->setObjectName("AbrirReciente1");
    RecentMenu->setStyle(fileStyle);
    item(file, "Guardarmodelo1", "Save model", &TGraf::Guardarmodelo1Click, QKeySequence::Save);
    item(file, "Guardar1", "Save model as", &TGraf::Guardar1Click, QKeySequence::SaveAs);
    item(file, "Imprimir1", "Print results...", &TGraf::Imprimir1Click, QKeySequence::Print);
    item(file, "ExportarPDF1", "Export report as PDF...", &TGraf::ExportarPDF1Click);
    item(file, "ExportarValores1", "Export values...", &TGraf::ExportarValores1Click);
    // The separator is an item of its own, drawn as a line of dashes.
    NewItem(file, "N1", "--------------------")->setEnabled(false);
    // Closing the window ends the program: both keys of the platform do it.
    QAction* close = item(file, "Cerrar1", "Close", &TGraf::Cerrar1Click);
    close->setShortcuts(StandardKeys(QKeySequence::Quit) + StandardKeys(QKeySequence::Close));
    FillRecentMenu();

    QMenu* language = bar->addMenu(QStringLiteral("Language"));
    language->setObjectName("Lenguaje1");
    auto* languageStyle = new MenuItemStyle(0);
    languageStyle->setParent(this);
    language->setStyle(languageStyle);
    item(language, "Cargararchivodeidioma1", "Install language plugin",
         &TGraf::Cargararchivodeidioma1Click);
    item(language, "Informacindeidiomapredeterminado1", "Default language info",
         &TGraf::Informacindeidiomapredeterminado1Click);

    QAction* info = bar->addAction(QStringLiteral("Info"));
    info->setObjectName("Info1");
    connect(info, &QAction::triggered, this, [this] { Info1Click(); });

    QMenu* help = bar->addMenu(QStringLiteral("Help"));
    help->setObjectName("Ayuda1");
    help->setStyle(languageStyle);
    item(help, "GuiaUsuario1", "User guide", &TGraf::GuiaUsuario1Click, QKeySequence::HelpContents);
    item(help, "AcercaDe1", "About Corvanta...", &TGraf::Info1Click);
}

// The guide in a window of its own beside the main one, its pictures and
// links read from the guide's folder.
void TGraf::GuiaUsuario1Click() {
    const QString path =
        QFile::decodeName(QByteArray::fromStdString(Environment.GuideFile.string()));
    if (Environment.GuideFile.empty() || !QFileInfo(path).isFile()) {
        Dialogs->ShowMessage(MessageState.Window.GuideMissing);
        return;
    }
    if (!GuideWindow) {
        auto* window = new QDialog(this, Qt::Window);
        window->setObjectName("FormGuia");
        auto* browser = new QTextBrowser(window);
        browser->setObjectName("TextBrowserGuide");
        browser->setOpenExternalLinks(true);
        browser->setSource(QUrl::fromLocalFile(path), QTextDocument::MarkdownResource);
        auto* layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser);
        window->resize(760, 680);
        GuideWindow = window;
    }
    GuideWindow->setWindowTitle(ToQt(MessageState.Window.UserGuide));
    GuideWindow->show();
    GuideWindow->raise();
    GuideWindow->activateWindow();
}

}  // namespace corvanta
