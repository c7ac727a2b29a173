#pragma once

#include <QBrush>
#include <QPalette>

class QWidget;

namespace corvanta {

// The see-through state shared by the transparent boxes: their Base brushes
// kept while the box is drawn clear and given back when it turns opaque, and
// the quiet outline that marks the clear box's place.
class ClearBase {
  public:
    // Keeps the widget's Base brushes and makes them transparent.
    void Clear(QWidget& widget);
    // Gives the kept brushes back.
    void Restore(QWidget& widget);
    // For a palette change while clear: a palette set by the window brings
    // an opaque base; it is kept for later and the box stays clear.
    void PaletteChanged(QWidget& widget);
    // A faint one-pixel outline in the text colour: enough to find the box
    // on a busy picture, too weak to read as a frame.
    static void PaintOutline(QWidget& widget);

  private:
    void Keep(const QPalette& palette);
    void Set(QWidget& widget, const QPalette& palette);

    bool setting_ = false;
    QBrush base_[QPalette::NColorGroups];
};

}  // namespace corvanta
