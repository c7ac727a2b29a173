#pragma once

#include <QStackedWidget>

namespace corvanta {

// Pages that change only by program, and that tell when the keyboard focus
// enters or leaves them as a whole: moving between two controls of the
// panel is neither. Focus that goes to another window (a message box, a
// drop-down list) and comes back is not a move either; only a move to
// another control of the same window counts.
class TAsPagePanel : public QStackedWidget {
    Q_OBJECT

  public:
    explicit TAsPagePanel(QWidget* parent = nullptr);

    // No tabs are drawn in either case; kept with the layout.
    void SetHideTabs(bool hide) { hideTabs_ = hide; }
    bool HideTabs() const { return hideTabs_; }

    int ActivePageIndex() const { return currentIndex(); }
    // An index with no page leaves the page in view.
    void SetActivePageIndex(int index);

  signals:
    void OnEnter();
    void OnExit();

  private:
    void FocusChanged(QWidget* now);

    bool hideTabs_ = true;
    bool focusInside_ = false;
};

}  // namespace corvanta
