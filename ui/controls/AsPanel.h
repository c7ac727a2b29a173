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
    void SetFromLeft(int left) { m_from.moveLeft(left); }
    int FromLeft() const { return m_from.left(); }
    void SetFromTop(int top) { m_from.moveTop(top); }
    int FromTop() const { return m_from.top(); }
    void SetFromWidth(int width) { m_from.setWidth(width); }
    int FromWidth() const { return m_from.width(); }
    void SetFromHeight(int height) { m_from.setHeight(height); }
    int FromHeight() const { return m_from.height(); }
    QRect FromRect() const { return m_from; }

    // Steps between the two rectangles; the effect draws StepsCount + 1
    // frames. Zero or less: no effect.
    void SetStepsCount(int steps) { m_stepsCount = steps; }
    int StepsCount() const { return m_stepsCount; }
    // Kept with the layout; each frame waits a fixed 10 ms.
    void SetTime(int time) { m_time = time; }
    int Time() const { return m_time; }
    void SetEffectOnShow(bool on) { m_effectOnShow = on; }
    bool EffectOnShow() const { return m_effectOnShow; }
    void SetEffectOnHide(bool on) { m_effectOnHide = on; }
    bool EffectOnHide() const { return m_effectOnHide; }
    // The outline of the frames. Not QFrame's lineWidth(), which is the
    // panel's bevel.
    void SetLineColor(const QColor& color) { m_lineColor = color; }
    QColor LineColor() const { return m_lineColor; }
    void SetLineWidth(int width) { m_lineWidth = width; }
    int LineWidth() const { return m_lineWidth; }

    bool IsAnimating() const { return m_animating; }

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

    QRect m_from;
    int m_stepsCount = 10;
    int m_time = 0;
    bool m_effectOnShow = true;
    bool m_effectOnHide = true;
    QColor m_lineColor = Qt::black;
    int m_lineWidth = 1;
    bool m_animating = false;
};

}  // namespace corvanta
