#include <QtTest>

#include "ui/controls/TransEdit.h"

using corvanta::TTransEdit;

namespace {

const QColor kUnder(200, 0, 0);     // the parent, seen through a clear box
const QColor kBase(250, 240, 200);  // the box's own background
const QColor kText(255, 255, 0);

}  // namespace

class TransEditTest : public QObject {
    Q_OBJECT

    QWidget* m_window = nullptr;
    TTransEdit* m_edit = nullptr;

    // The window at a point of the box right of its text, and the ink of
    // the text.
    QColor Beneath() const {
        const QImage shot = m_window->grab(m_edit->geometry()).toImage();
        return shot.pixelColor(shot.width() - 20, shot.height() / 2);
    }
    bool TextDrawn() const {
        const QImage shot = m_window->grab(m_edit->geometry()).toImage();
        for (int x = 4; x < 60; ++x)
            if (shot.pixelColor(x, shot.height() / 2).green() > 128) return true;
        return false;
    }

  private slots:
    void init() {
        m_window = new QWidget;
        QPalette under = m_window->palette();
        under.setColor(QPalette::Window, kUnder);
        m_window->setPalette(under);
        m_window->setAutoFillBackground(true);
        m_edit = new TTransEdit(m_window);
        m_edit->setGeometry(10, 10, 260, 24);
        QPalette own = m_edit->palette();
        own.setColor(QPalette::Base, kBase);
        own.setColor(QPalette::Text, kText);
        m_edit->setPalette(own);
        m_edit->setText("MMMM");
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void cleanup() { delete m_window; }

    // The box switches on focus: its background changes, its text colour
    // and the place of its text do not.
    void switches_data() {
        QTest::addColumn<QList<bool>>("switches");
        QTest::addColumn<QColor>("beneath");
        QTest::newRow("opaque") << QList<bool>{} << kBase;
        QTest::newRow("transparent") << QList<bool>{true} << kUnder;
        QTest::newRow("on, off") << QList<bool>{true, false} << kBase;
        QTest::newRow("on, off, on") << QList<bool>{true, false, true} << kUnder;
        QTest::newRow("on twice, off") << QList<bool>{true, true, false} << kBase;
    }
    void switches() {
        QFETCH(QList<bool>, switches);
        auto caret = [this] { return m_edit->inputMethodQuery(Qt::ImCursorRectangle).toRect(); };
        const QRect place = caret();
        for (bool on : switches)
            m_edit->SetTransparent(on);
        QTEST(Beneath(), "beneath");
        QVERIFY(TextDrawn());
        QCOMPARE(m_edit->palette().color(QPalette::Text), kText);
        QCOMPARE(caret(), place);
    }

    // A whole palette set on a clear box leaves it clear; its base is the
    // one the box returns to.
    void paletteSetWhileClear() {
        m_edit->SetTransparent(true);
        QPalette fresh;
        fresh.setColor(QPalette::Base, Qt::green);
        m_edit->setPalette(fresh);
        QCOMPARE(Beneath(), kUnder);
        m_edit->SetTransparent(false);
        QCOMPARE(Beneath(), QColor(Qt::green));
    }
};

QTEST_MAIN(TransEditTest)
#include "TransEditTest.moc"
