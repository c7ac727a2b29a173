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

    PressRecorder* m_window = nullptr;
    QLineEdit* m_focused = nullptr;
    TAsHyperBtn* m_button = nullptr;
    QStringList m_events;

  private slots:
    void init() {
        m_window = new PressRecorder;
        m_window->resize(200, 100);
        m_focused = new QLineEdit(m_window);
        m_button = new TAsHyperBtn(m_window);
        m_button->setGeometry(50, 40, 40, 20);
        m_button->SetBitmapIdleOff(Face(Qt::blue));
        m_events.clear();
        connect(m_button, &TAsHyperBtn::OnButtonOn, this, [this] { m_events << "on"; });
        connect(m_button, &TAsHyperBtn::OnButtonOff, this, [this] { m_events << "off"; });
        connect(m_button, &TAsHyperBtn::OnClick, this, [this] { m_events << "click"; });
        m_window->show();
        QApplication::setActiveWindow(m_window);
        QVERIFY(QTest::qWaitForWindowActive(m_window));
        m_focused->setFocus();
    }
    void cleanup() {
        // The button is a pointer control: whatever happened, the focus
        // stayed where the user had it.
        const bool focusKept = m_focused->hasFocus();
        delete m_window;
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
        m_button->SetAutochange(autochange);
        m_button->SetButtonOn(startOn);
        for (int i = 0; i < clicks; ++i)
            QTest::mouseClick(m_button, Qt::LeftButton);
        QCOMPARE(m_events.join(' '), events);
        QCOMPARE(m_button->ButtonOn(), startOn != (autochange && clicks % 2));
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
        const QPoint middle = m_button->rect().center(), outside(-30, 5);
        if (gesture == "right") QTest::mouseClick(m_button, Qt::RightButton);
        if (gesture == "middle") QTest::mouseClick(m_button, Qt::MiddleButton);
        if (gesture == "corner") QTest::mouseClick(m_window, Qt::LeftButton, {}, m_button->pos());
        if (gesture == "disabled") m_button->setEnabled(false);
        if (gesture == "left" || gesture == "disabled") QTest::mouseClick(m_button, Qt::LeftButton);
        if (gesture == "out" || gesture == "back") {
            QTest::mousePress(m_button, Qt::LeftButton, {}, middle);
            QVERIFY(m_button->IsDown());
            QTest::mouseMove(m_button, outside);
            QVERIFY(!m_button->IsDown());
            const QPoint end = gesture == "back" ? middle : outside;
            QTest::mouseMove(m_button, end);
            QTest::mouseRelease(m_button, Qt::LeftButton, {}, end);
        }
        QTEST(m_events.join(' '), "events");
        QTEST(m_window->Presses, "windowPresses");
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
        if (withIdleOn) m_button->SetBitmapIdleOn(Face(Qt::green));
        m_button->SetBitmapDown(Face(Qt::red));
        m_button->SetButtonOn(true);
        if (state == "down") QTest::mousePress(m_button, Qt::LeftButton);
        if (state == "disabled") m_button->setEnabled(false);
        if (state == "over") {
            // From elsewhere: a move to where the pointer already is is dropped.
            QTest::mouseMove(m_window, QPoint(5, 5));
            QTest::mouseMove(m_button);
            QVERIFY(m_button->IsPointerOver());
        }
        QTEST(m_button->grab().toImage().pixelColor(20, 3), "shown");
        if (state == "down") QTest::mouseRelease(m_button, Qt::LeftButton);
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
        m_button->SetBitmapIdleOff(QPixmap::fromImage(picture));
        m_button->SetTransparentColor(cutOut);
        QTEST(m_button->mask(), "shape");
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
        m_button->SetCaption(caption);
        m_button->setEnabled(condition != "disabled");
        m_button->setHidden(condition == "hidden");
        QTest::keyClick(m_window, Qt::Key_O, Qt::AltModifier);
        QCOMPARE(m_events.join(' '), clicked ? "off click" : "");
    }
};

QTEST_MAIN(AsHyperBtnTest)
#include "AsHyperBtnTest.moc"
