#include "ui/ResultGrids.h"
#include "ui/Colours.h"

#include <QPainter>
#include <cmath>

#include "engine/NumberText.h"
#include "ui/TextBridge.h"

namespace corvanta {

namespace {

const QColor kSegment(86, 130, 196);
const QColor kZeroMark(128, 128, 128);

void WriteCell(QPainter* painter, const QRect& cell, int dx, int dy, const QString& text,
               const QColor& colour) {
    painter->setPen(colour);
    painter->drawText(cell.adjusted(dx, dy, 0, 0),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

}  // namespace

void ResultsGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
    const QRect cell = option.rect;
    const bool selected = option.state & QStyle::State_Selected;
    painter->save();
    painter->setFont(option.font);
    if (selected) {
        painter->fillRect(cell, QColor(231, 237, 248));
        painter->setPen(QColor(108, 150, 213));
    } else {
        painter->fillRect(cell, index.row() % 2 == 0 ? QColor(Qt::white) : QColor(247, 247, 247));
        painter->setPen(Qt::white);
    }
    painter->drawRect(cell.adjusted(0, 0, -1, -1));
    WriteCell(painter, cell, 5, 2, index.data().toString(), selected ? kNavy : QColor(Qt::black));
    painter->restore();
}

int ContributionSegments(double percent) {
    if (!(percent > 0) || !std::isfinite(percent)) return 0;
    int segments = 0;
    while (5.0 * segments < percent)
        ++segments;
    return segments;
}

void ContributionsGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                      const QModelIndex& index) const {
    if (index.column() == 0 || index.model()->index(0, 0).data().toString().isEmpty()) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    const QRect cell = option.rect;
    const bool input = index.data(kInputRole).toBool();
    painter->save();
    painter->setFont(option.font);
    painter->fillRect(cell, input ? QColor(Qt::white) : kComputedShade);
    if (index.column() == 1) {
        WriteCell(painter, cell, 2, 2, input ? index.data().toString() + " " + UnitSuffix : "----",
                  Qt::black);
    } else if (input) {
        const QString text = index.data().toString();
        long double percent = 0;
        if (!text.isEmpty() && TryParseFloat(FromQt(text), percent)) {
            const int segments = ContributionSegments(static_cast<double>(percent));
            if (segments == 0) {
                painter->fillRect(cell.left() + 10, cell.top() + 5, 2, 7, kZeroMark);
            }
            for (int m = 0; m < segments; ++m)
                painter->fillRect(cell.left() + 10 + 6 * m, cell.top() + 5, 5, 7, kSegment);
        }
    }
    painter->restore();
}

}  // namespace corvanta
