// The observations dialog on its own: its layouts, the text it returns, its cell checks and keys.
#include "GrafSession.h"
#include "ui/FormValores.h"

using corvanta::ReadingMode;
using namespace grafsession;

using Cells = QList<std::tuple<int, int, QString>>;  // row, column, text
Q_DECLARE_METATYPE(Cells)
Q_DECLARE_METATYPE(ReadingMode)

namespace {

// OkUnfocused: Ok pressed without taking the focus from the cell editor, as by a program.
enum class CloseBy { Ok, OkUnfocused, Cancel, Escape };

// The dialog for a quantity "L\xB5": Run notes its table on opening and after `act`, closes it as
// the user would (one left open fails and is rejected) and gives the text or "<none>".
struct Form {
    corvanta::testing::ScriptedDialogs Dialogs;
    corvanta::TFormValores Dialog{Dialogs};
    QStringList Opened, Shown;  // row by row, cells joined by "|"

    QByteArray Run(ReadingMode mode, int rows, const QByteArray& memo,
                   const std::function<void(QTableWidget&)>& act, CloseBy close = CloseBy::Cancel) {
        QTimer::singleShot(0, &Dialog, [&] {
            auto* grid = Dialog.findChild<QTableWidget*>("StringGrid1");
            Opened = Rows(grid, 0, grid->columnCount() - 1);
            if (act) act(*grid);
            Shown = Rows(grid, 0, grid->columnCount() - 1);
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
        const auto text = Dialog.Edit(mode, rows, "L\xB5", memo.toStdString());
        return text ? QByteArray::fromStdString(*text) : QByteArray("<none>");
    }
};

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
        using enum ReadingMode;
        QTest::newRow("Directa") << Directa << QStringList{number, name};
        QTest::newRow("SX") << IndirectaSX << QStringList{number, standard, name};
        QTest::newRow("SXXS") << IndirectaSXXS
                              << QStringList{number, standard, name, name, standard};
        QTest::newRow("X/S") << IndirectaXS << QStringList{number, standard, name};
        QTest::newRow("SXS") << IndirectaSXS << QStringList{number, standard, name, standard};
    }
    void layoutForMode() {
        QFETCH(ReadingMode, mode);
        Form f;
        QCOMPARE(f.Dialog.windowTitle(), "Observations");
        QCOMPARE(f.Dialog.findChild<QPushButton*>("Button2")->text(), "Ok");
        QCOMPARE(f.Dialog.findChild<QPushButton*>("Button1")->text(), "Cancel");
        f.Run(mode, 20, "", {});
        const auto* grid = f.Dialog.findChild<QTableWidget*>("StringGrid1");
        QStringList headers;
        QList<int> widths;
        for (int c = 0; c < grid->columnCount(); ++c) {
            headers << grid->horizontalHeaderItem(c)->text();
            widths << grid->columnWidth(c);
        }
        QTEST(headers, "headers");
        QCOMPARE(widths, QList<int>{31} + QList<int>(widths.size() - 1, 70));
        QCOMPARE(grid->rowHeight(0), 17);
        QCOMPARE(f.Opened.last().section('|', 0, 0), "20");
        // Every column in view beside the scroll bar, and a screenful of rows.
        const int hidden = grid->horizontalHeader()->length() - grid->viewport()->width();
        QVERIFY2(hidden <= 0, qPrintable(QString::number(hidden)));
        QVERIFY(grid->viewport()->height() / 17 >= 12);
        QCOMPARE(f.Run(ReadingMode::Directa, 1, "", {}, CloseBy::Ok), "Directa\r\n&\r\n");
        QCOMPARE(f.Opened, QStringList{"1|"});
    }

