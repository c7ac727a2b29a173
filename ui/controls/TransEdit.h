#pragma once

#include <QLineEdit>
#include <QMargins>

#include "ui/controls/ClearBase.h"

namespace corvanta {

// A one-line edit that can let its parent's picture show through: while
// Transparent, no background is filled and only the text, the caret, the
// selection and a quiet one-pixel outline are drawn. The text stays where it
// is when Transparent is switched, and so does the text colour the window
// puts in the palette.
class TTransEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit TTransEdit(QWidget* parent = nullptr);

    void SetTransparent(bool transparent);
    bool Transparent() const { return transparent_; }
    void SetAlignText(Qt::Alignment alignment) { setAlignment(alignment); }
    Qt::Alignment AlignText() const { return alignment(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    bool transparent_ = false;
    ClearBase clearBase_;
    // What the opaque box had, brought back when Transparent is cleared.
    bool opaqueFrame_ = true;
    QMargins opaqueMargins_;
};

}  // namespace corvanta
