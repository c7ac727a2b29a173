// The observations dialog on its own: the layout of each way of reading, the
// text it returns, the checks of its cells, its keys, copy and paste.
#include <QHeaderView>
#include <QScrollBar>

#include "GrafSession.h"
#include "ui/FormValores.h"

using corvanta::ReadingMode;
using corvanta::TFormValores;
using corvanta::testing::ScriptedDialogs;
using grafsession::Rows;
using grafsession::TypeCell;

struct Cell {
    int Row;
    int Column;
    QString Text;
};
using Cells = QList<Cell>;
Q_DECLARE_METATYPE(Cells)
Q_DECLARE_METATYPE(ReadingMode)

namespace {

// OkUnfocused: Ok pressed without taking the focus from the cell editor, as
// by a program.
enum class CloseBy { Ok, OkUnfocused, Cancel, Escape };
enum class Action { Delete, Type, F2, DoubleClick };

QTableWidget* Grid(TFormValores& form) {
    return form.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
}

// Opens the dialog modally, lets `act` work on the open grid, then closes it
// as the user would. A dialog that stays open fails the test and is rejected,
// so that a fault cannot hang the run.
std::optional<std::string> Run(TFormValores& form, ReadingMode mode, int rows,
                               const std::string& name, const std::string& memo,
                               const std::function<void(QTableWidget&)>& act,
                               CloseBy close = CloseBy::Cancel) {
    QTimer::singleShot(0, &form, [&] {
        act(*Grid(form));
        auto* ok = form.findChild<QPushButton*>("Button2");
        if (close == CloseBy::Escape)
            QTest::keyClick(Grid(form), Qt::Key_Escape);
        else if (close == CloseBy::OkUnfocused)
            ok->click();
        else
            QTest::mouseClick(close == CloseBy::Ok ? ok : form.findChild<QPushButton*>("Button1"),
                              Qt::LeftButton);
        if (!form.isVisible()) return;
        QTest::qFail("the dialog stayed open", __FILE__, __LINE__);
        form.reject();
    });
    return form.Edit(mode, rows, name, memo);
}

// Row by row, cells joined by "|".
QStringList Shown(const QTableWidget& grid) {
    return Rows(&grid, 0, grid.columnCount() - 1);
}

QByteArray Bytes(const std::optional<std::string>& text) {
    return text ? QByteArray::fromStdString(*text) : QByteArray("<none>");
}

}  // namespace

Q_DECLARE_METATYPE(CloseBy)
Q_DECLARE_METATYPE(Action)

class FormValoresTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() {
        QFont font = QApplication::font();
        font.setPointSize(8);
        QApplication::setFont(font);
    }

    void layoutForMode_data() {
        QTest::addColumn<ReadingMode>("mode");
        QTest::addColumn<QStringList>("headers");
        const QString number = QStringLiteral("N\u00BA");
        const QString standard = QStringLiteral("Patr\u00F3n");
        const QString name = QStringLiteral("L\u00B5");
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
        ScriptedDialogs dialogs;
        TFormValores form(dialogs);
        QCOMPARE(form.windowTitle(), QStringLiteral("Observations"));
        QCOMPARE(form.findChild<QPushButton*>("Button2")->text(), QStringLiteral("Ok"));
        QCOMPARE(form.findChild<QPushButton*>("Button1")->text(), QStringLiteral("Cancel"));
        QStringList shownHeaders, numbers;
        QList<int> widths;
        int rowHeight = 0, hiddenWidth = -1, visibleRows = 0;
        Run(form, mode, 20, "L\xB5", "", [&](QTableWidget& grid) {
            for (int c = 0; c < grid.columnCount(); ++c) {
                shownHeaders << grid.horizontalHeaderItem(c)->text();
                widths << grid.columnWidth(c);
            }
            numbers << grid.item(0, 0)->text() << grid.item(grid.rowCount() - 1, 0)->text();
            rowHeight = grid.rowHeight(0);
            hiddenWidth = grid.horizontalHeader()->length() - grid.viewport()->width();
            visibleRows = grid.viewport()->height() / rowHeight;
        });
        QTEST(shownHeaders, "headers");
        QList<int> expectedWidths(shownHeaders.size(), 70);
        expectedWidths.front() = 31;
        QCOMPARE(widths, expectedWidths);
        QCOMPARE(rowHeight, 17);
        QCOMPARE(numbers, (QStringList{"1", "20"}));
        // Every column in view beside the scroll bar, and a screenful of rows.
        QVERIFY2(hiddenWidth <= 0, qPrintable(QString::number(hiddenWidth)));
        QVERIFY(visibleRows >= 12);
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
        const QStringList empty2 = {"1||", "2||"}, emptyDirecta = {"1|", "2|"};
        const QByteArray sx = "SX\r\n10.0\r10.2\r\n10.0\r&\r\n";
        QTest::newRow("SX typed")
            << IndirectaSX << 2 << QByteArray() << empty2
            << Cells{{0, 1, "10.0"}, {0, 2, "10.2"}, {1, 1, "10.0"}, {1, 2, "10.3"}} << CloseBy::Ok
            << QByteArray("SX\r\n10.0\r10.2\r\n10.0\r10.3\r\n");
        QTest::newRow("empty cells as &")
            << IndirectaSXS << 2 << QByteArray() << QStringList{"1|||", "2|||"}
            << Cells{{0, 2, "5.0"}, {1, 1, "1"}} << CloseBy::Ok
            << QByteArray("SXS\r\n&\r5.0\r&\r\n1\r&\r&\r\n");
        QTest::newRow("code page") << Directa << 1 << QByteArray() << QStringList{"1|"}
                                   << Cells{{0, 1, QStringLiteral("5\u00B5")}} << CloseBy::Ok
                                   << QByteArray("Directa\r\n5\xB5\r\n");
        QTest::newRow("Ok without focus")
            << Directa << 2 << QByteArray() << emptyDirecta << Cells{{0, 1, "7"}, {1, 1, "8.5"}}
            << CloseBy::OkUnfocused << QByteArray("Directa\r\n7\r\n8.5\r\n");
        QTest::newRow("prefill, & shown empty")
            << IndirectaSX << 2 << sx << QStringList{"1|10.0|10.2", "2|10.0|"} << Cells{}
            << CloseBy::Ok << sx;
        QTest::newRow("more rows than stored")
            << IndirectaSX << 3 << sx << QStringList{"1|10.0|10.2", "2|10.0|", "3||"} << Cells{}
            << CloseBy::Ok << QByteArray("SX\r\n10.0\r10.2\r\n10.0\r&\r\n&\r&\r\n");
        QTest::newRow("other keyword") << Directa << 2 << sx << emptyDirecta << Cells{}
                                       << CloseBy::Ok << QByteArray("Directa\r\n&\r\n&\r\n");
        QTest::newRow("two lines only")
            << Directa << 2 << QByteArray("Directa\r\n5\r\n") << emptyDirecta << Cells{}
            << CloseBy::Ok << QByteArray("Directa\r\n&\r\n&\r\n");
        QTest::newRow("Cancel") << IndirectaSX << 2 << sx << QStringList{"1|10.0|10.2", "2|10.0|"}
                                << Cells{{1, 2, "3"}} << CloseBy::Cancel << QByteArray("<none>");
        QTest::newRow("Escape") << Directa << 2 << QByteArray() << emptyDirecta << Cells{}
                                << CloseBy::Escape << QByteArray("<none>");
    }
    void editReturnsTheText() {
        QFETCH(ReadingMode, mode);
        QFETCH(int, rows);
        QFETCH(QByteArray, memo);
        QFETCH(Cells, typed);
        QFETCH(CloseBy, close);
        ScriptedDialogs dialogs;
        TFormValores form(dialogs);
        QStringList seen;
        auto result = Run(
            form, mode, rows, "L", memo.toStdString(),
            [&](QTableWidget& grid) {
                seen = Shown(grid);
                for (const Cell& cell : typed)
                    TypeCell(grid, cell.Row, cell.Column, cell.Text, &cell != &typed.back());
            },
            close);
        QTEST(seen, "shown");
        QTEST(Bytes(result), "text");
        QVERIFY(dialogs.Log.empty());
    }

    void reopeningForgetsTheLastTable() {
        ScriptedDialogs dialogs;
        TFormValores form(dialogs);
        Run(
            form, ReadingMode::IndirectaSXXS, 3, "L", "",
            [](QTableWidget& grid) { TypeCell(grid, 2, 4, "9"); }, CloseBy::Ok);
        QStringList seen;
        auto text = Run(
            form, ReadingMode::Directa, 1, "L", "", [&](QTableWidget& grid) { seen = Shown(grid); },
            CloseBy::Ok);
        QCOMPARE(seen, QStringList{"1|"});
        QCOMPARE(Bytes(text), QByteArray("Directa\r\n&\r\n"));
    }

    void cellCheckOnClick_data() {
        QTest::addColumn<Cells>("cells");
        QTest::addColumn<QByteArray>("notReal");
        QTest::addColumn<QStringList>("errors");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<QPoint>("current");  // (row, column)
        QTest::newRow("word") << Cells{{0, 2, "abc"}, {1, 1, "1"}} << QByteArray()
                              << QStringList{"abc is not a Real number"}
                              << QStringList{"1||", "2|1|"} << QPoint(0, 2);
        QTest::newRow("numbers pass")
            << Cells{{0, 1, "1.5E-3"}, {0, 2, " 2 "}, {1, 1, "-.5"}, {1, 2, "1e+2"}} << QByteArray()
            << QStringList{} << QStringList{"1|1.5E-3| 2 ", "2|-.5|1e+2"} << QPoint(1, 1);
        QTest::newRow("first in row order only")
            << Cells{{1, 1, "x"}, {0, 2, "y"}} << QByteArray()
            << QStringList{"y is not a Real number"} << QStringList{"1||", "2|x|"} << QPoint(0, 2);
        QTest::newRow("code page and own message")
            << Cells{{0, 1, QStringLiteral("5\u00B5")}} << QByteArray("no es un n\xFAmero real")
            << QStringList{QStringLiteral("5\u00B5 no es un n\u00FAmero real")}
            << QStringList{"1||", "2||"} << QPoint(0, 1);
    }
    void cellCheckOnClick() {
        QFETCH(Cells, cells);
        QFETCH(QByteArray, notReal);
        QFETCH(QPoint, current);
        ScriptedDialogs dialogs;
        TFormValores form(dialogs);
        if (!notReal.isEmpty()) {
            corvanta::MessageTexts messages;
            messages.NotReal = notReal.toStdString();
            form.SetMessages(messages);
        }
        QStringList seen;
        QPoint currentSeen;
        QList<QPoint> selected;
        Run(form, ReadingMode::IndirectaSX, 2, "L", "", [&](QTableWidget& grid) {
            for (const Cell& cell : cells)
                grid.item(cell.Row, cell.Column)->setText(cell.Text);
            // A click on the cell already selected.
            grid.setCurrentCell(1, 1);
            QTest::mouseClick(grid.viewport(), Qt::LeftButton, {},
                              grid.visualRect(grid.model()->index(1, 1)).center());
            seen = Shown(grid);
            currentSeen = QPoint(grid.currentRow(), grid.currentColumn());
            for (const QTableWidgetItem* item : grid.selectedItems())
                selected << QPoint(item->row(), item->column());
        });
        QStringList shownErrors;
        for (const auto& shownDialog : dialogs.Log) {
            QCOMPARE(shownDialog.Kind, corvanta::DialogKind::Error);
            shownErrors << QString::fromLatin1(shownDialog.Text);
        }
        QTEST(shownErrors, "errors");
        QTEST(seen, "shown");
        QCOMPARE(currentSeen, current);
        QCOMPARE(selected, QList<QPoint>{current});
    }

    void keysOnTheCurrentCell_data() {
        QTest::addColumn<int>("column");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("text");
        QTest::newRow("Delete value") << 1 << Action::Delete << QString();
        QTest::newRow("Delete row number") << 0 << Action::Delete << QStringLiteral("1");
        QTest::newRow("type value") << 1 << Action::Type << QStringLiteral("7");
        QTest::newRow("type row number") << 0 << Action::Type << QStringLiteral("1");
        QTest::newRow("F2 row number") << 0 << Action::F2 << QStringLiteral("1");
        QTest::newRow("double-click row number") << 0 << Action::DoubleClick << QStringLiteral("1");
    }
    void keysOnTheCurrentCell() {
        QFETCH(int, column);
        QFETCH(Action, action);
        ScriptedDialogs dialogs;
        TFormValores form(dialogs);
        QString seen;
        bool editorOpen = false;
        Run(form, ReadingMode::Directa, 2, "L", "Directa\r\n4\r\n6\r\n", [&](QTableWidget& grid) {
            grid.setCurrentCell(0, column);
            const QPoint at = grid.visualRect(grid.currentIndex()).center();
            if (action == Action::Delete) QTest::keyClick(&grid, Qt::Key_Delete);
            if (action == Action::Type) TypeCell(grid, 0, column, "7");
            if (action == Action::F2) QTest::keyClick(&grid, Qt::Key_F2);
            if (action == Action::DoubleClick)
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
        QTest::newRow("2x2 values")
            << QRect(1, 0, 2, 2) << int('c') << int(Qt::ControlModifier) << "a\tb\r\nc\td\r\n";
        QTest::newRow("capital C")
            << QRect(1, 0, 2, 2) << int('C') << int(Qt::ControlModifier) << "a\tb\r\nc\td\r\n";
        QTest::newRow("with row numbers") << QRect(0, 0, 2, 3) << int('c')
                                          << int(Qt::ControlModifier) << "1\ta\r\n2\tc\r\n3\t\r\n";
        QTest::newRow("Ctrl+Shift") << QRect(1, 0, 2, 2) << int('c')
                                    << int(Qt::ControlModifier | Qt::ShiftModifier) << "before";
        QTest::newRow("Ctrl+Alt") << QRect(1, 0, 2, 2) << int('c')
                                  << int(Qt::ControlModifier | Qt::AltModifier) << "before";
    }
    void copySelection() {
        QFETCH(QRect, selection);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        ScriptedDialogs dialogs;
        TFormValores form(dialogs);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        Run(form, ReadingMode::IndirectaSX, 3, "L", "SX\r\na\rb\r\nc\rd\r\n&\r&\r\n",
            [&](QTableWidget& grid) {
                grid.setCurrentCell(selection.top(), selection.left());
                grid.clearSelection();
                grid.setRangeSelected(
                    QTableWidgetSelectionRange(selection.top(), selection.left(),
                                               selection.bottom(), selection.right()),
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
        QTest::addColumn<QString>("error");
        const QStringList before = {"1|1.0|2.0|3.0|4.0", "2||||"};
        QTest::newRow("tabs, grows by a row")
            << QPoint(2, 1) << "10.1\t10.2\t10.3\r\n10.4\t\t1e-3\r\n"
            << QStringList{"1|1.0|2.0|3.0|4.0", "2||10.1|10.2|10.3", "3||10.4||1e-3"} << "";
        QTest::newRow("semicolons, CR ends")
            << QPoint(3, 1) << "8;9\r-1;2\r"
            << QStringList{"1|1.0|2.0|3.0|4.0", "2|||8|9", "3|||-1|2"} << "";
        QTest::newRow("a word") << QPoint(2, 0) << "1\t2\t3\n4\tabc\t6\n"
                                << before
                                << "Nothing was pasted: row 2, column 3: abc is not a Real number";
        QTest::newRow("decimal comma")
            << QPoint(1, 1) << "10,2;10,3" << before
            << "Nothing was pasted: row 2, column 1: 10,2 is not a Real number";
        QTest::newRow("too wide") << QPoint(3, 0) << "1\t2\t3" << before
                                  << "Nothing was pasted: the readings have more columns than the "
                                     "table from this cell, or more than 999 rows";
    }
    void pasteFromASpreadsheet() {
        QFETCH(QPoint, at);
        QFETCH(QString, clipboard);
        QFETCH(QString, error);
        ScriptedDialogs dialogs;
        TFormValores form(dialogs);
        QGuiApplication::clipboard()->setText(clipboard);
        QStringList grid;
        Run(form, ReadingMode::IndirectaSXXS, 2, "L",
            "SXXS\r\n1.0\r2.0\r3.0\r4.0\r\n&\r&\r&\r&\r\n", [&](QTableWidget& g) {
                g.setCurrentCell(at.y(), at.x());
                QTest::keyClick(&g, Qt::Key_V, Qt::ControlModifier);
                grid = Shown(g);
            });
        QTEST(grid, "shown");
        QCOMPARE(dialogs.Texts(), error.isEmpty() ? std::vector<std::string>{}
                                                  : std::vector<std::string>{error.toStdString()});
    }
};

QTEST_MAIN(FormValoresTest)
#include "FormValoresTest.moc"
