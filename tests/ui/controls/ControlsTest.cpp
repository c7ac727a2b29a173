// Button, pictures, see-through boxes, animated panel in a striped window; pointer events via it.
#define QTEST_QPA_MOUSE_HANDLING
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>
#include <cmath>

#include "ui/controls/AsHyperBtn.h"
#include "ui/controls/AsPanel.h"
#include "ui/controls/TransEdit.h"
#include "ui/controls/TransMemo.h"

using namespace corvanta;

namespace {

const QColor kBase(250, 240, 200);  // the boxes' own background
const QColor kText(255, 255, 0);
// The function palette's rectangles: it grows out of a 10 × 10 square.
const QRect kOwn(118, 194, 215, 252);
const QRect kFrom(269, 18, 10, 10);

// Bands four pixels high, so that a picture dragged along by a scroll shows.
QColor Band(int y) {
    return (y / 4) % 2 ? QColor(0, 0, 200) : QColor(200, 0, 0);
}

// The window: bands for the boxes to show through; the presses the button leaves it counted.
class Striped : public QWidget {
  public:
    int Presses = 0;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (int y = 0; y < height(); ++y)
            painter.fillRect(0, y, width(), 1, Band(y));
    }
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

using Gestures = std::tuple<QString, QString, int, QColor>;
using Pictures = std::tuple<QList<QPixmap>, QSize, int, QColor>;

}  // namespace

Q_DECLARE_METATYPE(Gestures)
Q_DECLARE_METATYPE(Pictures)

class ControlsTest : public QObject {
    Q_OBJECT

    Striped* window_ = nullptr;
    TAsHyperBtn* button_ = nullptr;
    TTransEdit* edit_ = nullptr;
    TTransMemo* memo_ = nullptr;
    TAsPanel* panel_ = nullptr;
    QStringList events_;
    QList<int> steps_;
    QList<QRect> bounds_;

    QImage Shot(const QWidget* box) const { return window_->grab(box->geometry()).toImage(); }
    // The left end of the yellow text on row y of a shot, or its width if none.
    static int Ink(const QImage& shot, int y) {
        for (int x = 0; x < shot.width(); ++x) {
            const QColor c = shot.pixelColor(x, y);
            if (c.red() > 128 && c.green() > 128 && c.blue() < 100) return x;
        }
        return shot.width();
    }

