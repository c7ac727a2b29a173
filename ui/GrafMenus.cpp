// The main menu: File, Language and Info, with items drawn by the window.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionMenuItem>

#include "ui/Colours.h"
#include "ui/Graf.h"

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
        QString text = item->text;
        text.remove(QLatin1Char('\t'));
        text.replace(QLatin1String("&&"), QLatin1String("\x01"));
        text.remove(QLatin1Char('&'));
        text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
        painter->drawText(rect.adjusted(indent, 0, 0, 0),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override {
        QSize result = QProxyStyle::sizeFromContents(type, option, size, widget);
        if (type == CT_MenuItem) result.rheight() += ExtraHeight;
        return result;
    }

  private:
    int ExtraHeight;
};

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
                             void (TGraf::*handler)()) {
        connect(NewItem(menu, name, text), &QAction::triggered, this,
                [this, handler] { (this->*handler)(); });
    };
    item(file, "Abrir1", "Open", &TGraf::Abrir1Click);
    item(file, "Guardarmodelo1", "Save model", &TGraf::Guardarmodelo1Click);
    item(file, "Guardar1", "Save model as", &TGraf::Guardar1Click);
    item(file, "Imprimir1", "Print results...", &TGraf::Imprimir1Click);
    item(file, "ExportarPDF1", "Export report as PDF...", &TGraf::ExportarPDF1Click);
    item(file, "ExportarValores1", "Export values...", &TGraf::ExportarValores1Click);
    // The separator is an item of its own, drawn as a line of dashes.
    NewItem(file, "N1", "--------------------")->setEnabled(false);
    item(file, "Cerrar1", "Close", &TGraf::Cerrar1Click);

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
}

}  // namespace corvanta
