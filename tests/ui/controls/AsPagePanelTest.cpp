#include <QLineEdit>
#include <QtTest>

#include "ui/controls/AsPagePanel.h"

using corvanta::TAsPagePanel;

class AsPagePanelTest : public QObject {
    Q_OBJECT

    QWidget* window_ = nullptr;
    QWidget* other_ = nullptr;
    TAsPagePanel* panel_ = nullptr;
    QHash<QString, QLineEdit*> edits_;
    QStringList events_;

  private slots:
    void init() {
        window_ = new QWidget;
        edits_["out"] = new QLineEdit(window_);
        panel_ = new TAsPagePanel(window_);
        panel_->setGeometry(10, 40, 300, 100);
        auto* page = new QWidget;
        edits_["in1"] = new QLineEdit(page);
        edits_["in2"] = new QLineEdit(page);
        panel_->addWidget(page);
        panel_->addWidget(new QWidget);
        other_ = new QWidget;
        edits_["other"] = new QLineEdit(other_);
        events_.clear();
        connect(panel_, &TAsPagePanel::OnEnter, this, [this] { events_ << "enter"; });
        connect(panel_, &TAsPagePanel::OnExit, this, [this] { events_ << "exit"; });
        other_->show();
        window_->show();
        window_->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window_));
    }
    void cleanup() {
        delete window_;
        delete other_;
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

QTEST_MAIN(AsPagePanelTest)
#include "AsPagePanelTest.moc"