  private slots:
    void init() {
        window_ = new Striped;
        window_->resize(430, 495);
        QPalette boxes = window_->palette();  // what the boxes inherit
        boxes.setColor(QPalette::Base, kBase);
        boxes.setColor(QPalette::Text, kText);
        window_->setPalette(boxes);
        edit_ = new TTransEdit(window_);
        edit_->setGeometry(10, 10, 260, 24);
        edit_->setText("MMMM");
        memo_ = new TTransMemo(window_);
        memo_->setGeometry(10, 40, 240, 120);
        memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        memo_->setPlainText("MM\nMM");
        panel_ = new TAsPanel(window_);
        panel_->setGeometry(kOwn);
        panel_->SetFromLeft(kFrom.left());
        panel_->SetFromTop(kFrom.top());
        panel_->SetFromWidth(kFrom.width());
        panel_->SetFromHeight(kFrom.height());
        panel_->SetLineWidth(2);
        panel_->hide();
        steps_.clear(), bounds_.clear();
        connect(panel_, &TAsPanel::AnimationFrame, this, [this](int step, const QRect& bounds) {
            // Each frame shows only an outline of the line width.
            const QRegion shape = panel_->mask();
            QVERIFY(shape.contains(QPoint(1, 1)) && !shape.contains(QPoint(2, 2)));
            QVERIFY(shape.contains(QPoint(bounds.width() - 2, bounds.height() - 2)));
            steps_ << step;
            bounds_ << bounds;
        });
        button_ = new TAsHyperBtn(window_);
        button_->setGeometry(300, 40, 40, 20);
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
        QTest::addColumn<Gestures>("c");  // gestures, events, window presses, face
        const QColor blue(Qt::blue), green(Qt::green);
        // clang-format off
        QTest::newRow("autochange") << Gestures{"auto left left", "on click off click", 0, blue};
        QTest::newRow("fixed off, accelerator") << Gestures{"left alt", "off click off click", 0, blue};
        QTest::newRow("fixed on") << Gestures{"on left left", "on click on click", 0, green};
        QTest::newRow("on, pointer away") << Gestures{"on away", "", 0, green};
        QTest::newRow("on without its face") << Gestures{"plain on away", "", 0, blue};
        QTest::newRow("right, middle") << Gestures{"right middle", "", 2, blue};
        QTest::newRow("out") << Gestures{"out", "", 0, blue};  // pressed, dragged out, released
        QTest::newRow("back") << Gestures{"back", "off click", 0, blue};  // out and back in
        QTest::newRow("disabled, no disabled face") << Gestures{"on disabled left alt", "", 1, green};
        QTest::newRow("hidden") << Gestures{"hide alt", "", 0, blue};
        QTest::newRow("double ampersand") << Gestures{"&& alt", "", 0, blue};
        // clang-format on
    }
    void gestures() {
        QFETCH(Gestures, c);
        const auto& [gestures, events, windowPresses, face] = c;
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
        QCOMPARE(events_.join(' '), events);
        QCOMPARE(window_->Presses, windowPresses);
        QCOMPARE(shown(), face);
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
        QTest::addColumn<Pictures>("c");  // pictures, size, pixel ratio, text colour
        auto faces = [](QSize size, ButtonLook look, int dpr) {
            const ButtonFaces f = PaintButtonFaces(size, look, dpr);
            return QList<QPixmap>{f.IdleOff, f.IdleOn, f.Down};
        };
        const QSize page(426, 481);
        const QColor white(Qt::white), navy(0, 0, 128);
        // clang-format off
        QTest::newRow("page") << Pictures{faces({122, 22}, ButtonLook::Page, 1), QSize(122, 22), 1, white};
        QTest::newRow("page, 2x") << Pictures{faces({122, 22}, ButtonLook::Page, 2), QSize(122, 22), 2, QColor(Qt::yellow)};
        QTest::newRow("f(x)") << Pictures{faces({25, 22}, ButtonLook::Action, 1), QSize(25, 22), 1, navy};
        QTest::newRow("apply, 2x") << Pictures{faces({70, 22}, ButtonLook::Action, 2), QSize(70, 22), 2, navy};
        QTest::newRow("palette, 2x") << Pictures{faces({50, 22}, ButtonLook::Palette, 2), QSize(50, 22), 2, navy};
        QTest::newRow("page backdrop") << Pictures{QList{PaintPageBackground(page, 1)}, page, 1, white};
        QTest::newRow("page backdrop, 2x") << Pictures{QList{PaintPageBackground(page, 2)}, page, 2, white};
        QTest::newRow("top bar, 2x") << Pictures{QList{PaintTopBar({430, 33}, 2)}, QSize(430, 33), 2, white};
        QTest::newRow("panel, 2x") << Pictures{QList{PaintPanelBackground({215, 252}, 2)}, QSize(215, 252), 2, navy};
        // clang-format on
    }
    void pictures() {
        QFETCH(Pictures, c);
        const auto& [pictures, size, dpr, text] = c;
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
    // The background switches, the text does not; a palette set while clear ("green") stays.
    void switches_data() {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QColor>("beneath");
        const QColor stripes;  // the parent, seen through
        QTest::newRow("opaque") << "" << kBase;
        QTest::newRow("transparent") << "on" << stripes;
        QTest::newRow("on, off") << "on off" << kBase;
        QTest::newRow("on, off, on") << "on off on" << stripes;
        QTest::newRow("on twice, off") << "on on off" << kBase;
        QTest::newRow("palette set while clear") << "on green" << stripes;
        QTest::newRow("palette set, then off") << "on green off" << QColor(Qt::green);
    }
    void switches() {
        QFETCH(QString, steps);
        QFETCH(QColor, beneath);
        auto caret = [this] { return edit_->inputMethodQuery(Qt::ImCursorRectangle).toRect(); };
        const QRect place = caret();
        memo_->SetAlignText(Qt::AlignRight);
        for (const QString& step : steps.split(' ', Qt::SkipEmptyParts)) {
            auto apply = [&](auto* box) {
                if (step != "green") return box->SetTransparent(step == "on");
                QPalette fresh = box->palette();
                fresh.setColor(QPalette::Base, Qt::green);
                box->setPalette(fresh);
            };
            apply(edit_), apply(memo_);
        }
        // Right of the edit's text, left of the memo's and below its last line.
        const QList<std::pair<QWidget*, QPoint>> points = {
            {edit_, {240, 12}}, {memo_, {20, 12}}, {memo_, {120, 90}}};
        for (const auto& [box, p] : points)
            QCOMPARE(Shot(box).pixelColor(p), beneath.isValid() ? beneath : Band(p.y() + box->y()));
        const int line =
            memo_->viewport()->y() + memo_->cursorRect(QTextCursor(memo_->document())).center().y();
        QVERIFY(Ink(Shot(edit_), 12) < 60);                       // the edit's text is drawn
        QCOMPARE_GT(Ink(Shot(memo_), line), memo_->width() / 2);  // and the memo's on the right
        QCOMPARE(caret(), place);
    }

    // What the window's backing store holds (what the user sees) after a scroll: the bands stay.
    void scrollLeavesThePictureInPlace() {
        memo_->SetTransparent(true);
        memo_->setPlainText(QString("M\n").repeated(40));
        QCoreApplication::processEvents();
        memo_->verticalScrollBar()->setValue(7);
        QCoreApplication::processEvents();
        const QImage shot = window_->screen()->grabWindow(window_->winId()).toImage();
        for (int y = memo_->y() + 4; y < memo_->geometry().bottom() - 3; ++y)
            QCOMPARE(shot.pixelColor(memo_->x() + 200, y), Band(y));
    }

    // Shown twice, then hidden twice: the second call finds it so and does nothing.
    void showAndHide_data() {
        QTest::addColumn<QString>("setup");  // the effects on; "0": no steps; "parent" hidden
        QTest::addColumn<QList<int>>("frames");
        const QList<int> none, in{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
        QTest::newRow("show") << "show" << in;
        QTest::newRow("hide") << "hide" << QList<int>(in.rbegin(), in.rend());
        QTest::newRow("no effects") << "" << none;
        QTest::newRow("no steps") << "show hide 0" << none;
        QTest::newRow("parent hidden") << "show hide parent" << none;
    }
    void showAndHide() {
        QFETCH(QString, setup);
        QFETCH(QList<int>, frames);
        panel_->SetEffectOnShow(setup.contains("show"));
        panel_->SetEffectOnHide(setup.contains("hide"));
        panel_->SetStepsCount(setup.contains('0') ? 0 : 10);
        if (setup.contains("parent")) window_->hide();
        for (const bool visible : {true, true, false, false}) {
            panel_->setVisible(visible);
            QVERIFY(panel_->isHidden() != visible && panel_->mask().isEmpty());
            QCOMPARE(panel_->geometry(), kOwn);
        }
        QCOMPARE(steps_, frames);
        // step × (own − From) / 10 cut toward zero (rounding down moves the left edges right).
        const QHash<int, QRect> at{
            {0, kOwn}, {3, QRect(163, 142, 154, 180)}, {7, QRect(223, 71, 72, 83)}, {10, kFrom}};
        for (int i = 0; i < steps_.size(); ++i)
            if (at.contains(steps_[i])) QCOMPARE(bounds_[i], at[steps_[i]]);
    }
};

QTEST_MAIN(ControlsTest)
#include "ControlsTest.moc"
