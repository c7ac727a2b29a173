#pragma once

#include <QColor>
#include <QFrame>
#include <initializer_list>

class QTableWidget;
class QWidget;

// Pieces the Simulation page's panels are built from.
namespace corvanta {

// A panel filled with one colour.
QFrame* NewPanel(QWidget* parent, const char* name, const QColor& fill,
                 QFrame::Shape shape = QFrame::NoFrame);

// A grid without headers or editing, whole rows selected, every cell made.
QTableWidget* NewResultGrid(QWidget* parent, const char* name, int rows,
                            std::initializer_list<int> widths);

void SetForeground(QWidget* widget, const QColor& colour);

}  // namespace corvanta
