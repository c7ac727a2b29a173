#pragma once

#include <QPixmap>
#include <QSize>

// The pictures of the window, painted rather than stored so that they stay
// sharp at any device-pixel ratio. Every picture is painted at size × dpr
// device pixels and carries dpr, so it is laid out at `size` logical pixels.
//
// The colours are those of the whole window: navy (0, 0, 128) for the top
// bar and the captions, light blue-grey (218, 227, 243) for light faces and
// panels, grid slate (113, 131, 164) for quiet outlines and light slate
// (170, 182, 202) for selection.
namespace corvanta {

struct ButtonFaces {
    QPixmap IdleOff, IdleOn, Down;
};

// Page: the three page buttons on the navy top bar (white or yellow caption).
// Action: push buttons on the dark page background (navy caption).
// Palette: the function buttons inside a light panel (navy caption).
enum class ButtonLook { Page, Action, Palette };

// Rounded faces on pure white (255, 255, 255), so that the button's shape is
// cut from the white corners; the face itself never holds pure white.
ButtonFaces PaintButtonFaces(QSize size, ButtonLook look, qreal dpr);

// The navy strip that carries the page buttons.
QPixmap PaintTopBar(QSize size, qreal dpr);

// The dark slate backdrop of the pages, behind white labels and white text.
QPixmap PaintPageBackground(QSize size, qreal dpr);

// A light inset panel (function palette, start panel) with a slate edge.
QPixmap PaintPanelBackground(QSize size, qreal dpr);

}  // namespace corvanta
