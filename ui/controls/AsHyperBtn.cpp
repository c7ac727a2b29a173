#include "ui/controls/AsHyperBtn.h"

#include <QEnterEvent>
#include <QImage>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QShortcut>
#include <algorithm>
#include <cmath>

namespace corvanta {
namespace {

constexpr QSize kDefaultSize(82, 26);

// The device pixels [first, last) that make up one logical pixel. The same
// rounding as the painted pictures, so that at any ratio a logical pixel of a
// face is judged by exactly the device pixels painted for it.
std::pair<int, int> DeviceSpan(int logical, qreal dpr, int limit) {
    const int first = std::min(qRound(logical * dpr), limit);
    const int last = std::min(std::max(first + 1, qRound((logical + 1) * dpr)), limit);
    return {first, last};
}

QSize LogicalSize(const QPixmap& picture) {
    const QSizeF size = picture.deviceIndependentSize();
    // Guards against a device size that is not a whole multiple of the ratio.
    return QSize(static_cast<int>(std::ceil(size.width() - 1e-6)),
                 static_cast<int>(std::ceil(size.height() - 1e-6)));
}

// Logical pixels that belong to the button: those with at least one device
// pixel neither of the cut-out colour nor fully transparent. Built as runs
// along each row.
QRegion ShapeOf(const QPixmap& picture, const QColor& cutOut) {
    if (picture.isNull()) return {};
    const QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
    const qreal dpr = picture.devicePixelRatio();
    const QSize size = LogicalSize(picture);
    const QRgb cutRgb = cutOut.rgb() & RGB_MASK;

    auto belongs = [&](int x, int y) {
        const auto [left, right] = DeviceSpan(x, dpr, image.width());
        const auto [top, bottom] = DeviceSpan(y, dpr, image.height());
        for (int row = top; row < bottom; ++row) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(row));
            for (int column = left; column < right; ++column) {
                const QRgb pixel = line[column];
                if (qAlpha(pixel) != 0 && (pixel & RGB_MASK) != cutRgb) return true;
            }
        }
        return false;
    };

    QRegion shape;
    for (int y = 0; y < size.height(); ++y) {
        int x = 0;
        while (x < size.width()) {
            while (x < size.width() && !belongs(x, y))
                ++x;
            const int start = x;
            while (x < size.width() && belongs(x, y))
                ++x;
            if (x > start) shape += QRect(start, y, x - start, 1);
        }
    }
    return shape;
}

}  // namespace

TAsHyperBtn::TAsHyperBtn(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::NoFocus);
    resize(kDefaultSize);
}

void TAsHyperBtn::SetBitmapIdleOff(const QPixmap& picture) {
    m_idleOff = picture;
    UpdateShape();
    update();
}

void TAsHyperBtn::SetBitmapIdleOn(const QPixmap& picture) {
    m_idleOn = picture;
    update();
}

void TAsHyperBtn::SetBitmapDown(const QPixmap& picture) {
    m_down = picture;
    update();
}

void TAsHyperBtn::SetBitmapOverOff(const QPixmap& picture) {
    m_overOff = picture;
    update();
}

void TAsHyperBtn::SetBitmapOverOn(const QPixmap& picture) {
    m_overOn = picture;
    update();
}

void TAsHyperBtn::SetBitmapDisabled(const QPixmap& picture) {
    m_disabled = picture;
    update();
}

void TAsHyperBtn::SetFaces(const ButtonFaces& faces) {
    m_idleOn = faces.IdleOn;
    m_down = faces.Down;
    SetBitmapIdleOff(faces.IdleOff);
}

void TAsHyperBtn::SetTransparentColor(const QColor& color) {
    m_transparentColor = color;
    UpdateShape();
    update();
}

void TAsHyperBtn::SetCaption(const QString& caption) {
    m_caption = caption;
    const QKeySequence key = QKeySequence::mnemonic(caption);
    if (key.isEmpty()) {
        delete m_accelerator;
        m_accelerator = nullptr;
    } else {
        if (!m_accelerator) {
            // The shortcut belongs to the button, so it is live only while the
            // button is visible and enabled in the active window.
            m_accelerator = new QShortcut(this);
            m_accelerator->setAutoRepeat(false);
            connect(m_accelerator, &QShortcut::activated, this, [this] {
                if (isEnabled() && isVisible()) Click();
            });
        }
        m_accelerator->setKey(key);
    }
    update();
}

