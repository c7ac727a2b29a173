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
    if (transparent == m_transparent) return;
    m_transparent = transparent;
    if (transparent) {
        for (QPalette::ColorGroup group : kGroups)
            m_opaqueBase[group] = palette().brush(group, QPalette::Base);
        m_opaqueFrame = hasFrame();
        m_opaqueMargins = textMargins();
        int frameWidth = 0;
        if (m_opaqueFrame) {
            QStyleOptionFrame option;
            initStyleOption(&option);
            frameWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
        }
        // The frame gives way to margins of its width, so the text does not
        // jump when the box switches on focus.
        setFrame(false);
        setTextMargins(m_opaqueMargins + QMargins(frameWidth, frameWidth, frameWidth, frameWidth));
        MakeBaseClear();
    } else {
        QPalette opaque = palette();
        for (QPalette::ColorGroup group : kGroups)
            opaque.setBrush(group, QPalette::Base, m_opaqueBase[group]);
        m_settingPalette = true;
        setPalette(opaque);
        m_settingPalette = false;
        setFrame(m_opaqueFrame);
        setTextMargins(m_opaqueMargins);
    }
    update();
}

void TTransEdit::MakeBaseClear() {
    QPalette clear = palette();
    clear.setBrush(QPalette::All, QPalette::Base, Qt::transparent);
    m_settingPalette = true;
    setPalette(clear);
    m_settingPalette = false;
}

void TTransEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (!m_transparent) return;
    QPainter painter(this);
    painter.setPen(QuietLine(palette()));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TTransEdit::changeEvent(QEvent* event) {
    // A palette set by the window while the box is clear brings an opaque
    // base; keep it for later and stay clear.
    if (event->type() == QEvent::PaletteChange && m_transparent && !m_settingPalette &&
        palette().brush(QPalette::Base).color().alpha() != 0) {
        for (QPalette::ColorGroup group : kGroups)
            m_opaqueBase[group] = palette().brush(group, QPalette::Base);
        MakeBaseClear();
    }
    QLineEdit::changeEvent(event);
}

}  // namespace corvanta
