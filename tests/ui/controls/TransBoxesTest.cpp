// The see-through edit and memo over one striped parent.
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

#include "ui/controls/TransEdit.h"
#include "ui/controls/TransMemo.h"

using corvanta::TTransEdit;
using corvanta::TTransMemo;

namespace {

const QColor kBase(250, 240, 200);  // the boxes' own background
const QColor kText(255, 255, 0);

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

class TransBoxesTest : public QObject {
    Q_OBJECT

    Striped* window_ = nullptr;
    TTransEdit* edit_ = nullptr;
    TTransMemo* memo_ = nullptr;

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
        window_->resize(300, 200);
        edit_ = new TTransEdit(window_);
        edit_->setGeometry(10, 10, 260, 24);
        edit_->setText("MMMM");
        memo_ = new TTransMemo(window_);
        memo_->setGeometry(10, 40, 240, 120);
        memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        memo_->setPlainText("MM\nMM");
        for (QWidget* box : std::initializer_list<QWidget*>{edit_, memo_}) {
            QPalette own = box->palette();
            own.setColor(QPalette::Base, kBase);
            own.setColor(QPalette::Text, kText);
            box->setPalette(own);
        }
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
    }
    void cleanup() { delete window_; }

    // The boxes switch on focus: the background changes; the text colour, the
    // edit's text place and the memo's alignment do not. A palette set while
    // clear ("green": its base made green) leaves the box clear, and its base
    // is the one the box returns to.
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
        QCOMPARE(memo_->AlignText(), Qt::AlignRight);
        QCOMPARE(edit_->palette().color(QPalette::Text), kText);
        QCOMPARE(memo_->palette().color(QPalette::Text), kText);
        QCOMPARE(caret(), place);
    }

    // What the window's backing store holds after a scroll, which is what
    // the user sees: the bands stay where the parent drew them.
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
};

QTEST_MAIN(TransBoxesTest)
#include "TransBoxesTest.moc"
