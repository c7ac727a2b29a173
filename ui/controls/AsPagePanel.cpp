#include "ui/controls/AsPagePanel.h"

#include <QApplication>

namespace corvanta {

TAsPagePanel::TAsPagePanel(QWidget* parent) : QStackedWidget(parent) {
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { FocusChanged(now); });
}

void TAsPagePanel::SetActivePageIndex(int index) {
    if (index >= 0 && index < count()) setCurrentIndex(index);
}

void TAsPagePanel::FocusChanged(QWidget* now) {
    // The window keeps its own focus control while another window is
    // active, so focus elsewhere says nothing about this panel.
    if (!now || now->window() != window()) return;
    const bool inside = now == this || isAncestorOf(now);
    if (inside == focusInside_) return;
    focusInside_ = inside;
    if (inside)
        emit OnEnter();
    else
        emit OnExit();
}

}  // namespace corvanta
