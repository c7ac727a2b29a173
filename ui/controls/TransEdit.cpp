#include "ui/controls/TransEdit.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

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

TTransEdit::TTransEdit(QWidget* parent) : QLineEdit(parent) {}

void TTransEdit::SetTransparent(bool transparent) {
    if (transparent == transparent_) return;
    transparent_ = transparent;
    if (transparent) {
        for (QPalette::ColorGroup group : kGroups)
            opaqueBase_[group] = palette().brush(group, QPalette::Base);
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
        MakeBaseClear();
    } else {
        QPalette opaque = palette();
        for (QPalette::ColorGroup group : kGroups)
            opaque.setBrush(group, QPalette::Base, opaqueBase_[group]);
        settingPalette_ = true;
        setPalette(opaque);
        settingPalette_ = false;
        setFrame(opaqueFrame_);
        setTextMargins(opaqueMargins_);
    }
    update();
}

void TTransEdit::MakeBaseClear() {
    QPalette clear = palette();
    clear.setBrush(QPalette::All, QPalette::Base, Qt::transparent);
    settingPalette_ = true;
    setPalette(clear);
    settingPalette_ = false;
}

void TTransEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (!transparent_) return;
    QPainter painter(this);
    painter.setPen(QuietLine(palette()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TTransEdit::changeEvent(QEvent* event) {
    // A palette set by the window while the box is clear brings an opaque
    // base; keep it for later and stay clear.
    if (event->type() == QEvent::PaletteChange && transparent_ && !settingPalette_ &&
        palette().brush(QPalette::Base).color().alpha() != 0) {
        for (QPalette::ColorGroup group : kGroups)
            opaqueBase_[group] = palette().brush(group, QPalette::Base);
        MakeBaseClear();
    }
    QLineEdit::changeEvent(event);
}

}  // namespace corvanta
