#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QtTest>

#include "ui/controls/TransMemo.h"

using corvanta::TTransMemo;

namespace {

const QColor kBase(250, 240, 200);

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

class TransMemoTest : public QObject {
    Q_OBJECT

    Striped* window_ = nullptr;
    TTransMemo* memo_ = nullptr;

  private slots:
    void init() {
        window_ = new Striped;
        window_->resize(300, 200);
        memo_ = new TTransMemo(window_);
        memo_->setGeometry(10, 10, 240, 120);
        memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QPalette own = memo_->palette();
        own.setColor(QPalette::Base, kBase);
        own.setColor(QPalette::Text, Qt::yellow);
        memo_->setPalette(own);
        memo_->setPlainText("MM\nMM");
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
    }
    void cleanup() { delete window_; }

    void switches_data() {
        QTest::addColumn<QList<bool>>("switches");
        QTest::addColumn<bool>("clear");
        QTest::newRow("opaque") << QList<bool>{} << false;
        QTest::newRow("transparent") << QList<bool>{true} << true;
        QTest::newRow("on, off") << QList<bool>{true, false} << false;
        QTest::newRow("on, off, on") << QList<bool>{true, false, true} << true;
    }
    void switches() {
        QFETCH(QList<bool>, switches);
        QFETCH(bool, clear);
        for (bool on : switches)
            memo_->SetTransparent(on);
        const QImage shot = window_->grab(memo_->geometry()).toImage();
        // Right of the text, and below the last line.
        for (const QPoint p : {QPoint(200, 12), QPoint(120, 90)})
            QCOMPARE(shot.pixelColor(p), clear ? Band(p.y() + memo_->y()) : kBase);
        QCOMPARE(memo_->palette().color(QPalette::Text), QColor(Qt::yellow));
    }

    // What the window's backing store holds after a scroll, which is what
    // the user sees: the bands stay where the parent drew them.
    void scrollLeavesThePictureInPlace() {
        memo_->SetTransparent(true);
        memo_->setPlainText(QString("M\n").repeated(40));
        QCoreApplication::processEvents();
        memo_->verticalScrollBar()->setValue(7);
        QCoreApplication::processEvents();
        const QRect area(memo_->pos(), memo_->size());
        const QImage shot =
            window_->screen()
                ->grabWindow(window_->winId(), area.x(), area.y(), area.width(), area.height())
                .toImage();
        for (int y = 4; y < shot.height() - 4; ++y)
            QCOMPARE(shot.pixelColor(200, y), Band(y + area.y()));
    }

    void alignRight() {
        memo_->SetTransparent(true);
        memo_->SetAlignText(Qt::AlignRight);
        QCOMPARE(memo_->AlignText(), Qt::AlignRight);
        const QImage shot = window_->grab(memo_->geometry()).toImage();
        const int y =
            memo_->viewport()->y() + memo_->cursorRect(QTextCursor(memo_->document())).center().y();
        int left = shot.width();
        for (int x = shot.width() - 1; x >= 0; --x)
            if (shot.pixelColor(x, y).green() > 128) left = x;
        QVERIFY2(left > shot.width() / 2, qPrintable(QString::number(left)));
    }
};

QTEST_MAIN(TransMemoTest)
#include "TransMemoTest.moc"
