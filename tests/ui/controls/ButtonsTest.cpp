// The hyper button and the painted pictures; pointer events go through the window, as a user's.
#define QTEST_QPA_MOUSE_HANDLING
#include <QtTest>
#include <cmath>

#include "ui/controls/AsHyperBtn.h"

using namespace corvanta;

namespace {

struct PressRecorder : QWidget {
    int Presses = 0;
    void mousePressEvent(QMouseEvent*) override { ++Presses; }
};

QPixmap Face(const QColor& color) {
    QPixmap face(40, 20);
    face.fill(color);
    return face;
}

// The lowest contrast ratio (of relative luminance) of `text` on the pixels of `area`.
double WorstContrast(const QImage& image, const QRect& area, const QColor& text) {
    auto luminance = [](const QColor& c) {
        auto linear = [](double s) {
            return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
    };
    const double lt = luminance(text);
    double worst = 100;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const double lp = luminance(image.pixelColor(x, y));
            worst = std::min(worst, (std::max(lt, lp) + 0.05) / (std::min(lt, lp) + 0.05));
        }
    return worst;
}

}  // namespace

class ButtonsTest : public QObject {
    Q_OBJECT

    PressRecorder* window_ = nullptr;
    TAsHyperBtn* button_ = nullptr;
    QStringList events_;

  private slots:
    void init() {
        window_ = new PressRecorder;
        window_->resize(200, 100);
        button_ = new TAsHyperBtn(window_);
        button_->setGeometry(50, 40, 40, 20);
        button_->SetBitmapIdleOff(Face(Qt::blue));
        button_->SetBitmapIdleOn(Face(Qt::green));
        button_->SetBitmapDown(Face(Qt::red));
        events_.clear();
        connect(button_, &TAsHyperBtn::OnButtonOn, this, [this] { events_ << "on"; });
        connect(button_, &TAsHyperBtn::OnButtonOff, this, [this] { events_ << "off"; });
        connect(button_, &TAsHyperBtn::OnClick, this, [this] { events_ << "click"; });
        window_->show();
        QApplication::setActiveWindow(window_);
        QVERIFY(QTest::qWaitForWindowActive(window_));
    }
    void cleanup() { delete window_; }

    // Gestures in turn; the button's leftovers reach the window; "plain": no on face; Alt+O: accel.
    void gestures_data() {
        QTest::addColumn<QString>("gestures");
        QTest::addColumn<QString>("events");
        QTest::addColumn<int>("windowPresses");
        QTest::addColumn<QColor>("shown");  // the face at the end
        const QColor blue(Qt::blue), green(Qt::green);
        // clang-format off
        QTest::newRow("autochange") << "auto left left" << "on click off click" << 0 << blue;
        QTest::newRow("fixed off, accelerator") << "left alt" << "off click off click" << 0 << blue;
        QTest::newRow("fixed on") << "on left left" << "on click on click" << 0 << green;
        QTest::newRow("on, pointer away") << "on away" << "" << 0 << green;
        QTest::newRow("on without its face") << "plain on away" << "" << 0 << blue;
        QTest::newRow("right, middle") << "right middle" << "" << 2 << blue;
        QTest::newRow("out") << "out" << "" << 0 << blue;  // pressed, dragged out, released
        QTest::newRow("back") << "back" << "off click" << 0 << blue;  // out and back in
        QTest::newRow("disabled, no disabled face") << "on disabled left alt" << "" << 1 << green;
        QTest::newRow("hidden") << "hide alt" << "" << 0 << blue;
        QTest::newRow("double ampersand") << "&& alt" << "" << 0 << blue;
        // clang-format on
    }
    void gestures() {
        QFETCH(QString, gestures);
        button_->SetCaption("&Open");
        const QPoint middle = button_->rect().center(), outside(-30, 5);
        auto shown = [this] { return button_->grab().toImage().pixelColor(20, 3); };
        const QHash<QString, Qt::MouseButton> clicks{
            {"left", Qt::LeftButton}, {"right", Qt::RightButton}, {"middle", Qt::MiddleButton}};
        for (const QString& gesture : gestures.split(' ')) {
            if (clicks.contains(gesture)) QTest::mouseClick(button_, clicks[gesture]);
            if (gesture == "auto") button_->SetAutochange(true);
            if (gesture == "on") button_->SetButtonOn(true);
            if (gesture == "plain") button_->SetBitmapIdleOn({});
            if (gesture == "disabled") button_->setEnabled(false);
            if (gesture == "hide") button_->hide();
            if (gesture == "&&") button_->SetCaption("&&Open");
            if (gesture == "alt") QTest::keyClick(window_, Qt::Key_O, Qt::AltModifier);
            if (gesture == "away") QTest::mouseMove(window_, QPoint(5, 5));
            if (gesture == "out" || gesture == "back") {
                QTest::mousePress(button_, Qt::LeftButton, {}, middle);
                QCOMPARE(shown(), QColor(Qt::red));  // the down face
                QTest::mouseMove(button_, outside);
                QVERIFY(!button_->IsDown());
                const QPoint end = gesture == "back" ? middle : outside;
                QTest::mouseMove(button_, end);
                QTest::mouseRelease(button_, Qt::LeftButton, {}, end);
            }
        }
        QTEST(events_.join(' '), "events");
        QTEST(window_->Presses, "windowPresses");
        QTEST(shown(), "shown");
    }

