#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <functional>
#include <memory>

#include "support/ScriptedDialogs.h"
#include "ui/FormValores.h"
#include "ui/Graf.h"
#include "ui/Startup.h"
#include "ui/controls/AsHyperBtn.h"
#include "ui/controls/AsPagePanel.h"
#include "ui/controls/AsPanel.h"

using corvanta::DialogAnswer;
using corvanta::TAsHyperBtn;

namespace {

const char* const kKindNames[] = {"Message", "Error", "Information", "ConfirmOkCancel",
                                  "ConfirmYesNoCancel"};

// Records like its base, but a question nobody scripted is answered Cancel
// (and stays in the log for the test to see) instead of ending the whole run
// from inside an event handler.
class AnsweringDialogs : public corvanta::testing::ScriptedDialogs {
  public:
    DialogAnswer ConfirmOkCancel(const std::string& text) override {
        if (Answers.empty()) Answers.push_back(DialogAnswer::Cancel);
        return ScriptedDialogs::ConfirmOkCancel(text);
    }
};

// A fresh window with its own language folder, units list and recorded
// dialogs, shown and active so that clicks move the focus as for a user.
class Session {
  public:
    Session() {
        QFile units(Folder.filePath("units.000"));
        units.open(QIODevice::WriteOnly);
        units.write("mg\r\ng\r\nkg\r\n");
        units.close();
        corvanta::GrafEnvironment environment;
        environment.LanguageFolder = Folder.path().toStdString();
        environment.UnitsFile = units.fileName().toStdString();
        Window = std::make_unique<corvanta::TGraf>(environment, &Dialogs);
        Window->show();
        if (!QTest::qWaitForWindowExposed(Window.get())) qFatal("window not exposed");
        QApplication::setActiveWindow(Window.get());
    }

    template <class T = QWidget>
    T* Get(const char* name) const {
        T* widget = Window->findChild<T*>(QString::fromLatin1(name));
        if (!widget) qFatal("no control %s", name);
        return widget;
    }
    QTableWidget* Table() const { return Get<QTableWidget>("AsStringGrid2"); }
    QComboBox* List() const { return Get<QComboBox>("ComboBox2"); }
    int Page() const { return Get<QStackedWidget>("PageControl1")->currentIndex(); }
    int Sheet() const { return Get<corvanta::TAsPagePanel>("AsPagePanel1")->ActivePageIndex(); }

    void Click(const char* name) { Click(Get(name)); }
    static void Click(QWidget* widget, QPoint at = {}) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
    }
    void ClickCell(int row, int column) {
        Click(Table()->viewport(), Table()->visualItemRect(Table()->item(row, column)).center());
    }

    // Types the model into the model box and presses "Update parameters".
    void Update(const QString& model) {
        Click("AsHyperBtn3");
        Click("Memo1");
        QTest::keyClick(Get("Memo1"), Qt::Key_A, Qt::ControlModifier);
        const QStringList lines = model.split('\n');
        for (int i = 0; i < lines.size(); ++i) {
            if (i > 0) QTest::keyClick(Get("Memo1"), Qt::Key_Return);
            QTest::keyClicks(Get("Memo1"), lines[i]);
        }
        Click("Button2");
    }

