#include "ui/controls/AsPanel.h"

#include <QCoreApplication>
#include <QPainter>
#include <QRegion>
#include <QThread>
#include <algorithm>

namespace corvanta {
namespace {

constexpr unsigned long kFrameMilliseconds = 10;

// A hollow frame `width` pixels thick just inside a rectangle of `size`.
QRegion Outline(QSize size, int width) {
    const QRegion outer(QRect(QPoint(), size));
    const QRect inner(width, width, size.width() - 2 * width, size.height() - 2 * width);
    return inner.isEmpty() ? outer : outer.subtracted(QRegion(inner));
}

}  // namespace

TAsPanel::TAsPanel(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    resize(200, 100);
}

void TAsPanel::setVisible(bool visible) {
    // A call made while frames run (from the events they let through) takes
    // effect plainly; nesting a second effect would fight over the geometry.
    if (animating_ || stepsCount_ <= 0) {
        QFrame::setVisible(visible);
        return;
    }
    const QRect own = geometry();
    const QRegion ownMask = mask();
    if (visible && effectOnShow_ && !isVisible() &&
        (isWindow() || (parentWidget() && parentWidget()->isVisible()))) {
        animating_ = true;
        QFrame::setVisible(true);
        RunFrames(own, stepsCount_, 0);
    } else if (!visible && effectOnHide_ && isVisible()) {
        animating_ = true;
        RunFrames(own, 0, stepsCount_);
        QFrame::setVisible(false);
    } else {
        QFrame::setVisible(visible);
        return;
    }
    setGeometry(own);
    if (ownMask.isEmpty())
        clearMask();
    else
        setMask(ownMask);
    animating_ = false;
    update();
}

void TAsPanel::paintEvent(QPaintEvent* event) {
    if (animating_) {
        // The mask leaves only the outline of this fill; the bevels wait.
        QPainter painter(this);
        painter.fillRect(rect(), lineColor_);
        return;
    }
    QFrame::paintEvent(event);
}

void TAsPanel::RunFrames(const QRect& own, int first, int last) {
    const int direction = first <= last ? 1 : -1;
    const int thickness = std::max(1, lineWidth_);
    for (int step = first;; step += direction) {
        const QRect bounds = FrameRect(own, step);
        setGeometry(bounds);
        setMask(Outline(bounds.size(), thickness));
        emit AnimationFrame(step, bounds);
        repaint();
        // Let the parent redraw what the previous frame uncovered; user input
        // waits, so nothing acts on a half-shown panel.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(kFrameMilliseconds);
        if (step == last) break;
    }
}

QRect TAsPanel::FrameRect(const QRect& own, int step) const {
    // Integer division truncates toward zero: step × (own − From) / StepsCount
    // cut to whole pixels, exact at both ends.
    auto at = [&](int ownValue, int fromValue) {
        return ownValue - step * (ownValue - fromValue) / stepsCount_;
    };
    return QRect(at(own.left(), from_.left()), at(own.top(), from_.top()),
                 at(own.width(), from_.width()), at(own.height(), from_.height()));
}

}  // namespace corvanta
