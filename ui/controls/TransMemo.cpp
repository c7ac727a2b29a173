#include "ui/controls/TransMemo.h"

#include <QEvent>
#include <QTextDocument>
#include <QTextOption>

namespace corvanta {

TTransMemo::TTransMemo(QWidget* parent) : QPlainTextEdit(parent) {}

void TTransMemo::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    if (transparent) {
        clearBase_.Clear(*this);
    } else {
        clearBase_.Restore(*this);
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

bool TTransMemo::event(QEvent* event) {
    // The box's own paint is only its frame (the text lives in the
    // viewport); in its place goes the quiet outline.
    if (event->type() == QEvent::Paint && transparent_) {
        ClearBase::PaintOutline(*this);
        return true;
    }
    return QPlainTextEdit::event(event);
}

void TTransMemo::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange && transparent_) clearBase_.PaletteChanged(*this);
    QPlainTextEdit::changeEvent(event);
    if (transparent_) viewport()->update();
}

void TTransMemo::scrollContentsBy(int dx, int dy) {
    QPlainTextEdit::scrollContentsBy(dx, dy);
    if (transparent_) viewport()->update();
}

}  // namespace corvanta
