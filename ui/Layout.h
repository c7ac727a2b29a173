#pragma once

#include <QRect>
#include <QWidget>

// Where every control of the main window stands: one table, by object name,
// in pixels within the control's parent.
namespace corvanta {

struct ControlPlace {
    const char* Name;
    int X, Y;
    int Width, Height;  // 0: the control's own size for its text
};

// The place of a control, or nullptr for one the table does not hold.
const ControlPlace* FindControlPlace(const QString& name);

// Moves and sizes every named descendant of root that the table holds.
void PlaceControls(QWidget* root);

// The main window's client area and where its pages start. The Simulation
// page's run choices take a row of their own below the interval's kind.
inline constexpr int kClientWidth = 425;
inline constexpr int kClientHeight = 522;
inline constexpr QRect kPageSheet{4, 38, 418, 480};

}  // namespace corvanta
