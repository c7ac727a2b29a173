// The animated panel and the page panel, in one window beside an edit.
#include <QLineEdit>
#include <QtTest>

#include "ui/controls/AsPagePanel.h"
#include "ui/controls/AsPanel.h"

using corvanta::TAsPagePanel;
using corvanta::TAsPanel;

namespace {

// The function palette's rectangles: it grows out of a 10 × 10 square.
const QRect kOwn(118, 194, 215, 252);
const QRect kFrom(269, 18, 10, 10);

}  // namespace

class PanelsTest : public QObject {
    Q_OBJECT

    QWidget* window_ = nullptr;
    QWidget* other_ = nullptr;
    TAsPanel* panel_ = nullptr;
    QHash<QString, QLineEdit*> edits_;
    QStringList events_;
    QList<int> steps_;
    QList<QRect> bounds_;

  private slots:
    void init() {
        window_ = new QWidget;
        window_->resize(430, 495);
        edits_["out"] = new QLineEdit(window_);
        panel_ = new TAsPanel(window_);
        panel_->setGeometry(kOwn);
        panel_->SetFromLeft(kFrom.left());
        panel_->SetFromTop(kFrom.top());
        panel_->SetFromWidth(kFrom.width());
        panel_->SetFromHeight(kFrom.height());
        panel_->SetLineWidth(2);
        panel_->hide();
        auto* pages = new TAsPagePanel(window_);
        pages->setGeometry(10, 40, 300, 100);
        auto* page = new QWidget;
        edits_["in1"] = new QLineEdit(page);
        edits_["in2"] = new QLineEdit(page);
        pages->addWidget(page);
        pages->addWidget(new QWidget);
        other_ = new QWidget;
        edits_["other"] = new QLineEdit(other_);
        events_.clear(), steps_.clear(), bounds_.clear();
        connect(pages, &TAsPagePanel::OnEnter, this, [this] { events_ << "enter"; });
        connect(pages, &TAsPagePanel::OnExit, this, [this] { events_ << "exit"; });
        connect(panel_, &TAsPanel::AnimationFrame, this, [this](int step, const QRect& bounds) {
            // Each frame shows only an outline of the line width.
            const QRegion shape = panel_->mask();
            QVERIFY(shape.contains(QPoint(1, 1)) && !shape.contains(QPoint(2, 2)));
            QVERIFY(shape.contains(QPoint(bounds.width() - 2, bounds.height() - 2)));
            steps_ << step;
            bounds_ << bounds;
        });
        other_->show();
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_));
    }
    void cleanup() {
        delete window_;
        delete other_;
    }

    // Shown, then hidden twice: the second hide finds it hidden and does nothing.
    void showAndHide_data() {
        QTest::addColumn<bool>("onShow");
        QTest::addColumn<bool>("onHide");
        QTest::addColumn<int>("steps");
        QTest::addColumn<QList<int>>("frames");
        const QList<int> none, in{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
        QTest::newRow("show") << true << false << 10 << in;
        QTest::newRow("hide") << false << true << 10 << QList<int>(in.rbegin(), in.rend());
        QTest::newRow("no effects") << false << false << 10 << none;
        QTest::newRow("no steps") << true << true << 0 << none;
        QTest::newRow("parent hidden") << true << true << 10 << none;
    }
    void showAndHide() {
        QFETCH(bool, onShow);
        QFETCH(bool, onHide);
        QFETCH(int, steps);
        QFETCH(QList<int>, frames);
        panel_->SetEffectOnShow(onShow);
        panel_->SetEffectOnHide(onHide);
        panel_->SetStepsCount(steps);
        if (QTest::currentDataTag() == QString("parent hidden")) window_->hide();
        panel_->show();
        QVERIFY(!panel_->isHidden() && panel_->mask().isEmpty());
        QCOMPARE(panel_->geometry(), kOwn);
        panel_->hide();
        panel_->hide();
        QVERIFY(panel_->isHidden());
        QCOMPARE(panel_->geometry(), kOwn);
        QCOMPARE(steps_, frames);
        // step × (own − From) / 10 cut toward zero: rounding down would put
        // the left edges one pixel further right.
        const QHash<int, QRect> at{
            {0, kOwn}, {3, QRect(163, 142, 154, 180)}, {7, QRect(223, 71, 72, 83)}, {10, kFrom}};
        for (int i = 0; i < steps_.size(); ++i)
            if (at.contains(steps_[i])) QCOMPARE(bounds_[i], at[steps_[i]]);
    }

    // Each row names the moves: an edit to focus, "other" for the edit of
    // another window, "back" to activate the main window again, which gives
    // the focus back to the control that had it.
    void focusMoves_data() {
        QTest::addColumn<QString>("events");
        QTest::newRow("in1 in2 out in2") << "enter exit enter";
        QTest::newRow("in1 other back out") << "enter exit";
    }
    void focusMoves() {
        for (const QString& move : QString(QTest::currentDataTag()).split(' ')) {
            QWidget* window = move == "other" ? other_ : window_;
            if (move == "other" || move == "back") {
                window->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(window));
            }
            if (move != "back") edits_[move]->setFocus();
        }
        QTEST(events_.join(' '), "events");
    }
};

QTEST_MAIN(PanelsTest)
#include "PanelsTest.moc"
