#pragma once

#include <QColor>

// The colours the window's pages, tables and menus share.
namespace corvanta {

inline const QColor kNavy(0, 0, 128);
inline const QColor kWhite(255, 255, 255);
inline const QColor kYellow(255, 255, 0);
inline const QColor kSilver(192, 192, 192);
// The light blue of a selected table row and a highlighted menu item.
inline const QColor kSelectionBlue(218, 227, 243);
// The shade of cells that hold no input: intermediate and output quantities.
inline const QColor kComputedShade(239, 237, 226);

}  // namespace corvanta
