// Pointer events go through the window, as the user's do, so the button's
// shape decides who gets them.
#define QTEST_QPA_MOUSE_HANDLING
#include <QLineEdit>
#include <QtTest>

#include "ui/controls/AsHyperBtn.h"

using corvanta::TAsHyperBtn;

namespace {

class PressRecorder : public QWidget {
  public:
    int Presses = 0;

  protected:
    void mousePressEvent(QMouseEvent*) override { ++Presses; }
};

// A solid picture with a white 2 × 2 notch at its top left corner.
QPixmap Face(const QColor& color) {
    QImage image(40, 20, QImage::Format_RGB32);
    image.fill(color);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 2; ++x)
            image.setPixel(x, y, qRgb(255, 255, 255));
    return QPixmap::fromImage(image);
}

}  // namespace

class AsHyperBtnTest : public QObject {
    Q_OBJECT

    PressRecorder* window_ = nullptr;
    QLineEdit* focused_ = nullptr;
    TAsHyperBtn* button_ = nullptr;
    QStringList events_;

  private slots:
    void init() {
        window_ = new PressRecorder;
        window_->resize(200, 100);
        focused_ = new QLineEdit(window_);
        button_ = new TAsHyperBtn(window_);
        button_->setGeometry(50, 40, 40, 20);
        button_->SetBitmapIdleOff(Face(Qt::blue));
        events_.clear();
        connect(button_, &TAsHyperBtn::OnButtonOn, this, [this] { events_ << "on"; });
        connect(button_, &TAsHyperBtn::OnButtonOff, this, [this] { events_ << "off"; });
        connect(button_, &TAsHyperBtn::OnClick, this, [this] { events_ << "click"; });
        window_->show();
        QApplication::setActiveWindow(window_);
        QVERIFY(QTest::qWaitForWindowActive(window_));
        focused_->setFocus();
    }
    void cleanup() {
        // The button is a pointer control: whatever happened, the focus
        // stayed where the user had it.
        const bool focusKept = focused_->hasFocus();
        delete window_;
        QVERIFY(focusKept);
    }

    void clicks_data() {
        QTest::addColumn<bool>("autochange");
        QTest::addColumn<bool>("startOn");
        QTest::addColumn<int>("clicks");
        QTest::addColumn<QString>("events");
        QTest::newRow("autochange, off") << true << false << 2 << "on click off click";
        QTest::newRow("autochange, on") << true << true << 1 << "off click";
        QTest::newRow("fixed off") << false << false << 1 << "off click";
        QTest::newRow("fixed on") << false << true << 2 << "on click on click";
    }
    void clicks() {
        QFETCH(bool, autochange);
        QFETCH(bool, startOn);
        QFETCH(int, clicks);
        QFETCH(QString, events);
        button_->SetAutochange(autochange);
        button_->SetButtonOn(startOn);
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(button_, Qt::LeftButton);
        QCOMPARE(events_.join(' '), events);
        QCOMPARE(button_->ButtonOn(), startOn != (autochange && clicks % 2));
    }

    // Clicks the button leaves alone go on to the window, as with any control.
    void gestures_data() {
        QTest::addColumn<QString>("events");
        QTest::addColumn<int>("windowPresses");
        QTest::newRow("left") << "off click" << 0;
        QTest::newRow("right") << "" << 1;
        QTest::newRow("middle") << "" << 1;
        QTest::newRow("corner") << "" << 1;         // the white notch
        QTest::newRow("out") << "" << 0;            // pressed, dragged out, released
        QTest::newRow("back") << "off click" << 0;  // dragged out and back in
        QTest::newRow("disabled") << "" << 1;
    }
    void gestures() {
        const QString gesture = QTest::currentDataTag();
        const QPoint middle = button_->rect().center(), outside(-30, 5);
        if (gesture == "right") QTest::mouseClick(button_, Qt::RightButton);
        if (gesture == "middle") QTest::mouseClick(button_, Qt::MiddleButton);
        if (gesture == "corner") QTest::mouseClick(window_, Qt::LeftButton, {}, button_->pos());
        if (gesture == "disabled") button_->setEnabled(false);
        if (gesture == "left" || gesture == "disabled") QTest::mouseClick(button_, Qt::LeftButton);
        if (gesture == "out" || gesture == "back") {
            QTest::mousePress(button_, Qt::LeftButton, {}, middle);
            QVERIFY(button_->IsDown());
            QTest::mouseMove(button_, outside);
            QVERIFY(!button_->IsDown());
            const QPoint end = gesture == "back" ? middle : outside;
            QTest::mouseMove(button_, end);
            QTest::mouseRelease(button_, Qt::LeftButton, {}, end);
        }
        QTEST(events_.join(' '), "events");
        QTEST(window_->Presses, "windowPresses");
    }

