#include "ui/controls/Pictures.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QRegion>
#include <algorithm>
#include <cmath>

namespace corvanta {
namespace {

const QColor kNavy(0, 0, 128);
const QColor kBlueGrey(218, 227, 243);
const QColor kGridSlate(113, 131, 164);
const QColor kLightSlate(170, 182, 202);

// Logical edges map to device edges by one rounding rule, so neighbouring
// cells tile the picture without gaps or overlaps at any ratio.
int DeviceEdge(int logical, qreal dpr) {
    return qRound(logical * dpr);
}

QImage DeviceImage(QSize size, qreal dpr) {
    QImage image(DeviceEdge(size.width(), dpr), DeviceEdge(size.height(), dpr),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

QPixmap Finish(QImage& image, qreal dpr) {
    image.setDevicePixelRatio(dpr);
    return QPixmap::fromImage(image);
}

// The logical cells whose centres lie inside a rectangle with rounded
// corners, in device pixels. Whole logical cells keep the face and the
// button's shape (cut per logical pixel) in step: no half-painted cell at
// the corners shows a light fringe against a dark background.
QRegion RoundedCells(const QRect& area, int radius, qreal dpr) {
    QRegion region;
    const int height = area.height();
    for (int row = 0; row < height; ++row) {
        qreal dy = 0;
        if (row < radius)
            dy = radius - (row + 0.5);
        else if (row >= height - radius)
            dy = (row + 0.5) - (height - radius);
        int cut = 0;
        if (dy > 0) {
            const qreal dx = std::sqrt(std::max<qreal>(0, radius * radius - dy * dy));
            cut = std::max(0, static_cast<int>(std::ceil(radius - dx - 0.5)));
        }
        const int left = area.left() + cut;
        const int right = area.left() + area.width() - cut;
        const int top = area.top() + row;
        if (right <= left) continue;
        const int deviceLeft = DeviceEdge(left, dpr);
        const int deviceTop = DeviceEdge(top, dpr);
        region += QRect(deviceLeft, deviceTop, DeviceEdge(right, dpr) - deviceLeft,
                        DeviceEdge(top + 1, dpr) - deviceTop);
    }
    return region;
}

// A pressed face has its shade along the top and no light line.
struct FaceColours {
    QColor Outline, Top, Bottom, Light, Shade;
    bool Pressed = false;
};

QPixmap PaintFace(QSize size, qreal dpr, const FaceColours& colours) {
    QImage image = DeviceImage(size, dpr);
    const int width = size.width();
    const int height = size.height();
    const int radius = std::min(4, std::min(width, height) / 4);

    QPainter painter(&image);
    painter.setClipRegion(RoundedCells(QRect(QPoint(), size), radius, dpr));
    painter.fillRect(image.rect(), colours.Outline);
    if (width > 2 && height > 2) {
        painter.setClipRegion(
            RoundedCells(QRect(1, 1, width - 2, height - 2), std::max(0, radius - 1), dpr));
        painter.scale(dpr, dpr);
        QLinearGradient fill(0, 1, 0, height - 1);
        fill.setColorAt(0, colours.Top);
        fill.setColorAt(1, colours.Bottom);
        painter.fillRect(QRectF(0, 0, width, height), fill);

        // Bevel lines one device pixel thick: fine at high ratios, a plain
        // pixel line at ratio 1.
        const qreal hair = 1.0 / dpr;
        const QRectF topLine(1, 1, width - 2, hair);
        const QRectF bottomLine(1, height - 1 - hair, width - 2, hair);
        if (colours.Pressed) {
            painter.fillRect(topLine, colours.Shade);
            painter.fillRect(topLine.translated(0, hair), colours.Shade.lighter(112));
        } else {
            painter.fillRect(topLine, colours.Light);
            painter.fillRect(bottomLine, colours.Shade);
        }
    }
    painter.end();
    return Finish(image, dpr);
}

// Off, on, down for each look. No colour here is pure white, so the only
// white in a face is the cut-out outside its corners.
struct LookColours {
    FaceColours Off, On, Down;
};

LookColours ColoursOf(ButtonLook look) {
    switch (look) {
        case ButtonLook::Page:
            // Dark enough for a white caption (off) and a yellow one (on);
            // the light slate rim marks the page in view.
            return {{QColor(8, 12, 72), QColor(72, 86, 142), QColor(36, 48, 104),
                     QColor(108, 122, 172), QColor(26, 36, 88)},
                    {kLightSlate, QColor(46, 72, 152), QColor(18, 34, 110), QColor(96, 122, 196),
                     QColor(14, 26, 92)},
                    {QColor(8, 12, 72), QColor(22, 32, 84), QColor(46, 60, 118), QColor(),
                     QColor(10, 16, 60), true}};
        case ButtonLook::Action:
            // Light faces on the dark page; the on face is a step deeper with
            // a navy rim, the down face darkest with its shade on top.
            return {{QColor(30, 40, 78), QColor(244, 246, 251), QColor(204, 213, 231),
                     QColor(251, 252, 254), QColor(184, 195, 217)},
                    {kNavy, QColor(228, 235, 247), kLightSlate, QColor(242, 246, 252),
                     QColor(150, 164, 192)},
                    {QColor(30, 40, 78), kLightSlate, QColor(206, 215, 232), QColor(),
                     QColor(128, 143, 174), true}};
        case ButtonLook::Palette:
            // Inside the light panel the face must stand out from the panel's
            // blue-grey, so it is lighter and ringed in grid slate.
            return {
                {kGridSlate, QColor(249, 250, 253), QColor(226, 233, 245), QColor(253, 253, 254),
                 QColor(206, 215, 232)},
                {kNavy, QColor(234, 239, 249), QColor(196, 208, 230), QColor(246, 248, 252),
                 QColor(176, 189, 214)},
                {kNavy, QColor(184, 197, 222), kBlueGrey, QColor(), QColor(150, 165, 196), true}};
    }
    return {};
}

}  // namespace

ButtonFaces PaintButtonFaces(QSize size, ButtonLook look, qreal dpr) {
    const LookColours colours = ColoursOf(look);
    return {PaintFace(size, dpr, colours.Off), PaintFace(size, dpr, colours.On),
            PaintFace(size, dpr, colours.Down)};
}

QPixmap PaintTopBar(QSize size, qreal dpr) {
    QImage image = DeviceImage(size, dpr);
    QPainter painter(&image);
    painter.scale(dpr, dpr);
    const QRectF area(QPointF(), size);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(30, 42, 124));
    fill.setColorAt(0.55, kNavy);
    fill.setColorAt(1, QColor(0, 0, 96));
    painter.fillRect(area, fill);
    const qreal hair = 1.0 / dpr;
    painter.fillRect(QRectF(0, 0, size.width(), hair), QColor(78, 92, 162));
    painter.fillRect(QRectF(0, size.height() - hair, size.width(), hair), QColor(0, 0, 56));
    painter.end();
    return Finish(image, dpr);
}

QPixmap PaintPageBackground(QSize size, qreal dpr) {
    QImage image = DeviceImage(size, dpr);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(dpr, dpr);
    const QRectF area(QPointF(), size);
    QLinearGradient fill(0, 0, 0, size.height());
    fill.setColorAt(0, QColor(82, 100, 140));
    fill.setColorAt(1, QColor(52, 68, 110));
    painter.fillRect(area, fill);

    // A soft light from the upper left keeps the large plane from looking
    // flat without drawing the eye away from the text on it.
    QRadialGradient light(size.width() * 0.25, size.height() * 0.05, size.width() * 0.9);
    light.setColorAt(0, QColor(255, 255, 255, 20));
    light.setColorAt(1, QColor(255, 255, 255, 0));
    painter.fillRect(area, light);

    // Faint diagonal hatching, too weak to compete with white text.
    painter.setPen(QPen(QColor(255, 255, 255, 5), 1.0 / dpr));
    const int span = size.width() + size.height();
    for (int x = -size.height(); x < span; x += 6)
        painter.drawLine(QPointF(x, size.height()), QPointF(x + size.height(), 0));
    painter.end();
    return Finish(image, dpr);
}

QPixmap PaintPanelBackground(QSize size, qreal dpr) {
    QImage image = DeviceImage(size, dpr);
    QPainter painter(&image);
    painter.scale(dpr, dpr);
    const int width = size.width();
    const int height = size.height();
    painter.fillRect(QRectF(0, 0, width, height), kGridSlate);
    if (width > 2 && height > 2) {
        QLinearGradient fill(0, 1, 0, height - 1);
        fill.setColorAt(0, QColor(228, 235, 247));
        fill.setColorAt(1, kBlueGrey);
        painter.fillRect(QRectF(1, 1, width - 2, height - 2), fill);
        // Inset: shade along the top and left inner edges.
        const qreal hair = 1.0 / dpr;
        const QColor shade(192, 203, 224);
        painter.fillRect(QRectF(1, 1, width - 2, hair), shade);
        painter.fillRect(QRectF(1, 1, hair, height - 2), shade);
    }
    painter.end();
    return Finish(image, dpr);
}

}  // namespace corvanta
