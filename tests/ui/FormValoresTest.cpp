// The observations dialog on its own: its layouts, the text it returns, its cell checks and keys.
#include "GrafSession.h"
#include "ui/FormValores.h"

using corvanta::ReadingMode;
using namespace grafsession;

using Cells = QList<std::tuple<int, int, QString>>;  // row, column, text
Q_DECLARE_METATYPE(ReadingMode)

namespace {

// OkUnfocused: Ok pressed without taking the focus from the cell editor, as by a program.
enum class CloseBy { Ok, OkUnfocused, Cancel, Escape };
using EditCase = std::tuple<ReadingMode, int, QByteArray, Cells, CloseBy, QByteArray>;

struct KeysCase {
    QByteArray Memo;
    QRect Selection;
    QString Keys, Clipboard;  // a key sequence, "click" or "double-click"; pasted, or copied
    QStringList Shown, Error;
    Cells Set = {};             // set before the key
    QPoint Current = {-1, -1};  // after a click: the cell selected (row, column)
    QByteArray NotReal = {};
};

// For "L\xB5": Run notes the table at opening and after act, closes it as asked, gives the text.
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

Q_DECLARE_METATYPE(EditCase)
Q_DECLARE_METATYPE(KeysCase)

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
        QTest::addColumn<EditCase>("c");  // mode, rows, memo, typed, close, text
        using enum ReadingMode;
        using enum CloseBy;
        const QByteArray sx = "SX\r\n10.0\r10.2\r\n10.0\r&\r\n", none = "<none>";
        // clang-format off
        QTest::newRow("SX typed") << EditCase{IndirectaSX, 2, {}, {{0, 1, "10.0"}, {0, 2, "10.2"}, {1, 1, "10.0"}, {1, 2, "10.3"}}, Ok, "SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n"};
        QTest::newRow("empty cells as &") << EditCase{IndirectaSXS, 2, {}, {{0, 2, "5.0"}, {1, 1, "1"}}, Ok, "SXS\r\n&\r5.0\r&\r\n1\r&\r&\r\n"};
        QTest::newRow("code page") << EditCase{Directa, 1, {}, {{0, 1, "5\u00B5"}}, Ok, "Directa\r\n5\xB5\r\n"};
        QTest::newRow("Ok without focus") << EditCase{Directa, 2, {}, {{0, 1, "7"}, {1, 1, "8.5"}}, OkUnfocused, "Directa\r\n7\r\n8.5\r\n"};
        QTest::newRow("prefill, & shown empty") << EditCase{IndirectaSX, 2, sx, {}, Ok, sx};
        QTest::newRow("Cancel") << EditCase{IndirectaSX, 2, sx, {{1, 2, "3"}}, Cancel, none};
        QTest::newRow("Escape") << EditCase{Directa, 2, {}, {}, Escape, none};
        // clang-format on
    }
    void editReturnsTheText() {
        QFETCH(EditCase, c);
        const auto& [mode, rows, memo, typed, close, text] = c;
        Form f;
        const auto act = [&](QTableWidget& grid) {
            for (const auto& [row, column, cell] : typed)
                TypeCell(grid, row, column, cell, &cell != &std::get<2>(typed.back()));
        };
        QCOMPARE(f.Run(mode, rows, memo, act, close), text);
        if (!memo.isEmpty()) QCOMPARE(f.Opened, (QStringList{"1|10.0|10.2", "2|10.0|"}));
        QVERIFY(f.Dialogs.Log.empty());
    }

    // Keys, or a click on the selected cell (it checks the cells in row order, selects the first
    // refused), on a selection: row numbers spared, copy, paste grows or is refused whole.
    void keys_data() {
        QTest::addColumn<KeysCase>("c");
        const QByteArray directa = "Directa\r\n4\r\n6\r\n",
                         letters = "SX\r\na\rb\r\nc\rd\r\n&\r&\r\n",
                         sxxs = "SXXS\r\n1.0\r2.0\r3.0\r4.0\r\n&\r&\r&\r&\r\n",
                         empty = "SX\r\n&\r&\r\n&\r&\r\n";
        const QStringList kept = {"1|4", "2|6"}, table = {"1|a|b", "2|c|d", "3||"},
                          before = {"1|1.0|2.0|3.0|4.0", "2||||"}, none;
        const QString pasted = "Error: Nothing was pasted: ", sx2 = "a\tb\r\nc\td\r\n";
        const QRect number(0, 0, 1, 1), twoByTwo(1, 0, 2, 2), second(1, 1, 1, 1);
        const auto add = [](const char* name, const KeysCase& c) { QTest::newRow(name) << c; };
        // clang-format off
        add("Delete", {directa, QRect(1, 0, 1, 1), "Delete", "", {"1|", "2|6"}, none});
        add("Delete, number", {directa, number, "Delete", "", kept, none});
        add("type, number", {directa, number, "7", "", kept, none});
        add("F2, number", {directa, number, "F2", "", kept, none});
        add("double-click, number", {directa, number, "double-click", "", kept, none});
        add("copy 2x2", {letters, twoByTwo, "Ctrl+c", sx2, table, none});
        add("capital C", {letters, twoByTwo, "Ctrl+C", sx2, table, none});
        add("with row numbers", {letters, QRect(0, 0, 2, 3), "Ctrl+c", "1\ta\r\n2\tc\r\n3\t\r\n", table, none});
        add("Ctrl+Shift", {letters, twoByTwo, "Ctrl+Shift+c", "", table, none});
        add("Ctrl+Alt", {letters, twoByTwo, "Ctrl+Alt+c", "", table, none});
        add("paste, grows by a row", {sxxs, QRect(2, 1, 1, 1), "Ctrl+V", "10.1\t10.2\t10.3\r\n10.4\t\t1e-3\r\n", {"1|1.0|2.0|3.0|4.0", "2||10.1|10.2|10.3", "3||10.4||1e-3"}, none});
        add("paste, decimal comma", {sxxs, QRect(1, 1, 1, 1), "Ctrl+V", "10,2;10,3", before, {pasted + "row 2, column 1: 10,2 is not a Real number"}});
        add("paste a word", {sxxs, QRect(2, 0, 1, 1), "Ctrl+V", "1\t2\t3\n4\tabc\t6\n", before, {pasted + "row 2, column 3: abc is not a Real number"}});
        add("paste too wide", {sxxs, QRect(3, 0, 1, 1), "Ctrl+V", "1\t2\t3", before, {pasted + "the readings have more columns than the table from this cell, or more than 999 rows"}});
        add("click: word", {empty, second, "click", "", {"1||", "2|1|"}, {"Error: abc is not a Real number"}, {{0, 2, "abc"}, {1, 1, "1"}}, {0, 2}});
        add("click: numbers pass", {empty, second, "click", "", {"1|1.5E-3| 2 ", "2|-.5|1e+2"}, none, {{0, 1, "1.5E-3"}, {0, 2, " 2 "}, {1, 1, "-.5"}, {1, 2, "1e+2"}}, {1, 1}});
        add("click: first in row order only", {empty, second, "click", "", {"1||", "2|x|"}, {"Error: y is not a Real number"}, {{1, 1, "x"}, {0, 2, "y"}}, {0, 2}});
        add("click: code page, own message", {empty, second, "click", "", {"1||", "2||"}, {"Error: 5\u00B5 no es un n\u00FAmero real"}, {{0, 1, "5\u00B5"}}, {0, 1}, "no es un n\xFAmero real"});
        // clang-format on
    }
    void keys() {
        QFETCH(KeysCase, c);
        const QString& keys = c.Keys;
        QGuiApplication::clipboard()->setText(keys == "Ctrl+V" ? c.Clipboard : "before");
        const QByteArray& memo = c.Memo;
        const ReadingMode mode =
            *corvanta::ReadingModeFromKeyword(memo.left(memo.indexOf('\r')).toStdString());
        Form f;
        corvanta::MessageTexts messages;
        messages.NotReal = c.NotReal.toStdString();
        if (!c.NotReal.isEmpty()) f.Dialog.SetMessages(messages);
        bool editorOpen = true;
        QList<QPoint> selected;
        f.Run(mode, memo.count('\n') - 1, memo, [&](QTableWidget& grid) {
            for (const auto& [row, column, text] : c.Set)
                grid.item(row, column)->setText(text);
            const QRect& range = c.Selection;
            grid.setCurrentCell(range.top(), range.left());
            grid.setRangeSelected({range.top(), range.left(), range.bottom(), range.right()}, true);
            const QPoint at = grid.visualRect(grid.currentIndex()).center();
            const QKeyCombination key = QKeySequence(keys)[0];
            if (keys == "click")
                Session::Click(grid.viewport(), at);
            else if (keys == "double-click")
                QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, at);
            else if (keys.section('+', -1).size() == 1)  // as typed: 'c' or 'C'
                QTest::keyClick(&grid, keys.back().toLatin1(), key.keyboardModifiers());
            else
                QTest::keyClick(&grid, key.key(), key.keyboardModifiers());
            editorOpen = grid.indexWidget(grid.currentIndex()) != nullptr;
            selected << QPoint(grid.currentRow(), grid.currentColumn());
            for (const QTableWidgetItem* item : grid.selectedItems())
                selected << QPoint(item->row(), item->column());
        });
        QCOMPARE(f.Shown, c.Shown);
        QCOMPARE(Logged(f.Dialogs), c.Error);
        QCOMPARE(QGuiApplication::clipboard()->text(),
                 c.Clipboard.isEmpty() ? "before" : c.Clipboard);
        QVERIFY(!editorOpen);
        if (c.Current.x() >= 0) QCOMPARE(selected, QList<QPoint>({c.Current, c.Current}));
    }
};

QTEST_MAIN(FormValoresTest)
#include "FormValoresTest.moc"
