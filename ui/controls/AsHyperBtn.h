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
    QPixmap BitmapIdleOff() const { return m_idleOff; }
    QPixmap BitmapIdleOn() const { return m_idleOn; }
    QPixmap BitmapDown() const { return m_down; }
    QPixmap BitmapOverOff() const { return m_overOff; }
    QPixmap BitmapOverOn() const { return m_overOn; }
    QPixmap BitmapDisabled() const { return m_disabled; }
    // Idle off, idle on and down at once; the other faces are left as they are.
    void SetFaces(const ButtonFaces& faces);

    // Pixels of BitmapIdleOff in this colour are cut out of the button's
    // shape (fully transparent pixels too); the rest, and nothing outside
    // the picture, belongs to the button. Without a picture the whole
    // rectangle does.
    void SetTransparentColor(const QColor& color);
    QColor TransparentColor() const { return m_transparentColor; }

    // Shown as written, ampersands included; "&x" also makes Alt+X click
    // the button while it is visible and enabled in the active window.
    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }
    void SetCaptionColor(const QColor& color);
    QColor CaptionColor() const { return m_captionColor; }
    void SetTextStyle(TextStyle style);
    TextStyle CaptionTextStyle() const { return m_textStyle; }
    // Centred on one line; when clear, the caption starts at the top left.
    void SetAutoCaptionCenter(bool center);
    bool AutoCaptionCenter() const { return m_autoCaptionCenter; }
    void SetCaptionXMoved(int dx);
    int CaptionXMoved() const { return m_captionXMoved; }
    void SetCaptionYMoved(int dy);
    int CaptionYMoved() const { return m_captionYMoved; }

    // A click toggles ButtonOn.
    void SetAutochange(bool autochange) { m_autochange = autochange; }
    bool Autochange() const { return m_autochange; }
    void SetButtonOn(bool on);
    bool ButtonOn() const { return m_buttonOn; }

    // Kept with the layout; they change nothing.
    void SetReflexPos(int pos) { m_reflexPos = pos; }
    int ReflexPos() const { return m_reflexPos; }
    void SetReflexWidth(int width) { m_reflexWidth = width; }
    int ReflexWidth() const { return m_reflexWidth; }

    // Held down with the pointer inside: drawn pressed.
    bool IsDown() const { return m_held && m_over; }
    bool IsPointerOver() const { return m_over; }
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

    QPixmap m_idleOff, m_idleOn, m_down, m_overOff, m_overOn, m_disabled;
    QColor m_transparentColor = Qt::white;
    QRegion m_shape;  // empty: the whole rectangle

    QString m_caption;
    QColor m_captionColor = Qt::black;
    TextStyle m_textStyle = TextStyle::tsNone;
    bool m_autoCaptionCenter = true;
    int m_captionXMoved = 0;
    int m_captionYMoved = 0;
    QShortcut* m_accelerator = nullptr;

    bool m_autochange = false;
    bool m_buttonOn = false;
    int m_reflexPos = 5;
    int m_reflexWidth = 40;

    bool m_held = false;
    bool m_over = false;
};

}  // namespace corvanta
