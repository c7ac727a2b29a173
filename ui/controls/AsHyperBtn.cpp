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
    idleOff_ = picture;
    UpdateShape();
    update();
}

void TAsHyperBtn::SetBitmapIdleOn(const QPixmap& picture) {
    idleOn_ = picture;
    update();
}

void TAsHyperBtn::SetBitmapDown(const QPixmap& picture) {
    down_ = picture;
    update();
}

void TAsHyperBtn::SetBitmapOverOff(const QPixmap& picture) {
    overOff_ = picture;
    update();
}

void TAsHyperBtn::SetBitmapOverOn(const QPixmap& picture) {
    overOn_ = picture;
    update();
}

void TAsHyperBtn::SetBitmapDisabled(const QPixmap& picture) {
    disabled_ = picture;
    update();
}

void TAsHyperBtn::SetFaces(const ButtonFaces& faces) {
    idleOn_ = faces.IdleOn;
    down_ = faces.Down;
    SetBitmapIdleOff(faces.IdleOff);
}

void TAsHyperBtn::SetTransparentColor(const QColor& color) {
    transparentColor_ = color;
    UpdateShape();
    update();
}

void TAsHyperBtn::SetCaption(const QString& caption) {
    caption_ = caption;
    const QKeySequence key = QKeySequence::mnemonic(caption);
    if (key.isEmpty()) {
        delete accelerator_;
        accelerator_ = nullptr;
    } else {
        if (!accelerator_) {
            // The shortcut belongs to the button, so it is live only while the
            // button is visible and enabled in the active window.
            accelerator_ = new QShortcut(this);
            accelerator_->setAutoRepeat(false);
            connect(accelerator_, &QShortcut::activated, this, [this] {
                if (isEnabled() && isVisible()) Click();
            });
        }
        accelerator_->setKey(key);
    }
    update();
}

void TAsHyperBtn::SetCaptionColor(const QColor& color) {
    captionColor_ = color;
    update();
}

void TAsHyperBtn::SetTextStyle(TextStyle style) {
    textStyle_ = style;
    update();
}

void TAsHyperBtn::SetAutoCaptionCenter(bool center) {
    autoCaptionCenter_ = center;
    update();
}

void TAsHyperBtn::SetCaptionXMoved(int dx) {
    captionXMoved_ = dx;
    update();
}

void TAsHyperBtn::SetCaptionYMoved(int dy) {
    captionYMoved_ = dy;
    update();
}

void TAsHyperBtn::SetButtonOn(bool on) {
    buttonOn_ = on;
    update();
}

QPixmap TAsHyperBtn::CurrentFace() const {
    QPixmap face;
    if (!isEnabled())
        face = disabled_;
    else if (IsDown())
        face = down_;
    else if (over_)
        face = buttonOn_ ? overOn_ : overOff_;
    else
        face = buttonOn_ ? idleOn_ : idleOff_;
    if (face.isNull()) face = (buttonOn_ && !idleOn_.isNull()) ? idleOn_ : idleOff_;
    return face;
}

void TAsHyperBtn::Click() {
    // A handler may delete the button (closing its window, rebuilding a page).
    QPointer<TAsHyperBtn> alive(this);
    if (autochange_) {
        buttonOn_ = !buttonOn_;
        update();
    }
    if (buttonOn_)
        emit OnButtonOn();
    else
        emit OnButtonOff();
    if (alive) emit OnClick();
}

QSize TAsHyperBtn::sizeHint() const {
    return idleOff_.isNull() ? kDefaultSize : LogicalSize(idleOff_);
}

void TAsHyperBtn::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap face = CurrentFace();
    if (!face.isNull()) painter.drawPixmap(0, 0, face);
    if (caption_.isEmpty()) return;

    const QRect area = rect().translated(captionXMoved_, captionYMoved_);
    // No mnemonic flag: an ampersand is drawn as it is written.
    const int flags = Qt::TextSingleLine | (autoCaptionCenter_ ? int(Qt::AlignCenter)
                                                               : int(Qt::AlignLeft | Qt::AlignTop));
    if (textStyle_ != TextStyle::tsNone) {
        const QPoint offset = textStyle_ == TextStyle::tsRaised ? QPoint(-1, -1) : QPoint(1, 1);
        painter.setPen(palette().color(QPalette::Light));
        painter.drawText(area.translated(offset), flags, caption_);
    }
    painter.setPen(isEnabled() ? captionColor_
                               : palette().color(QPalette::Disabled, QPalette::Text));
    painter.drawText(area, flags, caption_);
}

void TAsHyperBtn::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    held_ = true;
    over_ = HitTest(event->position().toPoint());
    update();
}

void TAsHyperBtn::mouseMoveEvent(QMouseEvent* event) {
    if (held_) SetOver(HitTest(event->position().toPoint()));
}

void TAsHyperBtn::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !held_) {
        event->ignore();
        return;
    }
    held_ = false;
    const bool over = HitTest(event->position().toPoint());
    over_ = over;
    update();
    if (over) Click();
}

void TAsHyperBtn::enterEvent(QEnterEvent*) {
    SetOver(true);
}

void TAsHyperBtn::leaveEvent(QEvent*) {
    // While held, the moves decide whether the pointer is inside.
    if (!held_) SetOver(false);
}

void TAsHyperBtn::changeEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::EnabledChange:
            if (!isEnabled()) held_ = false;
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
    held_ = false;
    over_ = false;
    QWidget::hideEvent(event);
}

void TAsHyperBtn::UpdateShape() {
    shape_ = ShapeOf(idleOff_, transparentColor_);
    // An empty shape means no mask at all: a picture that is all cut-out
    // colour leaves the button whole rather than unreachable.
    if (shape_.isEmpty())
        clearMask();
    else
        setMask(shape_);
}

bool TAsHyperBtn::HitTest(const QPoint& pos) const {
    return rect().contains(pos) && (shape_.isEmpty() || shape_.contains(pos));
}

void TAsHyperBtn::SetOver(bool over) {
    if (over == over_) return;
    over_ = over;
    update();
}

}  // namespace corvanta
