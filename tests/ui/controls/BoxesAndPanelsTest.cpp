// The see-through edit and memo and the animated panel, in one striped window.
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

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

class Striped : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        for (int y = 0; y < height(); ++y)
            painter.fillRect(0, y, width(), 1, Band(y));
    }
};

}  // namespace

class BoxesAndPanelsTest : public QObject {
    Q_OBJECT

    Striped* window_ = nullptr;
    TTransEdit* edit_ = nullptr;
    TTransMemo* memo_ = nullptr;
    TAsPanel* panel_ = nullptr;
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
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_));
    }
    void cleanup() { delete window_; }

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

QTEST_MAIN(BoxesAndPanelsTest)
#include "BoxesAndPanelsTest.moc"