void TAsHyperBtn::SetCaptionColor(const QColor& color) {
    m_captionColor = color;
    update();
}

void TAsHyperBtn::SetTextStyle(TextStyle style) {
    m_textStyle = style;
    update();
}

void TAsHyperBtn::SetAutoCaptionCenter(bool center) {
    m_autoCaptionCenter = center;
    update();
}

void TAsHyperBtn::SetCaptionXMoved(int dx) {
    m_captionXMoved = dx;
    update();
}

void TAsHyperBtn::SetCaptionYMoved(int dy) {
    m_captionYMoved = dy;
    update();
}

void TAsHyperBtn::SetButtonOn(bool on) {
    m_buttonOn = on;
    update();
}

QPixmap TAsHyperBtn::CurrentFace() const {
    QPixmap face;
    if (!isEnabled())
        face = m_disabled;
    else if (IsDown())
        face = m_down;
    else if (m_over)
        face = m_buttonOn ? m_overOn : m_overOff;
    else
        face = m_buttonOn ? m_idleOn : m_idleOff;
    if (face.isNull()) face = (m_buttonOn && !m_idleOn.isNull()) ? m_idleOn : m_idleOff;
    return face;
}

void TAsHyperBtn::Click() {
    // A handler may delete the button (closing its window, rebuilding a page).
    QPointer<TAsHyperBtn> alive(this);
    if (m_autochange) {
        m_buttonOn = !m_buttonOn;
        update();
    }
    if (m_buttonOn)
        emit OnButtonOn();
    else
        emit OnButtonOff();
    if (alive) emit OnClick();
}

QSize TAsHyperBtn::sizeHint() const {
    return m_idleOff.isNull() ? kDefaultSize : LogicalSize(m_idleOff);
}

void TAsHyperBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap face = CurrentFace();
    if (!face.isNull()) painter.drawPixmap(0, 0, face);
    if (m_caption.isEmpty()) return;

    const QRect area = rect().translated(m_captionXMoved, m_captionYMoved);
    // No mnemonic flag: an ampersand is drawn as it is written.
    const int flags =
        Qt::TextSingleLine |
        (m_autoCaptionCenter ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignTop));
    if (m_textStyle != TextStyle::tsNone) {
        const QPoint offset = m_textStyle == TextStyle::tsRaised ? QPoint(-1, -1) : QPoint(1, 1);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(area.translated(offset), flags, m_caption);
    }
    painter.setPen(isEnabled() ? m_captionColor
                               : palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(area, flags, m_caption);
}

void TAsHyperBtn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_held = true;
    m_over = HitTest(event->position().toPoint());
    update();
}

void TAsHyperBtn::mouseMoveEvent(QMouseEvent* event) {
    if (m_held) SetOver(HitTest(event->position().toPoint()));
}

void TAsHyperBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_held) {
        event->ignore();
        return;
    }
    m_held = false;
    const bool over = HitTest(event->position().toPoint());
    m_over = over;
    update();
    if (over) Click();
}

void TAsHyperBtn::enterEvent(QEnterEvent*) {
    SetOver(true);
}

void TAsHyperBtn::leaveEvent(QEvent*) {
    // While held, the moves decide whether the pointer is inside.
    if (!m_held) SetOver(false);
}

void TAsHyperBtn::changeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::EnabledChange:
            if (!isEnabled()) m_held = false;
            update();
            break;
        case QEvent::FontChange:
        case QEvent::PaletteChange:
            update();
            break;
        default:
            break;
    }
    QWidget::changeEvent(event);
}

void TAsHyperBtn::hideEvent(QHideEvent* event) {
    // A hidden button gets no release and no leave; it must not come back
    // drawn pressed or hovered.
    m_held = false;
    m_over = false;
    QWidget::hideEvent(event);
}

void TAsHyperBtn::UpdateShape() {
    m_shape = ShapeOf(m_idleOff, m_transparentColor);
    // An empty shape means no mask at all: a picture that is all cut-out
    // colour leaves the button whole rather than unreachable.
    if (m_shape.isEmpty())
        clearMask();
    else
        setMask(m_shape);
}

bool TAsHyperBtn::HitTest(const QPoint& pos) const {
    return rect().contains(pos) && (m_shape.isEmpty() || m_shape.contains(pos));
}

void TAsHyperBtn::SetOver(bool over) {
    if (over == m_over) return;
    m_over = over;
    update();
}

}  // namespace corvanta
