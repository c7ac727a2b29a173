#pragma once

#include <QKeyEvent>
#include <QTableWidget>
#include <functional>

namespace corvanta {

// The grid of a dialog's table. It shows the dialog its keys first (the
// view's own Ctrl+C and Ctrl+V know only the current cell, the dialogs'
// whole tables) and hands a click on only after the view has taken it, so
// that a cell the dialog makes current is not moved again by the click.
class DialogGrid : public QTableWidget {
  public:
    using QTableWidget::QTableWidget;

    std::function<void()> Clicked;
    std::function<bool(const QKeyEvent&)> KeyDown;

    // A value still in the cell editor belongs to the grid when Ok reads it.
    void CommitEditor() {
        if (QWidget* editor = indexWidget(currentIndex())) {
            commitData(editor);
            closeEditor(editor, QAbstractItemDelegate::NoHint);
        }
    }

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override {
        QTableWidget::mouseReleaseEvent(event);
        if (Clicked) Clicked();
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (KeyDown && KeyDown(*event)) {
            event->accept();
            return;
        }
        QTableWidget::keyPressEvent(event);
    }
};

}  // namespace corvanta
