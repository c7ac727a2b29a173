#pragma once

#include <QColor>
#include <QFrame>
#include <QRect>

namespace corvanta {

// A raised panel that grows out of a small rectangle when shown and may
// shrink back into it when hidden: a hollow outline is drawn at a series of
// rectangles between the two before the panel shows whole. The effect runs
// inside setVisible, so show() returns with the panel in place.
class TAsPanel : public QFrame {
    Q_OBJECT

  public:
    explicit TAsPanel(QWidget* parent = nullptr);

    // The rectangle the effect starts from (show) or ends at (hide), in the
    // parent's coordinates.
    void SetFromLeft(int left) { from_.moveLeft(left); }
    int FromLeft() const { return from_.left(); }
    void SetFromTop(int top) { from_.moveTop(top); }
    int FromTop() const { return from_.top(); }
    void SetFromWidth(int width) { from_.setWidth(width); }
    int FromWidth() const { return from_.width(); }
    void SetFromHeight(int height) { from_.setHeight(height); }
    int FromHeight() const { return from_.height(); }
    QRect FromRect() const { return from_; }

    // Steps between the two rectangles; the effect draws StepsCount + 1
    // frames. Zero or less: no effect.
    void SetStepsCount(int steps) { stepsCount_ = steps; }
    int StepsCount() const { return stepsCount_; }
    // Kept with the layout; each frame waits a fixed 10 ms.
    void SetTime(int time) { time_ = time; }
    int Time() const { return time_; }
    void SetEffectOnShow(bool on) { effectOnShow_ = on; }
    bool EffectOnShow() const { return effectOnShow_; }
    void SetEffectOnHide(bool on) { effectOnHide_ = on; }
    bool EffectOnHide() const { return effectOnHide_; }
    // The outline of the frames. Not QFrame's lineWidth(), which is the
    // panel's bevel.
    void SetLineColor(const QColor& color) { lineColor_ = color; }
    QColor LineColor() const { return lineColor_; }
    void SetLineWidth(int width) { lineWidth_ = width; }
    int LineWidth() const { return lineWidth_; }

    bool IsAnimating() const { return animating_; }

    void setVisible(bool visible) override;

  signals:
    // One per frame, after the panel is placed and before it is drawn;
    // `bounds` in the parent's coordinates.
    void AnimationFrame(int step, const QRect& bounds);

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Frames from step `first` to step `last` (StepsCount is the From
    // rectangle, 0 the panel's own bounds).
    void RunFrames(const QRect& own, int first, int last);
    QRect FrameRect(const QRect& own, int step) const;

    QRect from_;
    int stepsCount_ = 10;
    int time_ = 0;
    bool effectOnShow_ = true;
    bool effectOnHide_ = true;
    QColor lineColor_ = Qt::black;
    int lineWidth_ = 1;
    bool animating_ = false;
};

}  // namespace corvanta
