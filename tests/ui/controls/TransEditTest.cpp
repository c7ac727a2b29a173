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

    QWidget* window_ = nullptr;
    TTransEdit* edit_ = nullptr;

    // The window at a point of the box right of its text, and the ink of
    // the text.
    QColor Beneath() const {
        const QImage shot = window_->grab(edit_->geometry()).toImage();
        return shot.pixelColor(shot.width() - 20, shot.height() / 2);
    }
    bool TextDrawn() const {
        const QImage shot = window_->grab(edit_->geometry()).toImage();
        for (int x = 4; x < 60; ++x)
            if (shot.pixelColor(x, shot.height() / 2).green() > 128) return true;
        return false;
    }

  private slots:
    void init() {
        window_ = new QWidget;
        QPalette under = window_->palette();
        under.setColor(QPalette::Window, kUnder);
        window_->setPalette(under);
        window_->setAutoFillBackground(true);
        edit_ = new TTransEdit(window_);
        edit_->setGeometry(10, 10, 260, 24);
        QPalette own = edit_->palette();
        own.setColor(QPalette::Base, kBase);
        own.setColor(QPalette::Text, kText);
        edit_->setPalette(own);
        edit_->setText("MMMM");
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
    }
    void cleanup() { delete window_; }

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
        auto caret = [this] { return edit_->inputMethodQuery(Qt::ImCursorRectangle).toRect(); };
        const QRect place = caret();
        for (bool on : switches)
            edit_->SetTransparent(on);
        QTEST(Beneath(), "beneath");
        QVERIFY(TextDrawn());
        QCOMPARE(edit_->palette().color(QPalette::Text), kText);
        QCOMPARE(caret(), place);
    }

    // A whole palette set on a clear box leaves it clear; its base is the
    // one the box returns to.
    void paletteSetWhileClear() {
        edit_->SetTransparent(true);
        QPalette fresh;
        fresh.setColor(QPalette::Base, Qt::green);
        edit_->setPalette(fresh);
        QCOMPARE(Beneath(), kUnder);
        edit_->SetTransparent(false);
        QCOMPARE(Beneath(), QColor(Qt::green));
    }
};

QTEST_MAIN(TransEditTest)
#include "TransEditTest.moc"
