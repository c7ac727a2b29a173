#include "ui/controls/ClearBase.h"

#include <QPainter>
#include <QWidget>

namespace corvanta {

namespace {

constexpr QPalette::ColorGroup kGroups[] = {QPalette::Active, QPalette::Inactive,
                                            QPalette::Disabled};

}  // namespace

void ClearBase::Keep(const QPalette& palette) {
    for (QPalette::ColorGroup group : kGroups)
        base_[group] = palette.brush(group, QPalette::Base);
}

void ClearBase::Set(QWidget& widget, const QPalette& palette) {
    setting_ = true;
    widget.setPalette(palette);
    setting_ = false;
}

void ClearBase::Clear(QWidget& widget) {
    Keep(widget.palette());
    QPalette clear = widget.palette();
    clear.setBrush(QPalette::All, QPalette::Base, Qt::transparent);
    Set(widget, clear);
}

void ClearBase::Restore(QWidget& widget) {
    QPalette opaque = widget.palette();
    for (QPalette::ColorGroup group : kGroups)
        opaque.setBrush(group, QPalette::Base, base_[group]);
    Set(widget, opaque);
}

void ClearBase::PaletteChanged(QWidget& widget) {
    if (setting_ || widget.palette().brush(QPalette::Base).color().alpha() == 0) return;
    Clear(widget);
}

void ClearBase::PaintOutline(QWidget& widget) {
    QPainter painter(&widget);
    QColor line = widget.palette().color(QPalette::Text);
    line.setAlpha(70);
    painter.setPen(line);
    painter.drawRect(widget.rect().adjusted(0, 0, -1, -1));
}

}  // namespace corvanta
