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

    QWidget* m_window = nullptr;
    TAsPanel* m_panel = nullptr;
    QList<int> m_steps;
    QList<QRect> m_bounds;

  private slots:
    void init() {
        m_window = new QWidget;
        m_window->resize(430, 495);
        m_panel = new TAsPanel(m_window);
        m_panel->setGeometry(kOwn);
        m_panel->SetFromLeft(kFrom.left());
        m_panel->SetFromTop(kFrom.top());
        m_panel->SetFromWidth(kFrom.width());
        m_panel->SetFromHeight(kFrom.height());
        m_panel->SetLineWidth(2);
        m_panel->hide();
        m_steps.clear();
        m_bounds.clear();
        connect(m_panel, &TAsPanel::AnimationFrame, this, [this](int step, const QRect& bounds) {
            // Each frame shows only an outline of the line width.
            const QRegion shape = m_panel->mask();
            QVERIFY(shape.contains(QPoint(1, 1)) && !shape.contains(QPoint(2, 2)));
            QVERIFY(shape.contains(QPoint(bounds.width() - 2, bounds.height() - 2)));
            m_steps << step;
            m_bounds << bounds;
        });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window));
    }
    void cleanup() { delete m_window; }

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
        m_panel->SetEffectOnShow(effect);
        m_panel->SetStepsCount(steps);
        if (parentHidden) m_window->hide();
        m_panel->show();
        QCOMPARE(m_steps, frames);
        QVERIFY(!m_panel->isHidden());
        QCOMPARE(m_panel->geometry(), kOwn);
        QVERIFY(m_panel->mask().isEmpty());
        if (frames.isEmpty()) return;
        QCOMPARE(m_bounds.first(), kFrom);
        QCOMPARE(m_bounds.last(), kOwn);
        // step × (own − From) / 10 cut toward zero: rounding down would put
        // the left edges one pixel further right.
        QCOMPARE(m_bounds[3], QRect(223, 71, 72, 83));
        QCOMPARE(m_bounds[7], QRect(163, 142, 154, 180));
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
        m_panel->SetEffectOnShow(false);
        m_panel->SetEffectOnHide(effect);
        m_panel->show();
        m_panel->hide();
        m_panel->hide();  // already hidden: nothing more
        QVERIFY(m_panel->isHidden());
        QCOMPARE(m_steps, frames);
        QCOMPARE(m_panel->geometry(), kOwn);
        if (!frames.isEmpty()) QCOMPARE(m_bounds.last(), kFrom);
    }
};

QTEST_MAIN(AsPanelTest)
#include "AsPanelTest.moc"
