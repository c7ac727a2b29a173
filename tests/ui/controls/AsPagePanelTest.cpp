#include <QLineEdit>
#include <QtTest>

#include "ui/controls/AsPagePanel.h"

using corvanta::TAsPagePanel;

class AsPagePanelTest : public QObject {
    Q_OBJECT

    QWidget* m_window = nullptr;
    QWidget* m_other = nullptr;
    TAsPagePanel* m_panel = nullptr;
    QHash<QString, QLineEdit*> m_edits;
    QStringList m_events;

  private slots:
    void init() {
        m_window = new QWidget;
        m_edits["out"] = new QLineEdit(m_window);
        m_panel = new TAsPagePanel(m_window);
        m_panel->setGeometry(10, 40, 300, 100);
        auto* page = new QWidget;
        m_edits["in1"] = new QLineEdit(page);
        m_edits["in2"] = new QLineEdit(page);
        m_panel->addWidget(page);
        m_panel->addWidget(new QWidget);
        m_other = new QWidget;
        m_edits["other"] = new QLineEdit(m_other);
        m_events.clear();
        connect(m_panel, &TAsPagePanel::OnEnter, this, [this] { m_events << "enter"; });
        connect(m_panel, &TAsPagePanel::OnExit, this, [this] { m_events << "exit"; });
        m_other->show();
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window));
    }
    void cleanup() {
        delete m_window;
        delete m_other;
    }

    // Each row names the moves: an edit to focus, "other" for the edit of
    // another window, "back" to activate the main window again, which gives
    // the focus back to the control that had it.
    void focusMoves_data() {
        QTest::addColumn<QString>("events");
        QTest::newRow("out in1 in2") << "enter";
        QTest::newRow("in1 in2 out in2") << "enter exit enter";
        QTest::newRow("in1 other back") << "enter";
        QTest::newRow("in1 other back out") << "enter exit";
    }
    void focusMoves() {
        for (const QString& move : QString(QTest::currentDataTag()).split(' ')) {
            QWidget* window = move == "other" ? m_other : m_window;
            if (move == "other" || move == "back") {
                window->activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(window));
            }
            if (move != "back") m_edits[move]->setFocus();
        }
        QTEST(m_events.join(' '), "events");
    }
};

QTEST_MAIN(AsPagePanelTest)
#include "AsPagePanelTest.moc"
