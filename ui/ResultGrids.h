#pragma once

#include <QStyledItemDelegate>

namespace corvanta {

// Item data of a contributions grid cell: true on the rows of input
// quantities (the others show "----" and a shaded cell).
inline constexpr int kInputRole = Qt::UserRole + 1;

// The results grid's cells: the selected row light blue with a blue outline
// and navy text, the others striped white and light grey; text 5 pixels in
// and 2 down.
class ResultsGridDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The contributions grid's cells: the width followed by the output's unit,
// and the relative contribution as a bar of one segment per started 5 %.
class ContributionsGridDelegate : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void SetUnitSuffix(const QString& suffix) { UnitSuffix = suffix; }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    QString UnitSuffix;  // " " + the output's unit
};

// The number of bar segments of a relative contribution in percent: one per
// started 5 %, none (a zero mark instead) for 0 or less.
int ContributionSegments(double percent);

}  // namespace corvanta