    // The last cell typed is still in its editor when the dialog closes; "&" is shown empty.
    void editReturnsTheText_data() {
        QTest::addColumn<ReadingMode>("mode");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QByteArray>("memo");
        QTest::addColumn<Cells>("typed");
        QTest::addColumn<CloseBy>("close");
        QTest::addColumn<QByteArray>("text");
        using enum ReadingMode;
        using enum CloseBy;
        const QByteArray sx = "SX\r\n10.0\r10.2\r\n10.0\r&\r\n", none = "<none>";
        // clang-format off
        QTest::newRow("SX typed") << IndirectaSX << 2 << QByteArray()
            << Cells{{0, 1, "10.0"}, {0, 2, "10.2"}, {1, 1, "10.0"}, {1, 2, "10.3"}} << Ok << QByteArray("SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n");
        QTest::newRow("empty cells as &") << IndirectaSXS << 2 << QByteArray()
            << Cells{{0, 2, "5.0"}, {1, 1, "1"}} << Ok << QByteArray("SXS\r\n&\r5.0\r&\r\n1\r&\r&\r\n");
        QTest::newRow("code page") << Directa << 1 << QByteArray() << Cells{{0, 1, "5\u00B5"}} << Ok << QByteArray("Directa\r\n5\xB5\r\n");
        QTest::newRow("Ok without focus") << Directa << 2 << QByteArray() << Cells{{0, 1, "7"}, {1, 1, "8.5"}} << OkUnfocused << QByteArray("Directa\r\n7\r\n8.5\r\n");
        QTest::newRow("prefill, & shown empty") << IndirectaSX << 2 << sx << Cells{} << Ok << sx;
        QTest::newRow("Cancel") << IndirectaSX << 2 << sx << Cells{{1, 2, "3"}} << Cancel << none;
        QTest::newRow("Escape") << Directa << 2 << QByteArray() << Cells{} << Escape << none;
        // clang-format on
    }
    void editReturnsTheText() {
        QFETCH(ReadingMode, mode);
        QFETCH(int, rows);
        QFETCH(QByteArray, memo);
        QFETCH(Cells, typed);
        QFETCH(CloseBy, close);
        Form f;
        const auto act = [&](QTableWidget& grid) {
            for (const auto& [row, column, text] : typed)
                TypeCell(grid, row, column, text, &text != &std::get<2>(typed.back()));
        };
        QTEST(f.Run(mode, rows, memo, act, close), "text");
        if (!memo.isEmpty()) QCOMPARE(f.Opened, (QStringList{"1|10.0|10.2", "2|10.0|"}));
        QVERIFY(f.Dialogs.Log.empty());
    }

    // A click on the cell already selected checks the cells in row order and stops at the first
    // refused, which it selects.
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
        corvanta::MessageTexts messages;
        messages.NotReal = notReal.toStdString();
        if (!notReal.isEmpty()) f.Dialog.SetMessages(messages);
        QList<QPoint> selected;
        f.Run(ReadingMode::IndirectaSX, 2, "", [&](QTableWidget& grid) {
            for (const auto& [row, column, text] : cells)
                grid.item(row, column)->setText(text);
            grid.setCurrentCell(1, 1);
            Session::Click(grid.viewport(), grid.visualRect(grid.currentIndex()).center());
            selected << QPoint(grid.currentRow(), grid.currentColumn());
            for (const QTableWidgetItem* item : grid.selectedItems())
                selected << QPoint(item->row(), item->column());
        });
        QTEST(Logged(f.Dialogs), "errors");
        QTEST(f.Shown, "shown");
        QCOMPARE(selected, QList<QPoint>({current, current}));
    }

