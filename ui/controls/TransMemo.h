#pragma once

#include <QPlainTextEdit>

#include "ui/controls/ClearBase.h"

namespace corvanta {

// A memo that can let its parent's picture show through: while Transparent,
// neither the box nor its viewport fills a background, the frame gives way
// to a quiet one-pixel outline of the same place, and only the text, the
// caret and the selection are drawn over what lies beneath. Scrolling
// repaints instead of moving pixels, which would drag the picture along.
// The text colour the window puts in the palette is kept across switches.
class TTransMemo : public QPlainTextEdit {
    Q_OBJECT

  public:
    explicit TTransMemo(QWidget* parent = nullptr);

    void SetTransparent(bool transparent);
    bool Transparent() const { return transparent_; }
    // Applies to every line of the memo.
    void SetAlignText(Qt::Alignment alignment);
    Qt::Alignment AlignText() const;

  protected:
    bool event(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

  private:
    bool transparent_ = false;
    ClearBase clearBase_;
};

}  // namespace corvanta
