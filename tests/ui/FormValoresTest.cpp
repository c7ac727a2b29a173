// The observations dialog on its own: the layout of each way of reading, the
// text it returns, the checks of its cells, its keys, copy and paste.
#include "GrafSession.h"
#include "ui/FormValores.h"

using corvanta::ReadingMode;
using corvanta::TFormValores;
using corvanta::testing::ScriptedDialogs;
using namespace grafsession;

struct Cell {
    int Row, Column;
    QString Text;
};
using Cells = QList<Cell>;
Q_DECLARE_METATYPE(Cells)
Q_DECLARE_METATYPE(ReadingMode)

namespace {

// OkUnfocused: Ok pressed without taking the focus from the cell editor, as by a program.
enum class CloseBy { Ok, OkUnfocused, Cancel, Escape };

// The dialog and its messages. Run opens it for a quantity "L\xB5", lets `act` work on the grid,
// closes it as the user would (one left open fails and is rejected) and gives the text or "<none>".
struct Form {
    ScriptedDialogs Dialogs;
    TFormValores Dialog{Dialogs};

    QByteArray Run(ReadingMode mode, int rows, const std::string& memo,
                   const std::function<void(QTableWidget&)>& act, CloseBy close = CloseBy::Cancel) {
        QTimer::singleShot(0, &Dialog, [&] {
            auto* grid = Dialog.findChild<QTableWidget*>("StringGrid1");
            act(*grid);
            auto* button =
                Dialog.findChild<QPushButton*>(close == CloseBy::Cancel ? "Button1" : "Button2");
            if (close == CloseBy::Escape)
                QTest::keyClick(grid, Qt::Key_Escape);
            else if (close == CloseBy::OkUnfocused)
                button->click();
            else
                Session::Click(button);
            if (!Dialog.isVisible()) return;
            QTest::qFail("the dialog stayed open", __FILE__, __LINE__);
            Dialog.reject();
        });
        const auto text = Dialog.Edit(mode, rows, "L\xB5", memo);
        return text ? QByteArray::fromStdString(*text) : QByteArray("<none>");
    }
};

// Row by row, cells joined by "|".
QStringList Shown(const QTableWidget& grid) {
    return Rows(&grid, 0, grid.columnCount() - 1);
}

}  // namespace

Q_DECLARE_METATYPE(CloseBy)

class FormValoresTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { corvanta::UseWindowFont(); }

    // Each way of reading laid out; reopened, the last table is forgotten.
    void layoutForMode_data() {
        QTest::addColumn<ReadingMode>("mode");
        QTest::addColumn<QStringList>("headers");
        const QString number = "N\u00BA", standard = "Patr\u00F3n", name = "L\u00B5";
        QTest::newRow("Directa") << ReadingMode::Directa << QStringList{number, name};
        QTest::newRow("SX") << ReadingMode::IndirectaSX << QStringList{number, standard, name};
        QTest::newRow("SXXS") << ReadingMode::IndirectaSXXS
                              << QStringList{number, standard, name, name, standard};
        QTest::newRow("X/S") << ReadingMode::IndirectaXS << QStringList{number, standard, name};
        QTest::newRow("SXS") << ReadingMode::IndirectaSXS
                             << QStringList{number, standard, name, standard};
    }
    void layoutForMode() {
        QFETCH(ReadingMode, mode);
        Form f;
        QCOMPARE(f.Dialog.windowTitle(), "Observations");
        QCOMPARE(f.Dialog.findChild<QPushButton*>("Button2")->text(), "Ok");
        QCOMPARE(f.Dialog.findChild<QPushButton*>("Button1")->text(), "Cancel");
        QStringList shownHeaders, numbers;
        QList<int> widths;
        int rowHeight = 0, hiddenWidth = -1, visibleRows = 0;
        f.Run(
            mode, 20, "",
            [&](QTableWidget& grid) {
                for (int c = 0; c < grid.columnCount(); ++c) {
                    shownHeaders << grid.horizontalHeaderItem(c)->text();
                    widths << grid.columnWidth(c);
                }
                numbers << grid.item(0, 0)->text() << grid.item(grid.rowCount() - 1, 0)->text();
                rowHeight = grid.rowHeight(0);
                hiddenWidth = grid.horizontalHeader()->length() - grid.viewport()->width();
                visibleRows = grid.viewport()->height() / rowHeight;
                TypeCell(grid, 19, grid.columnCount() - 1, "9");
            },
            CloseBy::Ok);
        QTEST(shownHeaders, "headers");
        QCOMPARE(widths, QList<int>{31} + QList<int>(widths.size() - 1, 70));
        QCOMPARE(rowHeight, 17);
        QCOMPARE(numbers, (QStringList{"1", "20"}));
        // Every column in view beside the scroll bar, and a screenful of rows.
        QVERIFY2(hiddenWidth <= 0, qPrintable(QString::number(hiddenWidth)));
        QVERIFY(visibleRows >= 12);
        QStringList seen;
        const QByteArray text = f.Run(
            ReadingMode::Directa, 1, "", [&](QTableWidget& grid) { seen = Shown(grid); },
            CloseBy::Ok);
        QCOMPARE(seen, QStringList{"1|"});
        QCOMPARE(text, "Directa\r\n&\r\n");
    }

    // The last cell typed is still in its editor when the dialog closes.
    void editReturnsTheText_data() {
        QTest::addColumn<ReadingMode>("mode");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QByteArray>("memo");
        QTest::addColumn<QStringList>("shown");  // on opening
        QTest::addColumn<Cells>("typed");
        QTest::addColumn<CloseBy>("close");
        QTest::addColumn<QByteArray>("text");
        using enum ReadingMode;
        using enum CloseBy;
        const QStringList empty2 = {"1||", "2||"}, emptyDirecta = {"1|", "2|"};
        const QStringList sxShown = {"1|10.0|10.2", "2|10.0|"};
        const QByteArray sx = "SX\r\n10.0\r10.2\r\n10.0\r&\r\n", none = "<none>";
        // clang-format off
        QTest::newRow("SX typed") << IndirectaSX << 2 << QByteArray() << empty2
            << Cells{{0, 1, "10.0"}, {0, 2, "10.2"}, {1, 1, "10.0"}, {1, 2, "10.3"}} << Ok << QByteArray("SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n");
        QTest::newRow("empty cells as &") << IndirectaSXS << 2 << QByteArray() << QStringList{"1|||", "2|||"}
            << Cells{{0, 2, "5.0"}, {1, 1, "1"}} << Ok << QByteArray("SXS\r\n&\r5.0\r&\r\n1\r&\r&\r\n");
        QTest::newRow("code page") << Directa << 1 << QByteArray() << QStringList{"1|"} << Cells{{0, 1, "5\u00B5"}} << Ok << QByteArray("Directa\r\n5\xB5\r\n");
        QTest::newRow("Ok without focus") << Directa << 2 << QByteArray() << emptyDirecta << Cells{{0, 1, "7"}, {1, 1, "8.5"}} << OkUnfocused << QByteArray("Directa\r\n7\r\n8.5\r\n");
        QTest::newRow("prefill, & shown empty") << IndirectaSX << 2 << sx << sxShown << Cells{} << Ok << sx;
        QTest::newRow("more rows than stored") << IndirectaSX << 3 << sx << QStringList{"1|10.0|10.2", "2|10.0|", "3||"} << Cells{} << Ok << QByteArray("SX\r\n10.0\r10.2\r\n10.0\r&\r\n&\r&\r\n");
        QTest::newRow("other keyword") << Directa << 2 << sx << emptyDirecta << Cells{} << Ok << QByteArray("Directa\r\n&\r\n&\r\n");
        QTest::newRow("two lines only") << Directa << 2 << QByteArray("Directa\r\n5\r\n") << emptyDirecta << Cells{} << Ok << QByteArray("Directa\r\n&\r\n&\r\n");
        QTest::newRow("Cancel") << IndirectaSX << 2 << sx << sxShown << Cells{{1, 2, "3"}} << Cancel << none;
        QTest::newRow("Escape") << Directa << 2 << QByteArray() << emptyDirecta << Cells{} << Escape << none;
        // clang-format on
    }
    void editReturnsTheText() {
        QFETCH(ReadingMode, mode);
        QFETCH(int, rows);
        QFETCH(QByteArray, memo);
        QFETCH(Cells, typed);
        QFETCH(CloseBy, close);
        Form f;
        QStringList seen;
        const auto act = [&](QTableWidget& grid) {
            seen = Shown(grid);
            for (const Cell& cell : typed)
                TypeCell(grid, cell.Row, cell.Column, cell.Text, &cell != &typed.back());
        };
        QTEST(f.Run(mode, rows, memo.toStdString(), act, close), "text");
        QTEST(seen, "shown");
        QVERIFY(f.Dialogs.Log.empty());
    }

    // A click on the cell already selected checks the cells in row order and
    // stops at the first refused, which it selects.
    void cellCheckOnClick_data() {
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<QByteArray>("notReal");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QPoint>("current");  // (row, column)
        // clang-format off
        QTest::newRow("word") << Cells{{0, 2, "abc"}, {1, 1, "1"}} << QByteArray()
            << QStringList{"Error: abc is not a Real number"} << QStringList{"1||", "2|1|"} << QPoint(0, 2);
        QTest::newRow("numbers pass") << Cells{{0, 1, "1.5E-3"}, {0, 2, " 2 "}, {1, 1, "-.5"}, {1, 2, "1e+2"}} << QByteArray()
            << QStringList{} << QStringList{"1|1.5E-3| 2 ", "2|-.5|1e+2"} << QPoint(1, 1);
        QTest::newRow("first in row order only") << Cells{{1, 1, "x"}, {0, 2, "y"}} << QByteArray()
            << QStringList{"Error: y is not a Real number"} << QStringList{"1||", "2|x|"} << QPoint(0, 2);
        QTest::newRow("code page and own message") << Cells{{0, 1, "5\u00B5"}} << QByteArray("no es un n\xFAmero real")
            << QStringList{"Error: 5\u00B5 no es un n\u00FAmero real"} << QStringList{"1||", "2||"} << QPoint(0, 1);
        // clang-format on
    }
    void cellCheckOnClick() {
        QFETCH(Cells, cells);
        QFETCH(QByteArray, notReal);
        QFETCH(QPoint, current);
        Form f;
        if (!notReal.isEmpty()) {
            corvanta::MessageTexts messages;
            messages.NotReal = notReal.toStdString();
            f.Dialog.SetMessages(messages);
        }
        QStringList seen;
        QList<QPoint> selected;
        f.Run(ReadingMode::IndirectaSX, 2, "", [&](QTableWidget& grid) {
            for (const Cell& cell : cells)
                grid.item(cell.Row, cell.Column)->setText(cell.Text);
            grid.setCurrentCell(1, 1);
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                              grid.visualRect(grid.model()->index(1, 1)).center());
            seen = Shown(grid);
            selected << QPoint(grid.currentRow(), grid.currentColumn());
            for (const QTableWidgetItem* item : grid.selectedItems())
                selected << QPoint(item->row(), item->column());
        });
        QTEST(Logged(f.Dialogs), "errors");
        QTEST(seen, "shown");
        QCOMPARE(selected, QList<QPoint>({current, current}));
    }

    void keysOnTheCurrentCell_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("action");  // Delete, type, F2 or double-click
        QTest::addColumn<QString>("text");
        for (const char* row :
             {"1 Delete", "0 Delete 1", "1 type 7", "0 type 1", "0 F2 1", "0 double-click 1"})
            QTest::newRow(row) << QString(row).section(' ', 0, 0).toInt()
                               << QString(row).section(' ', 1, 1)
                               << QString(row).section(' ', 2, 2);
    }
    void keysOnTheCurrentCell() {
        QFETCH(int, column);
        QFETCH(QString, action);
        Form f;
        QString seen;
        bool editorOpen = false;
        f.Run(ReadingMode::Directa, 2, "Directa\r\n4\r\n6\r\n", [&](QTableWidget& grid) {
            grid.setCurrentCell(0, column);
            const QPoint at = grid.visualRect(grid.currentIndex()).center();
            if (action == "Delete") QTest::keyClick(&grid, Qt::Key_Delete);
            if (action == "type") TypeCell(grid, 0, column, "7");
            if (action == "F2") QTest::keyClick(&grid, Qt::Key_F2);
            if (action == "double-click")
                QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
            editorOpen = grid.indexWidget(grid.currentIndex()) != nullptr;
            seen = grid.item(0, column)->text();
        });
        QTEST(seen, "text");
        QVERIFY(!editorOpen);
    }

    void copySelection_data() {
        QTest::addColumn<QRect>("selection");  // x = column, y = row
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("clipboard");
        const int ctrl = Qt::ControlModifier;
        // clang-format off
        QTest::newRow("2x2 values") << QRect(1, 0, 2, 2) << int('c') << ctrl << "a\tb\r\nc\td\r\n";
        QTest::newRow("capital C") << QRect(1, 0, 2, 2) << int('C') << ctrl << "a\tb\r\nc\td\r\n";
        QTest::newRow("with row numbers") << QRect(0, 0, 2, 3) << int('c') << ctrl << "1\ta\r\n2\tc\r\n3\t\r\n";
        QTest::newRow("Ctrl+Shift") << QRect(1, 0, 2, 2) << int('c') << int(Qt::ControlModifier | Qt::ShiftModifier) << "before";
        QTest::newRow("Ctrl+Alt") << QRect(1, 0, 2, 2) << int('c') << int(Qt::ControlModifier | Qt::AltModifier) << "before";
        // clang-format on
    }
    void copySelection() {
        QFETCH(QRect, selection);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        Form f;
        QGuiApplication::clipboard()->setText("before");
        f.Run(ReadingMode::IndirectaSX, 3, "SX\r\na\rb\r\nc\rd\r\n&\r&\r\n",
              [&](QTableWidget& grid) {
                  grid.setCurrentCell(selection.top(), selection.left());
                  grid.clearSelection();
                  grid.setRangeSelected(
                      {selection.top(), selection.left(), selection.bottom(), selection.right()},
                      true);
                  QTest::keyClick(&grid, char(key), Qt::KeyboardModifiers(modifiers));
              });
        QTEST(QGuiApplication::clipboard()->text(), "clipboard");
    }

    // Ctrl+V at the current cell: a three-column spreadsheet selection fills
    // the table and grows it; a refused cell or a paste wider than the table
    // changes nothing and says why.
    void pasteFromASpreadsheet_data() {
        QTest::addColumn<QPoint>("at");  // x = column, y = row
        QTest::addColumn<QString>("clipboard");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("error");
        const QStringList before = {"1|1.0|2.0|3.0|4.0", "2||||"};
        // clang-format off
        QTest::newRow("tabs, grows by a row") << QPoint(2, 1) << "10.1\t10.2\t10.3\r\n10.4\t\t1e-3\r\n"
            << QStringList{"1|1.0|2.0|3.0|4.0", "2||10.1|10.2|10.3", "3||10.4||1e-3"} << QStringList();
        QTest::newRow("a word") << QPoint(2, 0) << "1\t2\t3\n4\tabc\t6\n" << before
            << QStringList{"Error: Nothing was pasted: row 2, column 3: abc is not a Real number"};
        QTest::newRow("decimal comma") << QPoint(1, 1) << "10,2;10,3" << before
            << QStringList{"Error: Nothing was pasted: row 2, column 1: 10,2 is not a Real number"};
        QTest::newRow("too wide") << QPoint(3, 0) << "1\t2\t3" << before
            << QStringList{"Error: Nothing was pasted: the readings have more columns than the table from this cell, or more than 999 rows"};
        // clang-format on
    }
    void pasteFromASpreadsheet() {
        QFETCH(QPoint, at);
        QFETCH(QString, clipboard);
        Form f;
        QGuiApplication::clipboard()->setText(clipboard);
        QStringList grid;
        f.Run(ReadingMode::IndirectaSXXS, 2, "SXXS\r\n1.0\r2.0\r3.0\r4.0\r\n&\r&\r&\r&\r\n",
              [&](QTableWidget& g) {
                  g.setCurrentCell(at.y(), at.x());
                  QTest::keyClick(&g, Qt::Key_V, Qt::ControlModifier);
                  grid = Shown(g);
              });
        QTEST(grid, "shown");
        QTEST(Logged(f.Dialogs), "error");
    }
};

QTEST_MAIN(FormValoresTest)
#include "FormValoresTest.moc"