    // Opens a drop-down list and picks an item with the arrow keys.
    static void Pick(QComboBox* box, int item) {
        if (box->isEditable())
            QTest::keyClick(box, Qt::Key_F4);
        else
            Click(box);
        QWidget* view = box->view();
        if (!view->isVisible()) view = box;  // the press closed it again
        QTest::keyClick(view, Qt::Key_Home);
        for (int i = 0; i < item; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        if (box->view()->isVisible()) QTest::keyClick(box->view(), Qt::Key_Return);
    }

    void Type(const char* field, const QString& text) {
        Click(field);
        QTest::keyClick(Get(field), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Get(field), text);
    }

    // "Distrib|Valor|a" of a record.
    QString Record(int index) const {
        const auto& p = Window->Parameters().at(std::size_t(index));
        return QString("%1|%2|%3").arg(p.Distrib).arg(p.Valor.c_str(), p.a.c_str());
    }
    QStringList Names() const {
        QStringList names;
        for (int row = 0; row < Table()->rowCount(); ++row)
            names << Table()->item(row, 0)->text();
        return names;
    }
    // A point inside the cell clear of its text.
    QColor CellColour(int row, int column) const {
        const QImage image = Table()->viewport()->grab().toImage();
        const QRect cell = Table()->visualItemRect(Table()->item(row, column));
        return image.pixelColor(QPoint(cell.right() - 3, cell.center().y()));
    }
    // Every dialog shown as "Kind: text"; the texts are Windows-1252.
    QStringList Log() const {
        QStringList shown;
        for (const auto& entry : Dialogs.Log)
            shown << QString(kKindNames[int(entry.Kind)]) + ": " +
                         QString::fromLatin1(entry.Text.c_str());
        return shown;
    }

    QTemporaryDir Folder;
    AnsweringDialogs Dialogs;
    std::unique_ptr<corvanta::TGraf> Window;
};

// Runs `act` on the observations dialog once it is open, then lets the
// window go on; a dialog left open is closed so that a fault cannot hang.
void WithDialog(Session& session, const std::function<void(QTableWidget&)>& act) {
    QTimer::singleShot(0, session.Window.get(), [&session, act] {
        corvanta::TFormValores* form = session.Window->ObservationsDialog();
        act(*form->findChild<QTableWidget*>("StringGrid1"));
        if (form->isVisible()) form->reject();
    });
    session.Click("Button20");
}

}  // namespace

class GrafTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { corvanta::UseWindowFont(); }

    void startUpTexts() {
        Session s;
        QCOMPARE(s.Window->windowTitle(), QStringLiteral("  Corvanta"));
        QCOMPARE(s.Get<QLineEdit>("Edit1")->text(), "Type the title of simulation project");
        QCOMPARE(s.Get<QLabel>("Label14")->text(), "(Stop)");
        QStringList rows, headers;
        auto* results = s.Get<QTableWidget>("StringGrid2");
        for (int row = 0; row < results->rowCount(); ++row)
            rows << results->item(row, 0)->text();
        QCOMPARE(rows, QStringList({"Iterations ", "Mean ", "Variance ", "Standard Deviation ",
                                    "Skew ", "Kurtosis ", "Maximum value ", "Minimum value ",
                                    "Most probable number ", "Range "}));
        for (int column = 0; column < 3; ++column)
            headers << s.Table()->horizontalHeaderItem(column)->text();
        QCOMPARE(headers, QStringList({" Parameter", " Units", " Description"}));
        QVERIFY(s.Dialogs.Log.empty());
    }

    void typeAndUpdateModel() {
        Session s;
        auto* memo = s.Get<QPlainTextEdit>("Memo1");
        QVERIFY(!s.Get("Button2")->isVisible() && !s.Get("AsHyperBtn5")->isVisible());
        s.Update("y = a*k\nk = b/c");
        QCOMPARE(QApplication::focusWidget(), memo);
        QVERIFY(s.Get("Button2")->isVisible() && s.Get("AsHyperBtn5")->isVisible());
        QCOMPARE(s.Names(), QStringList({"y", "a", "k", "b", "c"}));
        QVERIFY(!s.Get("Panel3")->isVisible());
        QVERIFY(s.Dialogs.Log.empty());
        s.ClickCell(1, 2);
        QVERIFY(!s.Get("Button2")->isVisible() && !s.Get("AsHyperBtn5")->isVisible());
        QCOMPARE(s.Get<QLabel>("Label17")->text(), "a");
    }

    void rejectedModelKeepsTheTable_data() {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no output") << "x = x + 1"
                                   << "Error: Error. Undefined output parameter.";
        QTest::newRow("two outputs") << "y = a\nz = b"
                                     << "Error: Error. Too many output parameter.";
        QTest::newRow("function without bracket")
            << "y = sin + 1" << "Message: ERROR: function sin must be followed by \"(\"";
    }
    void rejectedModelKeepsTheTable() {
        QFETCH(QString, model);
        QFETCH(QString, shown);
        Session s;
        s.Update("y = a*k\nk = b/c");
        s.Update(model);
        QCOMPARE(s.Log(), QStringList{shown});
        QCOMPARE(s.Names(), QStringList({"y", "a", "k", "b", "c"}));
        QCOMPARE(s.Window->Parameters().size(), std::size_t(5));
        QCOMPARE(QApplication::focusWidget(), s.Get("Memo1"));
    }

    void tableColoursAndRoles() {
        Session s;
        s.Update("y = a*k\nk = b/c");
        s.ClickCell(1, 2);
        QCOMPARE(s.CellColour(1, 1), QColor(Qt::white));
        QCOMPARE(s.CellColour(1, 2), QColor(218, 227, 243));
        Session::Pick(s.List(), 1);
        s.Type("Edit1_Normal", "1");
        s.Type("Edit2_Normal", "0.1");
        s.Click("Button1");
        QCOMPARE(s.CellColour(1, 1), QColor(236, 249, 237));
        QCOMPARE(s.CellColour(2, 1), QColor(239, 237, 226));
        QCOMPARE(s.CellColour(2, 2), QColor(222, 226, 231));  // k is selected next

        s.ClickCell(0, 2);
        QCOMPARE(s.Sheet(), 19);
        QVERIFY(!s.List()->isEnabled());
        QCOMPARE(s.List()->currentIndex(), -1);
        s.ClickCell(3, 2);
        QVERIFY(s.List()->isEnabled());
        QCOMPARE(s.List()->currentIndex(), 0);
        QCOMPARE(s.Sheet(), 0);
    }

    // After the model is edited, a click on the table offers the update.
    void editedModelAsksOnTableClick_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QStringList>("names");
        const QStringList before{"y", "a", "b"}, after{"y", "a", "b", "d"};
        QTest::newRow("other row, Cancel") << 2 << 2 << false << before;
        QTest::newRow("other row, OK") << 2 << 2 << true << after;
        QTest::newRow("same row, name column") << 1 << 0 << false << before;
    }
    void editedModelAsksOnTableClick() {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, ok);
        QFETCH(QStringList, names);
        Session s;
        s.Update("y = a + b");
        s.ClickCell(1, 2);
        Session::Pick(s.List(), 4);
        s.Type("Edit1_Constante", "7");
        s.Click("Button7");
        s.ClickCell(1, 2);
        s.Click("Memo1");
        QTest::keyClick(s.Get("Memo1"), Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(s.Get("Memo1"), " + d");
        s.Dialogs.Answers = {ok ? DialogAnswer::Ok : DialogAnswer::Cancel};
        s.ClickCell(row, column);
        QCOMPARE(s.Log(),
                 QStringList({"ConfirmOkCancel: Model has been updated. Want to update parameters?"}));
        QCOMPARE(s.Names(), names);
        QCOMPARE(s.Record(1), "4|7|");
    }

    void unitsBox_data() {
        QTest::addColumn<int>("item");  // -1: typed instead
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("unit");
        QTest::newRow("from the list") << 2 << "" << "kg";
        QTest::newRow("typed, not in the list") << -1 << "mmHg" << "mmHg";
    }
    void unitsBox() {
        QFETCH(int, item);
        QFETCH(QString, typed);
        QFETCH(QString, unit);
        Session s;
        s.Update("y = a + b");
        s.ClickCell(2, 1);
        auto* box = s.Get<QComboBox>("cbInplaceComboBox");
        QVERIFY(box->isVisible());
        const QRect cell = s.Table()->visualItemRect(s.Table()->item(2, 1));
        const QPoint corner = s.Table()->viewport()->mapTo(s.Table(), cell.topLeft());
        QCOMPARE(box->geometry(), QRect(corner - QPoint(1, 1), cell.size() + QSize(3, 1)));
        QCOMPARE(box->count(), 3);
        if (item >= 0)
            Session::Pick(box, item);
        else
            QTest::keyClicks(box, typed);
        QCOMPARE(s.Table()->item(2, 1)->text(), unit);
        s.ClickCell(1, 2);
        QVERIFY(!box->isVisible());
        QCOMPARE(s.Table()->item(2, 1)->text(), unit);
        QCOMPARE(QString::fromStdString(s.Window->Parameters()[2].Unidad), unit);
    }

    void applyPage_data() {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("page");
        QTest::addColumn<QString>("edit1");
        QTest::addColumn<QString>("edit2");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QByteArray>("error");
        const char* kErrorForm = "Error of parameters.. Form must be real > 0";
        const char* kDegrees = "Degrees of freedom must be integer > 0";
        QTest::newRow("Normal") << 1 << 1 << "10" << "0.5" << "1|10|0.5" << QByteArray();
        QTest::newRow("Normal empty mean") << 1 << 1 << "" << "1" << "0||" << QByteArray();
        QTest::newRow("Normal not real")
            << 1 << 1 << "abc" << "1" << "0||" << QByteArray("abc is not a Real number");
        QTest::newRow("Rectangular") << 1 << 2 << "1e-3" << "2" << "2|1e-3|2" << QByteArray();
        QTest::newRow("Rectangular empty half") << 1 << 2 << "x" << "" << "0||" << QByteArray();
        QTest::newRow("Triangular") << 1 << 3 << "-1" << "0.1" << "3|-1|0.1" << QByteArray();
        QTest::newRow("Constant, last row") << 3 << 4 << "3.5" << "" << "4|3.5|" << QByteArray();
        QTest::newRow("Gamma") << 1 << 5 << "2" << "" << "5|2|" << QByteArray();
        QTest::newRow("Gamma negative") << 1 << 5 << "-1" << "" << "0||" << QByteArray(kErrorForm);
        QTest::newRow("Exponential") << 1 << 6 << "" << "" << "6||" << QByteArray();
        QTest::newRow("Beta") << 1 << 7 << "2" << "3" << "7|2|3" << QByteArray();
        QTest::newRow("Beta zero")
            << 1 << 7 << "2" << "0" << "0||" << QByteArray("a and b must be real numbers");
        QTest::newRow("Student no mean") << 1 << 8 << "5" << "" << "8|5|0" << QByteArray();
        QTest::newRow("Student not integer")
            << 1 << 8 << "2.5" << "" << "0||" << QByteArray("2.5 is not an Integer");
        QTest::newRow("Student zero") << 1 << 8 << "0" << "1" << "0||" << QByteArray(kDegrees);
        QTest::newRow("Poisson") << 1 << 9 << "4" << "" << "9|4|" << QByteArray();
        QTest::newRow("Binomial") << 1 << 10 << "10" << "0.3" << "10|10|0.3" << QByteArray();
        QTest::newRow("NegBinomial n 0.5")
            << 1 << 11 << "0.5" << "0.5" << "11|0.5|0.5" << QByteArray();
        QTest::newRow("NegBinomial p 1")
            << 1 << 11 << "3" << "1" << "0||"
            << QByteArray("Error of parameters.. n must be real > 0 and p must take values "
                          "between 0 and 1");
        QTest::newRow("Von Mises 9.99") << 1 << 12 << "9.99" << "" << "12|9.99|" << QByteArray();
        QTest::newRow("Von Mises 10")
            << 1 << 12 << "10" << "" << "0||"
            << QByteArray("Error of parameters.. k must be real and take values between 0 and 10");
        QTest::newRow("Cauchy") << 1 << 13 << "" << "" << "13||" << QByteArray();
        QTest::newRow("Weibull zero") << 1 << 14 << "0" << "" << "0||" << QByteArray(kErrorForm);
        QTest::newRow("Xi square") << 1 << 15 << "3" << "" << "15|3|" << QByteArray();
        QTest::newRow("Xi square zero") << 1 << 15 << "0" << "" << "0||" << QByteArray(kDegrees);
        QTest::newRow("LogNormal") << 1 << 16 << "1" << "0.2" << "16|1|0.2" << QByteArray();
        QTest::newRow("LogNormal not real")
            << 1 << 16 << "x" << "0.2" << "0||" << QByteArray("x no es un n\xFAmero real");
        QTest::newRow("LogNormal negative")
            << 1 << 16 << "1" << "-1" << "0||" << QByteArray("Media y Desv\xEDo deben ser reales > 0");
    }
    void applyPage() {
        QFETCH(int, row);
        QFETCH(int, page);
        QFETCH(QString, edit1);
        QFETCH(QString, edit2);
        QFETCH(QString, stored);
        QFETCH(QByteArray, error);
        Session s;
        s.Update("y = a + b + c");
        s.ClickCell(row, 2);
        Session::Pick(s.List(), page);
        QCOMPARE(s.Sheet(), page);
        auto* sheet = s.Get<corvanta::TAsPagePanel>("AsPagePanel1")->currentWidget();
        const QList<QLineEdit*> fields = sheet->findChildren<QLineEdit*>();
        QList<TAsHyperBtn*> apply = sheet->findChildren<TAsHyperBtn*>();
        QCOMPARE(apply.size(), 1);
        QCOMPARE(apply[0]->Caption(), "Apply");
        for (int i = 0; i < fields.size(); ++i) {
            if (!(i == 0 ? edit1 : edit2).isEmpty())
                s.Type(fields[i]->objectName().toLatin1(), i == 0 ? edit1 : edit2);
        }
        Session::Click(apply[0]);
        QCOMPARE(s.Record(row), stored);
        QCOMPARE(s.Log(),
                 error.isEmpty() ? QStringList() : QStringList{"Error: " + QString::fromLatin1(error)});
        QCOMPARE(s.Table()->currentRow(), (row + 1) % 4);
        QCOMPARE(QApplication::focusWidget(), s.Table());
    }

    void leavingThePanelAsks_data() {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("stored");
        QTest::newRow("OK applies") << true << "1|10|0.5";
        QTest::newRow("Cancel keeps") << false << "0||";
    }
    void leavingThePanelAsks() {
        QFETCH(bool, ok);
        QFETCH(QString, stored);
        Session s;
        s.Update("y = a + b + c");
        s.ClickCell(1, 2);
        Session::Pick(s.List(), 1);
        s.Type("Edit1_Normal", "10");
        s.Type("Edit2_Normal", "0.5");
        s.Dialogs.Answers = {ok ? DialogAnswer::Ok : DialogAnswer::Cancel};
        s.ClickCell(3, 2);
        QCOMPARE(s.Log(), QStringList({"ConfirmOkCancel: Want to assign this distribution?"}));
        QCOMPARE(s.Record(1), stored);
        QCOMPARE(s.Table()->currentRow(), 3);
    }

    void experimentalReadings_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("student");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("mean");
        QTest::addColumn<double>("a");
        QTest::addColumn<QString>("degrees");
        const double t2 = 4.30265, t1 = 12.7062;  // Student's t, 95 %, 2 and 1 degrees
        QTest::newRow("Direct") << 1 << false << QStringList{"10.1", "10.3", "10.2"} << "10.2"
                                << t2 * (0.1 / std::sqrt(3.0)) / 1.96 << "2";
        QTest::newRow("SX, t") << 2 << true << QStringList{"10.0|10.2", "10.0|10.3"} << "0.25"
                               << 0.05 << "1";
        QTest::newRow("SXXS") << 3 << false << QStringList{"1|3|5|1", "2|6|6|2"} << "3.5"
                              << t1 * 0.5 / 1.96 << "1";
        QTest::newRow("X/S, t") << 4 << true << QStringList{"2|4", "4|10"} << "2.25" << 0.25
                                << "1";
        QTest::newRow("SXS, t") << 5 << true << QStringList{"1|5|3", "1|6|3", "1|8|3"}
                                << "4.33333333333333" << std::sqrt(7.0 / 3.0) / std::sqrt(3.0)
                                << "2";
    }
    void experimentalReadings() {
        QFETCH(int, mode);
        QFETCH(bool, student);
        QFETCH(QStringList, rows);
        QFETCH(QString, mean);
        QFETCH(double, a);
        QFETCH(QString, degrees);
        Session s;
        s.Update("y = a + b");
        s.ClickCell(1, 2);
        Session::Pick(s.List(), 17);
        s.Click(QString("RadioButton%1").arg(mode).toLatin1());
        s.Click(student ? "RadioButton7" : "RadioButton6");
        s.Type("SpinEdit2", QString::number(rows.size()));
        WithDialog(s, [&](QTableWidget& grid) {
            for (int r = 0; r < rows.size(); ++r) {
                const QStringList cells = rows[r].split('|');
                for (int c = 0; c < cells.size(); ++c)
                    grid.item(r, c + 1)->setText(cells[c]);
            }
            Session::Click(s.Window->ObservationsDialog()->findChild<QPushButton*>("Button2"));
        });
        s.Click("Button4");
        const auto& p = s.Window->Parameters()[1];
        QCOMPARE(p.Distrib, 17);
        QCOMPARE(QString::fromStdString(p.Valor), mean);
        QVERIFY2(std::abs(std::stod(p.a) / a - 1) < 1e-6, p.a.c_str());
        QCOMPARE(QString::fromStdString(p.b), student ? "Student" : "Normal");
        QCOMPARE(QString::fromStdString(p.Grados), degrees);
        QCOMPARE(s.CellColour(1, 1), QColor(219, 239, 218));
        QVERIFY(s.Dialogs.Log.empty());

        // Shown again, the stored readings fill the dialog; Ctrl+C copies them.
        s.ClickCell(1, 2);
        QStringList shown;
        WithDialog(s, [&](QTableWidget& grid) {
            for (int r = 0; r < grid.rowCount(); ++r) {
                QStringList cells;
                for (int c = 1; c < grid.columnCount(); ++c)
                    cells << grid.item(r, c)->text();
                shown << cells.join('|');
            }
            grid.setRangeSelected({0, 1, grid.rowCount() - 1, grid.columnCount() - 1}, true);
            QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
        });
        QCOMPARE(shown, rows);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 rows.join("\r\n").replace('|', '\t') + "\r\n");
    }

    void continueButton_data() {
        QTest::addColumn<int>("assigned");  // inputs given a constant first
        QTest::addColumn<int>("selected");
        QTest::newRow("no input assigned") << 0 << 1;
        QTest::newRow("second input unassigned") << 1 << 2;
        QTest::newRow("complete") << 2 << -1;
    }
    void continueButton() {
        QFETCH(int, assigned);
        QFETCH(int, selected);
        Session s;
        s.Update("y = a + b");
        for (int row = 1; row <= assigned; ++row) {
            s.ClickCell(row, 2);
            Session::Pick(s.List(), 4);
            s.Type("Edit1_Constante", "1");
            s.Click("Button7");
        }
        s.ClickCell(0, 2);
        s.Click("Button3");
        if (selected < 0) {
            QVERIFY(s.Dialogs.Log.empty());
            QCOMPARE(s.Page(), 2);
            QVERIFY(s.Get<TAsHyperBtn>("AsHyperBtn4")->ButtonOn());
            return;
        }
        QCOMPARE(s.Log(), QStringList({"Message: Cannot run the simulation. Incomplete "
                                       "initialization of parameters"}));
        QCOMPARE(s.Table()->currentRow(), selected);
        QCOMPARE(s.Page(), 1);
    }

    void functionPalette_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("selected");  // characters selected before the caret
        QTest::addColumn<QString>("text");
        QTest::newRow("ln around a+b") << "AsHyperBtn8" << 3 << "y = LN(a+b)";
        QTest::newRow("pi replaces a+b") << "AsHyperBtn12" << 3 << "y = PI";
        QTest::newRow("sin, nothing selected") << "AsHyperBtn14" << 0 << "y = a+bSIN()";
        QTest::newRow("cyc-grad") << "AsHyperBtn41" << 1 << "y = a+CYCLETOGRAD(b)";
    }
    void functionPalette() {
        QFETCH(QString, button);
        QFETCH(int, selected);
        QFETCH(QString, text);
        Session s;
        s.Click("AsHyperBtn3");
        s.Click("Memo1");
        QTest::keyClicks(s.Get("Memo1"), "y = a+b");
        for (int i = 0; i < selected; ++i)
            QTest::keyClick(s.Get("Memo1"), Qt::Key_Left, Qt::ShiftModifier);
        auto* palette = s.Get<corvanta::TAsPanel>("AsPanel2");
        int frames = 0;
        connect(palette, &corvanta::TAsPanel::AnimationFrame, this, [&] { ++frames; });
        s.Click("AsHyperBtn5");
        QVERIFY(palette->isVisible());
        QCOMPARE(frames, 11);
        s.Click(button.toLatin1());
        auto* memo = s.Get<QPlainTextEdit>("Memo1");
        QCOMPARE(memo->toPlainText(), text);
        QCOMPARE(memo->textCursor().position(), int(text.size()));
        QVERIFY(!memo->textCursor().hasSelection());
        QVERIFY(!palette->isVisible());
        QCOMPARE(QApplication::focusWidget(), memo);
        s.Click("AsHyperBtn5");
        s.Click("Label94");
        QVERIFY(!palette->isVisible());
    }

    void pageButtons_data() {
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<int>("page");
        QTest::newRow("at start") << QStringList{} << 0;
        QTest::newRow("Model") << QStringList{"AsHyperBtn3"} << 1;
        QTest::newRow("Model twice") << QStringList{"AsHyperBtn3", "AsHyperBtn3"} << 1;
        QTest::newRow("General again") << QStringList{"AsHyperBtn2"} << 0;
        QTest::newRow("mixed") << QStringList{"AsHyperBtn4", "AsHyperBtn4", "AsHyperBtn2",
                                              "AsHyperBtn3", "AsHyperBtn4"}
                               << 2;
    }
    void pageButtons() {
        QFETCH(QStringList, clicks);
        QFETCH(int, page);
        Session s;
        for (const QString& name : clicks)
            s.Click(name.toLatin1());
        QCOMPARE(s.Page(), page);
        for (int i = 0; i < 3; ++i) {
            auto* button = s.Get<TAsHyperBtn>(QString("AsHyperBtn%1").arg(i + 2).toLatin1());
            QCOMPARE(button->ButtonOn(), i == page);
            QCOMPARE(button->CaptionColor(), i == page ? QColor(255, 255, 0) : QColor(Qt::white));
            QCOMPARE(button->font().bold(), i == page);
        }
    }

    void clickOnCutOutCorner_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Continue") << "Button3";
        QTest::newRow("Simulation page") << "AsHyperBtn4";
    }
    void clickOnCutOutCorner() {
        QFETCH(QString, button);
        Session s;
        s.Update("y = a");
        Session::Click(s.Get(button.toLatin1()), QPoint(0, 0));
        QVERIFY(s.Dialogs.Log.empty());
        QCOMPARE(s.Page(), 1);
    }

    void menuItems() {
        Session s;
        auto* file = s.Get<QMenu>("Archivo1");
        file->popup(s.Window->mapToGlobal(QPoint(10, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        const QList<QAction*> items = file->actions();
        file->setActiveAction(items[0]);
        const QImage image = file->grab().toImage();
        const QPoint inset(2, 3);
        QCOMPARE(image.pixelColor(file->actionGeometry(items[0]).topLeft() + inset),
                 QColor(218, 227, 243));
        QCOMPARE(image.pixelColor(file->actionGeometry(items[1]).topLeft() + inset),
                 QColor(Qt::white));
        file->hide();
        auto* language = s.Get<QMenu>("Lenguaje1");
        QCOMPARE(file->actionGeometry(items[0]).height(),
                 language->actionGeometry(language->actions()[0]).height() + 20);
    }

    void openAtStart() {
        Session s;
        const std::string path = CORVANTA_SOURCE_DIR "/samples/mass-calibration.cvm";
        s.Window->OpenFileAtStart(path);
        QVERIFY(s.Dialogs.Log.empty());
        QCOMPARE(s.Get<QLineEdit>("Edit1")->text(), "Mass calibration");
        QCOMPARE(s.Get<QPlainTextEdit>("Memo1")->toPlainText(),
                 "y = (mRc + dmRc)*(1 + (ra - ra0)*(1/rW - 1/rR)) - mnom");
        QCOMPARE(s.Names(), QStringList({"y", "mRc", "dmRc", "ra", "ra0", "rW", "rR", "mnom"}));
        QCOMPARE(s.Page(), 1);
        QCOMPARE(s.Window->windowTitle(), QString::fromStdString(" Corvanta - " + path));
        s.Click("Button3");
        QCOMPARE(s.Page(), 2);
    }

    void openDamagedFile_data() {
        QTest::addColumn<QByteArray>("content");  // "-": no file at all
        QTest::addColumn<QString>("shown");       // %1: the path
        const QString missingTitle =
            "Error: The file \"%1\" is not a complete model file: the tag \"%Titulo%\" is missing.";
        QTest::newRow("garbage") << QByteArray("hello\r\n\x01\xFF world\r\n") << missingTitle;
        QTest::newRow("empty") << QByteArray() << missingTitle;
        QTest::newRow("missing") << QByteArray("-")
                                 << "Message: Cannot open file \"%1\". No such file or directory";
    }
    void openDamagedFile() {
        QFETCH(QByteArray, content);
        QFETCH(QString, shown);
        Session s;
        const QString path = s.Folder.filePath("model.cvm");
        if (content != "-") {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(content);
        }
        s.Window->OpenFileAtStart(path.toStdString());
        QCOMPARE(s.Log(), QStringList{shown.arg(path)});
        QVERIFY(s.Window->Parameters().empty());
        QCOMPARE(s.Get<QPlainTextEdit>("Memo1")->toPlainText(), QString());
        QCOMPARE(s.Get<QLineEdit>("Edit1")->text(), "Type the title of simulation project");
        QCOMPARE(s.Window->windowTitle(), QStringLiteral("  Corvanta"));
        QCOMPARE(s.Page(), 0);
    }
};

QTEST_MAIN(GrafTest)
#include "GrafTest.moc"