    void faces_data() {
        QTest::addColumn<QString>("state");
        QTest::addColumn<bool>("withIdleOn");
        QTest::addColumn<QColor>("shown");
        QTest::newRow("on without its face") << "on" << false << QColor(Qt::blue);
        QTest::newRow("held down") << "down" << true << QColor(Qt::red);
        QTest::newRow("pointer over, no over face") << "over" << true << QColor(Qt::green);
        QTest::newRow("disabled, no disabled face") << "disabled" << true << QColor(Qt::green);
    }
    void faces() {
        QFETCH(QString, state);
        QFETCH(bool, withIdleOn);
        if (withIdleOn) button_->SetBitmapIdleOn(Face(Qt::green));
        button_->SetBitmapDown(Face(Qt::red));
        button_->SetButtonOn(true);
        if (state == "down") QTest::mousePress(button_, Qt::LeftButton);
        if (state == "disabled") button_->setEnabled(false);
        if (state == "over") {
            // From elsewhere: a move to where the pointer already is is dropped.
            QTest::mouseMove(window_, QPoint(5, 5));
            QTest::mouseMove(button_);
            QVERIFY(button_->IsPointerOver());
        }
        QTEST(button_->grab().toImage().pixelColor(20, 3), "shown");
        if (state == "down") QTest::mouseRelease(button_, Qt::LeftButton);
    }

    // At ratio 2 one device pixel of four keeps a logical pixel; fully
    // transparent pixels are cut like the cut-out colour.
    void shape_data() {
        QTest::addColumn<qreal>("dpr");
        QTest::addColumn<QColor>("cutOut");
        QTest::addColumn<QRegion>("shape");
        const QRegion marked = QRegion(1, 0, 1, 1) + QRegion(3, 1, 1, 1);
        QTest::newRow("white cut") << 1.0 << QColor(Qt::white) << marked;
        QTest::newRow("navy cut") << 1.0 << QColor(0, 0, 128) << QRegion(0, 0, 4, 2) - marked;
        QTest::newRow("ratio 2") << 2.0 << QColor(Qt::white) << marked;
    }
    void shape() {
        QFETCH(qreal, dpr);
        QFETCH(QColor, cutOut);
        const int r = int(dpr);
        QImage picture(5 * r, 2 * r, QImage::Format_ARGB32);
        picture.fill(Qt::white);
        for (int y = 0; y < picture.height(); ++y)
            picture.setPixel(4 * r, y, qRgba(0, 0, 0, 0));
        picture.setPixel(2 * r - 1, r - 1, qRgb(0, 0, 128));
        picture.setPixel(3 * r, r, qRgb(0, 0, 128));
        picture.setDevicePixelRatio(dpr);
        // The picture first, then the colour: the cut follows either change.
        button_->SetBitmapIdleOff(QPixmap::fromImage(picture));
        button_->SetTransparentColor(cutOut);
        QTEST(button_->mask(), "shape");
    }

    void accelerator_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("clicked");
        QTest::newRow("enabled") << "&Open" << true;
        QTest::newRow("disabled") << "&Open" << false;
        QTest::newRow("hidden") << "&Open" << false;
        QTest::newRow("double ampersand") << "&&Open" << false;
    }
    void accelerator() {
        QFETCH(QString, caption);
        QFETCH(bool, clicked);
        const QString condition = QTest::currentDataTag();
        button_->SetCaption(caption);
        button_->setEnabled(condition != "disabled");
        button_->setHidden(condition == "hidden");
        QTest::keyClick(window_, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(events_.join(' '), clicked ? "off click" : "");
    }
};

QTEST_MAIN(AsHyperBtnTest)
#include "AsHyperBtnTest.moc"