    // Keys on the selection (x column, y row; its top left is the current cell): Delete, typing,
    // F2 and a double-click leave row numbers alone; Ctrl+C copies; Ctrl+V pastes the clipboard
    // and grows the table, or refuses it whole and says why. No cell is left in its editor.
    void keys_data() {
        QTest::addColumn<QByteArray>("memo");
        QTest::addColumn<QRect>("selection");
        QTest::addColumn<QString>("keys");       // a key sequence, or "double-click"
        QTest::addColumn<QString>("clipboard");  // pasted, or copied (empty: "before" kept)
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QStringList>("error");
        const QByteArray directa = "Directa\r\n4\r\n6\r\n",
                         letters = "SX\r\na\rb\r\nc\rd\r\n&\r&\r\n",
                         sxxs = "SXXS\r\n1.0\r2.0\r3.0\r4.0\r\n&\r&\r&\r&\r\n";
        const QStringList kept = {"1|4", "2|6"}, table = {"1|a|b", "2|c|d", "3||"},
                          before = {"1|1.0|2.0|3.0|4.0", "2||||"}, none;
        const QString pasted = "Error: Nothing was pasted: ", sx2 = "a\tb\r\nc\td\r\n";
        const QRect number(0, 0, 1, 1), twoByTwo(1, 0, 2, 2);
        // clang-format off
        QTest::newRow("Delete") << directa << QRect(1, 0, 1, 1) << "Delete" << "" << QStringList{"1|", "2|6"} << none;
        QTest::newRow("Delete, number") << directa << number << "Delete" << "" << kept << none;
        QTest::newRow("type, number") << directa << number << "7" << "" << kept << none;
        QTest::newRow("F2, number") << directa << number << "F2" << "" << kept << none;
        QTest::newRow("double-click, number") << directa << number << "double-click" << "" << kept << none;
        QTest::newRow("copy 2x2") << letters << twoByTwo << "Ctrl+c" << sx2 << table << none;
        QTest::newRow("capital C") << letters << twoByTwo << "Ctrl+C" << sx2 << table << none;
        QTest::newRow("with row numbers") << letters << QRect(0, 0, 2, 3) << "Ctrl+c" << "1\ta\r\n2\tc\r\n3\t\r\n" << table << none;
        QTest::newRow("Ctrl+Shift") << letters << twoByTwo << "Ctrl+Shift+c" << "" << table << none;
        QTest::newRow("Ctrl+Alt") << letters << twoByTwo << "Ctrl+Alt+c" << "" << table << none;
        QTest::newRow("paste, grows by a row") << sxxs << QRect(2, 1, 1, 1) << "Ctrl+V" << "10.1\t10.2\t10.3\r\n10.4\t\t1e-3\r\n"
            << QStringList{"1|1.0|2.0|3.0|4.0", "2||10.1|10.2|10.3", "3||10.4||1e-3"} << none;
        QTest::newRow("paste, decimal comma") << sxxs << QRect(1, 1, 1, 1) << "Ctrl+V" << "10,2;10,3" << before
            << QStringList{pasted + "row 2, column 1: 10,2 is not a Real number"};
        QTest::newRow("paste a word") << sxxs << QRect(2, 0, 1, 1) << "Ctrl+V" << "1\t2\t3\n4\tabc\t6\n" << before
            << QStringList{pasted + "row 2, column 3: abc is not a Real number"};
        QTest::newRow("paste too wide") << sxxs << QRect(3, 0, 1, 1) << "Ctrl+V" << "1\t2\t3" << before
            << QStringList{pasted + "the readings have more columns than the table from this cell, or more than 999 rows"};
        // clang-format on
    }
    void keys() {
        QFETCH(QByteArray, memo);
        QFETCH(QRect, selection);
        QFETCH(QString, keys);
        QFETCH(QString, clipboard);
        QGuiApplication::clipboard()->setText(keys == "Ctrl+V" ? clipboard : "before");
        const ReadingMode mode =
            *corvanta::ReadingModeFromKeyword(memo.left(memo.indexOf('\r')).toStdString());
        Form f;
        bool editorOpen = true;
        f.Run(mode, memo.count('\n') - 1, memo, [&](QTableWidget& grid) {
            grid.setCurrentCell(selection.top(), selection.left());
            grid.setRangeSelected(
                {selection.top(), selection.left(), selection.bottom(), selection.right()}, true);
            const QPoint at = grid.visualRect(grid.currentIndex()).center();
            const QKeyCombination key = QKeySequence(keys)[0];
            if (keys == "double-click")
                QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
            else if (keys.section('+', -1).size() == 1)  // as typed: 'c' or 'C'
                QTest::keyClick(&grid, keys.back().toLatin1(), key.keyboardModifiers());
            else
                QTest::keyClick(&grid, key.key(), key.keyboardModifiers());
            editorOpen = grid.indexWidget(grid.currentIndex()) != nullptr;
        });
        QTEST(f.Shown, "shown");
        QTEST(Logged(f.Dialogs), "error");
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard.isEmpty() ? "before" : clipboard);
        QVERIFY(!editorOpen);
    }
};

QTEST_MAIN(FormValoresTest)
#include "FormValoresTest.moc"
