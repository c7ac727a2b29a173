#include <QtTest>

#include "ui/controls/AsPanel.h"

using corvanta::TAsPanel;

namespace {

// The function palette's rectangles: it grows out of a 10 × 10 square.
const QRect kOwn(118, 194, 215, 252);
const QRect kFrom(269, 18, 10, 10);

}  // namespace

class AsPanelTest : public QObject {
    Q_OBJECT

    QWidget* window_ = nullptr;
    TAsPanel* panel_ = nullptr;
    QList<int> steps_;
    QList<QRect> bounds_;

  private slots:
    void init() {
        window_ = new QWidget;
        window_->resize(430, 495);
        panel_ = new TAsPanel(window_);
        panel_->setGeometry(kOwn);
        panel_->SetFromLeft(kFrom.left());
        panel_->SetFromTop(kFrom.top());
        panel_->SetFromWidth(kFrom.width());
        panel_->SetFromHeight(kFrom.height());
        panel_->SetLineWidth(2);
        panel_->hide();
        steps_.clear();
        bounds_.clear();
        connect(panel_, &TAsPanel::AnimationFrame, this, [this](int step, const QRect& bounds) {
            // Each frame shows only an outline of the line width.
            const QRegion shape = panel_->mask();
            QVERIFY(shape.contains(QPoint(1, 1)) && !shape.contains(QPoint(2, 2)));
            QVERIFY(shape.contains(QPoint(bounds.width() - 2, bounds.height() - 2)));
            steps_ << step;
            bounds_ << bounds;
        });
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_));
    }
    void cleanup() { delete window_; }

    void show_data() {
        QTest::addColumn<bool>("effect");
        QTest::addColumn<int>("steps");
        QTest::addColumn<bool>("parentHidden");
        QTest::addColumn<QList<int>>("frames");
        QTest::newRow("effect") << true << 10 << false
                                << QList<int>{10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
        QTest::newRow("no effect") << false << 10 << false << QList<int>{};
        QTest::newRow("no steps") << true << 0 << false << QList<int>{};
        QTest::newRow("parent hidden") << true << 10 << true << QList<int>{};
    }
    void show() {
        QFETCH(bool, effect);
        QFETCH(int, steps);
        QFETCH(bool, parentHidden);
        QFETCH(QList<int>, frames);
        panel_->SetEffectOnShow(effect);
        panel_->SetStepsCount(steps);
        if (parentHidden) window_->hide();
        panel_->show();
        QCOMPARE(steps_, frames);
        QVERIFY(!panel_->isHidden());
        QCOMPARE(panel_->geometry(), kOwn);
        QVERIFY(panel_->mask().isEmpty());
        if (frames.isEmpty()) return;
        QCOMPARE(bounds_.first(), kFrom);
        QCOMPARE(bounds_.last(), kOwn);
        // step × (own − From) / 10 cut toward zero: rounding down would put
        // the left edges one pixel further right.
        QCOMPARE(bounds_[3], QRect(223, 71, 72, 83));
        QCOMPARE(bounds_[7], QRect(163, 142, 154, 180));
    }

    void hide_data() {
        QTest::addColumn<bool>("effect");
        QTest::addColumn<QList<int>>("frames");
        QTest::newRow("effect") << true << QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
        QTest::newRow("no effect") << false << QList<int>{};
    }
    void hide() {
        QFETCH(bool, effect);
        QFETCH(QList<int>, frames);
        panel_->SetEffectOnShow(false);
        panel_->SetEffectOnHide(effect);
        panel_->show();
        panel_->hide();
        panel_->hide();  // already hidden: nothing more
        QVERIFY(panel_->isHidden());
        QCOMPARE(steps_, frames);
        QCOMPARE(panel_->geometry(), kOwn);
        if (!frames.isEmpty()) QCOMPARE(bounds_.last(), kFrom);
    }
};

QTEST_MAIN(AsPanelTest)
#include "AsPanelTest.moc"
