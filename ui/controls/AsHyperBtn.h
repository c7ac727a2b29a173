#pragma once

#include <QColor>
#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QWidget>

#include "ui/controls/Pictures.h"

class QShortcut;

namespace corvanta {

// A picture button: its face is one of a set of pictures chosen by state,
// its shape is cut from the idle picture, and it can keep a switched-on
// state of its own. It is a pointer control and never takes the keyboard
// focus, so a click leaves the focus where the user had it.
class TAsHyperBtn : public QWidget {
    Q_OBJECT

  public:
    enum class TextStyle { tsNone, tsRaised, tsLowered };

    explicit TAsHyperBtn(QWidget* parent = nullptr);

    void SetBitmapIdleOff(const QPixmap& picture);
    void SetBitmapIdleOn(const QPixmap& picture);
    void SetBitmapDown(const QPixmap& picture);
    void SetBitmapOverOff(const QPixmap& picture);
    void SetBitmapOverOn(const QPixmap& picture);
    void SetBitmapDisabled(const QPixmap& picture);
    QPixmap BitmapIdleOff() const { return idleOff_; }
    QPixmap BitmapIdleOn() const { return idleOn_; }
    QPixmap BitmapDown() const { return down_; }
    QPixmap BitmapOverOff() const { return overOff_; }
    QPixmap BitmapOverOn() const { return overOn_; }
    QPixmap BitmapDisabled() const { return disabled_; }
    // Idle off, idle on and down at once; the other faces are left as they are.
    void SetFaces(const ButtonFaces& faces);

    // Pixels of BitmapIdleOff in this colour are cut out of the button's
    // shape (fully transparent pixels too); the rest, and nothing outside
    // the picture, belongs to the button. Without a picture the whole
    // rectangle does.
    void SetTransparentColor(const QColor& color);
    QColor TransparentColor() const { return transparentColor_; }

    // Shown as written, ampersands included; "&x" also makes Alt+X click
    // the button while it is visible and enabled in the active window.
    void SetCaption(const QString& caption);
    QString Caption() const { return caption_; }
    void SetCaptionColor(const QColor& color);
    QColor CaptionColor() const { return captionColor_; }
    void SetTextStyle(TextStyle style);
    TextStyle CaptionTextStyle() const { return textStyle_; }
    // Centred on one line; when clear, the caption starts at the top left.
    void SetAutoCaptionCenter(bool center);
    bool AutoCaptionCenter() const { return autoCaptionCenter_; }
    void SetCaptionXMoved(int dx);
    int CaptionXMoved() const { return captionXMoved_; }
    void SetCaptionYMoved(int dy);
    int CaptionYMoved() const { return captionYMoved_; }

    // A click toggles ButtonOn.
    void SetAutochange(bool autochange) { autochange_ = autochange; }
    bool Autochange() const { return autochange_; }
    void SetButtonOn(bool on);
    bool ButtonOn() const { return buttonOn_; }

    // Kept with the layout; they change nothing.
    void SetReflexPos(int pos) { reflexPos_ = pos; }
    int ReflexPos() const { return reflexPos_; }
    void SetReflexWidth(int width) { reflexWidth_ = width; }
    int ReflexWidth() const { return reflexWidth_; }

    // Held down with the pointer inside: drawn pressed.
    bool IsDown() const { return held_ && over_; }
    bool IsPointerOver() const { return over_; }
    // The picture on show now, after the state and the fallbacks.
    QPixmap CurrentFace() const;

    // The click sequence of a pointer click, whatever the state: toggle when
    // Autochange, OnButtonOn or OnButtonOff after the state, then OnClick.
    void Click();

    QSize sizeHint() const override;

  signals:
    void OnButtonOn();
    void OnButtonOff();
    void OnClick();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void UpdateShape();
    bool HitTest(const QPoint& pos) const;
    void SetOver(bool over);

    QPixmap idleOff_, idleOn_, down_, overOff_, overOn_, disabled_;
    QColor transparentColor_ = Qt::white;
    QRegion shape_;  // empty: the whole rectangle

    QString caption_;
    QColor captionColor_ = Qt::black;
    TextStyle textStyle_ = TextStyle::tsNone;
    bool autoCaptionCenter_ = true;
    int captionXMoved_ = 0;
    int captionYMoved_ = 0;
    QShortcut* accelerator_ = nullptr;

    bool autochange_ = false;
    bool buttonOn_ = false;
    int reflexPos_ = 5;
    int reflexWidth_ = 40;

    bool held_ = false;
    bool over_ = false;
};

}  // namespace corvanta