    // At ratio 2 one device pixel of four keeps a logical pixel; fully transparent ones are cut.
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

    // A button's three faces, or a backdrop, and the caption or text colour that reads on each.
    void pictures_data() {
        QTest::addColumn<QList<QPixmap>>("pictures");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("dpr");
        QTest::addColumn<QColor>("text");
        auto faces = [](QSize size, ButtonLook look, int dpr) {
            const ButtonFaces f = PaintButtonFaces(size, look, dpr);
            return QList<QPixmap>{f.IdleOff, f.IdleOn, f.Down};
        };
        const QSize page(426, 481);
        const QColor white(Qt::white), navy(0, 0, 128);
        // clang-format off
        QTest::newRow("page") << faces({122, 22}, ButtonLook::Page, 1) << QSize(122, 22) << 1 << white;
        QTest::newRow("page, 2x") << faces({122, 22}, ButtonLook::Page, 2) << QSize(122, 22) << 2 << QColor(Qt::yellow);
        QTest::newRow("f(x)") << faces({25, 22}, ButtonLook::Action, 1) << QSize(25, 22) << 1 << navy;
        QTest::newRow("apply, 2x") << faces({70, 22}, ButtonLook::Action, 2) << QSize(70, 22) << 2 << navy;
        QTest::newRow("palette, 2x") << faces({50, 22}, ButtonLook::Palette, 2) << QSize(50, 22) << 2 << navy;
        QTest::newRow("page backdrop") << QList{PaintPageBackground(page, 1)} << page << 1 << white;
        QTest::newRow("page backdrop, 2x") << QList{PaintPageBackground(page, 2)} << page << 2 << white;
        QTest::newRow("top bar, 2x") << QList{PaintTopBar({430, 33}, 2)} << QSize(430, 33) << 2 << white;
        QTest::newRow("panel, 2x") << QList{PaintPanelBackground({215, 252}, 2)} << QSize(215, 252) << 2 << navy;
        // clang-format on
    }
    void pictures() {
        QFETCH(QList<QPixmap>, pictures);
        QFETCH(QSize, size);
        QFETCH(int, dpr);
        QFETCH(QColor, text);
        const bool faces = pictures.size() == 3;
        for (const QPixmap& picture : pictures) {
            QCOMPARE(picture.size(), size * dpr);
            QCOMPARE(picture.devicePixelRatio(), qreal(dpr));
            // Text reads everywhere inside the edge: one pixel on a backdrop, two on a face.
            const QImage image = picture.toImage();
            const int w = image.width(), h = image.height(), edge = (faces ? 2 : 1) * dpr;
            QVERIFY(WorstContrast(image, image.rect().adjusted(edge, edge, -edge, -edge), text) >=
                    4.5);
            if (!faces) continue;
            QCOMPARE(image.pixel(0, 0), qRgb(255, 255, 255));
            QCOMPARE(image.pixel(w - 1, h - 1), qRgb(255, 255, 255));
            // White only near the corners, in whole logical pixels (no light fringe in the shape).
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const bool white = image.pixel(x, y) == qRgb(255, 255, 255);
                    const bool cellWhite =
                        image.pixel(x - x % dpr, y - y % dpr) == qRgb(255, 255, 255);
                    const int lx = x / dpr, ly = y / dpr;
                    const bool corner =
                        (lx < 3 || lx >= size.width() - 3) && (ly < 3 || ly >= size.height() - 3);
                    QVERIFY2(white == cellWhite && (!white || corner),
                             qPrintable(QString("%1, %2").arg(x).arg(y)));
                }
        }
        if (!faces) return;
        const QPoint middle(size.width() * dpr / 2, size.height() * dpr / 2);
        const QColor off = pictures[0].toImage().pixelColor(middle);
        QVERIFY(pictures[1].toImage().pixelColor(middle) != off);
        QVERIFY(pictures[2].toImage().pixelColor(middle) != off);
    }
};

QTEST_MAIN(ButtonsTest)
#include "ButtonsTest.moc"
