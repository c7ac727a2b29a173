#include "ui/controls/TransEdit.h"

#include <QEvent>
#include <QStyle>
#include <QStyleOptionFrame>

namespace corvanta {

TTransEdit::TTransEdit(QWidget* parent) : QLineEdit(parent) {}

void TTransEdit::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    if (transparent) {
        opaqueFrame_ = hasFrame();
        opaqueMargins_ = textMargins();
        int frameWidth = 0;
        if (opaqueFrame_) {
            QStyleOptionFrame option;
            initStyleOption(&option);
            frameWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
        }
        // The frame gives way to margins of its width, so the text does not
        // jump when the box switches on focus.
        setFrame(false);
        setTextMargins(opaqueMargins_ + QMargins(frameWidth, frameWidth, frameWidth, frameWidth));
        clearBase_.Clear(*this);
    } else {
        clearBase_.Restore(*this);
        setFrame(opaqueFrame_);
        setTextMargins(opaqueMargins_);
    }
    update();
}

void TTransEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (!transparent_) return;
    ClearBase::PaintOutline(*this);
}

void TTransEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::PaletteChange && transparent_) clearBase_.PaletteChanged(*this);
    QLineEdit::changeEvent(event);
}

}  // namespace corvanta
