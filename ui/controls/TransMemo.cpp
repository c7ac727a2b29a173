#include "ui/controls/TransMemo.h"

#include <QEvent>
#include <QPainter>
#include <QTextDocument>
#include <QTextOption>

namespace corvanta {
namespace {

constexpr QPalette::ColorGroup kGroups[] = {QPalette::Active, QPalette::Inactive,
                                            QPalette::Disabled};

// A faint line in the text colour: enough to find the box on a busy
// picture, too weak to read as a frame.
QColor QuietLine(const QPalette& palette) {
    QColor line = palette.color(QPalette::Text);
    line.setAlpha(70);
    return line;
}

}  // namespace

TTransMemo::TTransMemo(QWidget* parent) : QPlainTextEdit(parent) {}

void TTransMemo::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    if (transparent) {
        for (QPalette::ColorGroup group : kGroups)
            opaqueBase_[group] = palette().brush(group, QPalette::Base);
        MakeBaseClear();
    } else {
        QPalette opaque = palette();
        for (QPalette::ColorGroup group : kGroups)
            opaque.setBrush(group, QPalette::Base, opaqueBase_[group]);
        settingPalette_ = true;
        setPalette(opaque);
        settingPalette_ = false;
    }
    viewport()->setAutoFillBackground(!transparent);
    update();
    viewport()->update();
}

void TTransMemo::SetAlignText(Qt::Alignment alignment) {
    QTextOption option = document()->defaultTextOption();
    option.setAlignment(alignment);
    document()->setDefaultTextOption(option);
    viewport()->update();
}

Qt::Alignment TTransMemo::AlignText() const {
    return document()->defaultTextOption().alignment();
}

void TTransMemo::MakeBaseClear() {
    QPalette clear = palette();
    clear.setBrush(QPalette::All, QPalette::Base, Qt::transparent);
    settingPalette_ = true;
    setPalette(clear);
    settingPalette_ = false;
}

bool TTransMemo::event(QEvent* event) {
    // The box's own paint is only its frame (the text lives in the
    // viewport); in its place goes the quiet outline.
    if (event->type() == QEvent::Paint && transparent_) {
        QPainter painter(this);
        painter.setPen(QuietLine(palette()));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
        return true;
    }
    return QPlainTextEdit::event(event);
}

void TTransMemo::changeEvent(QEvent* event) {
    // A palette set by the window while the box is clear brings an opaque
    // base; keep it for later and stay clear.
    if (event->type() == QEvent::PaletteChange && transparent_ && !settingPalette_ &&
        palette().brush(QPalette::Base).color().alpha() != 0) {
        for (QPalette::ColorGroup group : kGroups)
            opaqueBase_[group] = palette().brush(group, QPalette::Base);
        MakeBaseClear();
    }
    QPlainTextEdit::changeEvent(event);
    if (transparent_) viewport()->update();
}

void TTransMemo::scrollContentsBy(int dx, int dy) {
    QPlainTextEdit::scrollContentsBy(dx, dy);
    if (transparent_) viewport()->update();
}

}  // namespace corvanta
