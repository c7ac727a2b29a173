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

    Striped* m_window = nullptr;
    TTransMemo* m_memo = nullptr;

  private slots:
    void init() {
        m_window = new Striped;
        m_window->resize(300, 200);
        m_memo = new TTransMemo(m_window);
        m_memo->setGeometry(10, 10, 240, 120);
        m_memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QPalette own = m_memo->palette();
        own.setColor(QPalette::Base, kBase);
        own.setColor(QPalette::Text, Qt::yellow);
        m_memo->setPalette(own);
        m_memo->setPlainText("MM\nMM");
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void cleanup() { delete m_window; }

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
            m_memo->SetTransparent(on);
        const QImage shot = m_window->grab(m_memo->geometry()).toImage();
        // Right of the text, and below the last line.
        for (const QPoint p : {QPoint(200, 12), QPoint(120, 90)})
            QCOMPARE(shot.pixelColor(p), clear ? Band(p.y() + m_memo->y()) : kBase);
        QCOMPARE(m_memo->palette().color(QPalette::Text), QColor(Qt::yellow));
    }

    // What the window's backing store holds after a scroll, which is what
    // the user sees: the bands stay where the parent drew them.
    void scrollLeavesThePictureInPlace() {
        m_memo->SetTransparent(true);
        m_memo->setPlainText(QString("M\n").repeated(40));
        QCoreApplication::processEvents();
        m_memo->verticalScrollBar()->setValue(7);
        QCoreApplication::processEvents();
        const QRect area(m_memo->pos(), m_memo->size());
        const QImage shot =
            m_window->screen()
                ->grabWindow(m_window->winId(), area.x(), area.y(), area.width(), area.height())
                .toImage();
        for (int y = 4; y < shot.height() - 4; ++y)
            QCOMPARE(shot.pixelColor(200, y), Band(y + area.y()));
    }

    void alignRight() {
        m_memo->SetTransparent(true);
        m_memo->SetAlignText(Qt::AlignRight);
        QCOMPARE(m_memo->AlignText(), Qt::AlignRight);
        const QImage shot = m_window->grab(m_memo->geometry()).toImage();
        const int y = m_memo->viewport()->y() +
                      m_memo->cursorRect(QTextCursor(m_memo->document())).center().y();
        int left = shot.width();
        for (int x = shot.width() - 1; x >= 0; --x)
            if (shot.pixelColor(x, y).green() > 128) left = x;
        QVERIFY2(left > shot.width() / 2, qPrintable(QString::number(left)));
    }
};

QTEST_MAIN(TransMemoTest)
#include "TransMemoTest.moc"
