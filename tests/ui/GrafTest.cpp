// The model and parameters pages, the observations dialog, the menus and opening at start.
#include <cmath>

#include "GrafSession.h"
#include "ui/FormValores.h"
#include "ui/controls/AsPanel.h"

using corvanta::ReadingMode;
using namespace grafsession;

using Cells = QList<std::tuple<int, int, QString>>;  // row, column, text
Q_DECLARE_METATYPE(ReadingMode)

namespace {

const QColor kSelected(218, 227, 243);

struct ApplyCase {
    int Row, Item;
    QStringList Fields;  // Edit1, Edit2, Edit3, degrees of freedom
    QString Stored;      // Distrib|Valor|a, or with |b|Grados
    QByteArray Error = {};
    // A refusal: the field it focuses, the text typed over it, what is stored then.
    QString Refused = {}, Fix = {}, Fixed = {};
    int Page = -1;          // the sheet, when not the list item's index
    QString ItemText = {};  // with the page's field labels, in their order
    QStringList Labels = {};
};

// The mode (RadioButton1..5), Student's t or not, the rows (cells joined by "|"), mean, a, degrees.
using ReadingsCase = std::tuple<int, bool, QStringList, QString, double, QString>;

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

Q_DECLARE_METATYPE(ApplyCase)
Q_DECLARE_METATYPE(ReadingsCase)
Q_DECLARE_METATYPE(EditCase)
Q_DECLARE_METATYPE(KeysCase)

class GrafTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { corvanta::UseWindowFont(); }

    // An accepted model lists its quantities, a refused one says why and keeps them; the table.
    void updateModelAndTable() {
        Session s;
        QWidget* update = s.Get("Button2");
        s.Click("AsHyperBtn3");
        QCOMPARE(update->isVisible(), QApplication::focusWidget() == s.Memo());
        // clang-format off
        for (const auto& [model, shown] : std::initializer_list<std::pair<const char*, QString>>{
                 {"y = a*k\nk = b/c", ""}, {"x = x + 1", "Error: Error. Undefined output parameter."},
                 {"y = a\nz = b", "Error: Error. Too many output parameter."},
                 {"y = sin + 1", "Message: ERROR: function sin must be followed by \"(\""},
                 {"y = a*k\nk = b/c", ""}}) {
            // clang-format on
            s.Dialogs.Log.clear();
            s.Update(model);
            QCOMPARE(s.Log(), shown.isEmpty() ? QStringList() : QStringList{shown});
            QCOMPARE(QApplication::focusWidget(), s.Memo());
            QVERIFY(update->isVisible() && s.Get("AsHyperBtn5")->isVisible());
            QCOMPARE(s.Names(), QStringList({"y", "a", "k", "b", "c"}));
            QVERIFY(!s.Get("Panel3")->isVisible());
        }
        s.ClickCell(1, 2);
        QVERIFY(!update->isVisible() && !s.Get("AsHyperBtn5")->isVisible());
        // The cells' colours and roles, and the units box.
        QCOMPARE(s.CellColour(1, 1), QColor(Qt::white));
        QCOMPARE(s.CellColour(1, 2), kSelected);
        s.Assign(1, 1, {"1", "0.1"});
        QCOMPARE(s.CellColour(1, 1), QColor(236, 249, 237));
        QCOMPARE(s.CellColour(2, 1), QColor(239, 237, 226));
        QCOMPARE(s.CellColour(2, 2), QColor(222, 226, 231));  // k is selected next
        s.ClickCell(0, 2);
        QVERIFY(!s.List()->isEnabled());
        QCOMPARE(QPoint(s.List()->currentIndex(), s.Sheet()), QPoint(-1, 19));
        s.ClickCell(3, 2);
        QVERIFY(s.List()->isEnabled() && s.Text("Label17") == "b");
        QCOMPARE(QPoint(s.List()->currentIndex(), s.Sheet()), QPoint(0, 0));
        // The units box over its cell: an item of the list, or a unit typed.
        auto* box = s.Get<QComboBox>("cbInplaceComboBox");
        for (const auto& [row, unit] : {std::pair{2, "kg"}, {3, "mmHg"}}) {
            s.ClickCell(row, 1);
            QVERIFY(box->isVisible());
            const QRect cell = s.Table()->visualItemRect(s.Table()->item(row, 1));
            const QPoint corner = s.Table()->viewport()->mapTo(s.Table(), cell.topLeft());
            QCOMPARE(box->geometry(), QRect(corner - QPoint(1, 1), cell.size() + QSize(3, 1)));
            row == 2 ? Session::Pick(box, 2) : QTest::keyClicks(box, unit);
        }
        s.ClickCell(1, 2);
        QVERIFY(!box->isVisible());
        QCOMPARE(s.Grid("AsStringGrid2", 1, 1).mid(2, 2), QStringList({"kg", "mmHg"}));
        const auto& p = s.Window->Parameters();
        QCOMPARE(QString::fromStdString(p[2].Unidad + "|" + p[3].Unidad), "kg|mmHg");
    }

    // Leaving an edited model or an unapplied page asks: model?, cell clicked, OK, names, a's.
    void leavingAsks() {
        const QStringList ab{"y", "a", "b"}, abc{"y", "a", "b", "c"};
        // clang-format off
        const std::tuple<bool, QPoint, bool, QStringList, QString> cases[] = {
            {true, {2, 2}, false, ab, "4|7|"}, {true, {2, 2}, true, {"y", "a", "b", "d"}, "4|7|"},
            {true, {0, 1}, false, ab, "4|7|"},  // the same row's name
            {false, {2, 3}, true, abc, "1|10|0.5"}, {false, {2, 3}, false, abc, "0||"}};
        // clang-format on
        for (const auto& [model, cell, ok, names, stored] : cases) {
            Session s;
            s.Update(model ? "y = a + b" : "y = a + b + c");
            s.Assign(model ? 1 : 3, 4, {"7"});  // once applied, a page entered again asks again
            s.ClickCell(1, 2);
            if (model) {
                s.Click("Memo1");
                QTest::keyClick(s.Memo(), Qt::Key_End, Qt::ControlModifier);
                QTest::keyClicks(s.Memo(), " + d");
            } else {
                s.Pick(s.List(), 1);
                s.Type("Edit1_Normal", "10");
                s.Type("Edit2_Normal", "0.5");
            }
            s.Dialogs.Answers = {ok ? DialogAnswer::Ok : DialogAnswer::Cancel};
            s.ClickCell(cell.y(), cell.x());
            const QString question = model ? "Model has been updated. Want to update parameters?"
                                           : "Want to assign this distribution?";
            QCOMPARE(s.Log(), QStringList{"ConfirmOkCancel: " + question});
            QCOMPARE(s.Names(), names);
            QCOMPARE(s.Record(1), stored);
            if (!model) QCOMPARE(s.Table()->currentRow(), 3);
        }
    }

    void applyPage_data() {
        QTest::addColumn<ApplyCase>("c");
        const auto add = [](const char* name, const ApplyCase& c) { QTest::newRow(name) << c; };
        const char* form = "Error of parameters.. Form must be real > 0";
        const char* half = "Error of parameters.. Half-width must be real >= 0";
        const QString optional = "Degrees of freedom (optional)";
        // clang-format off
        add("Normal empty mean", {1, 1, {"", "1"}, "0||"});
        add("Normal not real", {1, 1, {"abc", "1"}, "0||", "abc is not a Real number", "Edit1_Normal", "2", "1|2|1"});
        add("Normal deviation -0.5", {1, 1, {"10", "-0.5"}, "0||", "Error of parameters.. Standard deviation must be real >= 0", "Edit2_Normal", "0", "1|10|0"});
        add("Normal degrees 0", {2, 1, {"10", "0.1", "", "0"}, "0||", "Degrees of freedom must be real > 0", "EditDegrees_Normal", "18", "1|10|0.1||18", -1, "Normal", {"Mean", "Standard Deviation", optional}});
        add("Rectangular mean 2,5", {1, 2, {"2,5", "1"}, "0||", "2,5 is not a Real number", "Edit1_Rectangular", "2.5", "2|2.5|1"});
        add("Rectangular", {1, 2, {"1e-3", "2"}, "2|1e-3|2"});
        add("Rectangular half -1", {2, 2, {"1", "-1"}, "0||", half, "Edit2_Rectangular", "1", "2|1|1"});
        add("Rectangular empty half", {1, 2, {"x", ""}, "0||"});
        add("Triangular half -0.1", {3, 3, {"-1", "-0.1"}, "0||", half, "Edit2_Triangular", "0.1", "3|-1|0.1"});
        add("Constant on the last row", {3, 4, {"3.5"}, "4|3.5|"});
        add("Gamma negative", {1, 5, {"-1"}, "0||", form, "Edit1_Gamma", "1", "5|1|"});
        add("Exponential", {1, 6, {}, "6||"});
        add("Beta zero", {1, 7, {"2", "0"}, "0||", "a and b must be real numbers", "Edit2_Beta", "1", "7|2|1"});
        add("Student without mean", {1, 8, {"5", ""}, "8|5|0"});
        add("Student not integer", {1, 8, {"2.5", "1"}, "0||", "2.5 is not an Integer", "Edit1_Student", "2", "8|2|1"});
        add("Poisson mean -1", {1, 9, {"-1"}, "0||", "Error of parameters.. Mean must be real >= 0", "Edit1_Poisson", "0", "9|0|"});
        add("Binomial n not integer", {1, 10, {"1.5", "0.3"}, "0||", "1.5 is not an Integer", "Edit1_Binomial", "1", "10|1|0.3"});
        add("Binomial p 1.5", {1, 10, {"4", "1.5"}, "0||", "Error of parameters.. n must be integer >= 0 and p must take values between 0 and 1", "Edit2_Binomial", "1", "10|4|1"});
        add("NegBinomial p 1", {1, 11, {"0.5", "1"}, "0||", "Error of parameters.. n must be real > 0 and p must take values between 0 and 1", "Edit2_NegBinomial", "0.5", "11|0.5|0.5"});
        add("Von Mises 10", {1, 12, {"10"}, "0||", "Error of parameters.. k must be real and take values between 0 and 10", "Edit1_VonMises", "9.99", "12|9.99|"});
        add("Cauchy", {1, 13, {}, "13||"});
        add("Weibull zero", {1, 14, {"0"}, "0||", form, "Edit1_Weibull", "2", "14|2|"});
        add("Xi square zero", {1, 15, {"0"}, "0||", "Degrees of freedom must be integer > 0", "Edit1_XiCuadrado", "1", "15|1|"});
        add("LogNormal not real", {1, 16, {"x", "0.2"}, "0||", "x no es un n\xFAmero real", "Edit1_LogNormal", "1", "16|1|0.2"});
        add("LogNormal negative", {1, 16, {"1", "-1"}, "0||", "Media y Desv\xEDo deben ser reales > 0", "Edit2_LogNormal", "1", "16|1|1"});
        add("U-shaped", {2, 18, {"0", "-0.5", "", ""}, "0||", "Error of parameters.. Half-width must be real > 0", "Edit2_UShaped", "0.5", "20|0|0.5||", 20, "U-shaped (arcsine)", {"Midpoint", "Half-width", optional}});
        add("trapezoidal", {2, 19, {"1", "2", "1.5", "12"}, "0||", "Error of parameters.. beta must take values from 0 to 1", "Edit3_Trapezoidal", "0.4", "21|1|2|0.4|12", 21, "Trapezoidal", {"Midpoint", "Half-width", "Top to base ratio (beta)", optional}});
        add("curvilinear trapezoid", {2, 20, {"0", "1", "1", ""}, "0||", "Error of parameters.. d must be real >= 0 and below the half-width", "Edit3_CurvilinearTrapezoid", "0.1", "22|0|1|0.1|", 22, "Curvilinear trapezoid", {"Midpoint", "Half-width", "Inexactness of the limits (d)", optional}});
        add("asymmetric triangular", {2, 21, {"5", "0", "4", "3"}, "0||", "Error of parameters.. The limits must satisfy lower <= mode <= upper and lower < upper", "Edit3_AsymmetricTriangular", "6", "23|5|0|6|3", 23, "Asymmetric triangular", {"Mode", "Lower limit", "Upper limit", optional}});
        // clang-format on
    }
    // A refusal keeps row, page, item, texts, selects the field; fixed, it stores; shown again too.
    void applyPage() {
        QFETCH(ApplyCase, c);
        const int page = c.Page < 0 ? c.Item : c.Page;
        Session s;
        s.Update("y = a + b + c");
        if (!c.ItemText.isEmpty()) {
            s.ClickCell(c.Row, 2);
            QCOMPARE(s.List()->itemText(c.Item), c.ItemText);
        }
        s.Assign(c.Row, c.Item, c.Fields);
        QCOMPARE(s.Record(c.Row), c.Stored);
        const QString error = "Error: " + QString::fromLatin1(c.Error);
        QCOMPARE(s.Log(), c.Error.isEmpty() ? QStringList() : QStringList{error});
        if (!c.Refused.isEmpty()) {
            QCOMPARE(QPoint(s.Table()->currentRow(), s.Sheet()), QPoint(c.Row, page));
            QCOMPARE(s.List()->currentIndex(), c.Item);
            QStringList typed, labels;
            for (QLineEdit* edit : s.PageWidget()->findChildren<QLineEdit*>())
                if (edit->objectName().startsWith("Edit") && !edit->text().isEmpty())
                    typed << edit->text();
            QCOMPARE(typed, c.Fields.filter(QRegularExpression(".")));
            for (QLabel* label : s.PageWidget()->findChildren<QLabel*>())
                labels << label->text();
            if (!c.Labels.isEmpty()) QCOMPARE(labels, c.Labels);
            auto* refused = s.Get<QLineEdit>(c.Refused);
            QCOMPARE(QApplication::focusWidget(), refused);
            QCOMPARE(refused->selectedText(), refused->text());
            QTest::keyClicks(refused, c.Fix);
            s.Click(s.PageWidget()->findChild<TAsHyperBtn*>());
            QCOMPARE(s.Record(c.Row, c.Fixed.count('|') == 4), c.Fixed);
            QCOMPARE(s.Log(), QStringList{error});
        }
        QCOMPARE(s.Table()->currentRow(), (c.Row + 1) % 4);
        QCOMPARE(QApplication::focusWidget(), s.Table());
        if (c.Labels.isEmpty()) return;
        QCOMPARE(s.CellColour(c.Row, 1), QColor(236, 249, 237));
        s.ClickCell(c.Row + 1, 2);
        s.ClickCell(c.Row, 2);
        QCOMPARE(QPoint(s.Sheet(), s.List()->currentIndex()), QPoint(page, c.Item));
        const QStringList stored = c.Fixed.split('|').mid(1);
        QStringList shown, expected;
        for (QLineEdit* edit : s.PageWidget()->findChildren<QLineEdit*>())
            shown << edit->text(), expected << stored[Session::FieldOf(edit)];
        QCOMPARE(shown, expected);
    }

    void experimentalReadings_data() {
        QTest::addColumn<ReadingsCase>("c");
        const double t2 = 4.30265, t1 = 12.7062;  // Student's t for 95 %, 2 and 1 degrees
        // clang-format off
        QTest::newRow("Direct") << ReadingsCase{1, false, {"10.1", "10.3", "10.2"}, "10.2", t2 * (0.1 / std::sqrt(3.0)) / 1.96, "2"};
        QTest::newRow("SX, t") << ReadingsCase{2, true, {"10.0|10.2", "10.0|10.3"}, "0.25", 0.05, "1"};
        QTest::newRow("SXXS") << ReadingsCase{3, false, {"1|3|5|1", "2|6|6|2"}, "3.5", t1 * 0.5 / 1.96, "1"};
        QTest::newRow("X/S, t") << ReadingsCase{4, true, {"2|4", "4|10"}, "2.25", 0.25, "1"};
        QTest::newRow("SXS, t") << ReadingsCase{5, true, {"1|5|3", "1|6|3", "1|8|3"}, "4.33333333333333", std::sqrt(7.0 / 9.0), "2"};
        QTest::newRow("none entered") << ReadingsCase{1, false, {"", "", ""}, "", 0, ""};
        // clang-format on
    }
    // Readings give the quantity and refill the dialog; none keep quantity, page and number typed.
    void experimentalReadings() {
        QFETCH(ReadingsCase, c);
        const auto& [mode, student, rows, mean, a, degrees] = c;
        const bool entered = !mean.isEmpty();
        Session s;
        s.Update("y = a + b");
        s.ClickCell(1, 2);
        s.Pick(s.List(), 17);
        s.Click(QString("RadioButton%1").arg(mode));
        s.Click(student ? "RadioButton7" : "RadioButton6");
        s.Type("SpinEdit2", QString::number(rows.size()));
        if (entered)
            s.WithDialog("Button20", [&](QTableWidget& grid, QDialog& form) {
                for (int r = 0; r < rows.size(); ++r)
                    for (int k = 0; k <= rows[r].count(QLatin1Char('|')); ++k)
                        grid.item(r, k + 1)->setText(rows[r].section('|', k, k));
                Session::Press(form, "Button2");
            });
        s.Click("Button4");
        if (!entered) {
            QCOMPARE(s.Log(), QStringList{"Information: Values have not been entered therefore "
                                          "probability distribution will no be assigned"});
            QCOMPARE(QPoint(s.Table()->currentRow(), s.Sheet()), QPoint(1, 17));
            QCOMPARE(s.Record(1), QString("0||"));
            QCOMPARE(s.Get<QSpinBox>("SpinEdit2")->value(), 3);
            QCOMPARE(QApplication::focusWidget(), s.Get("SpinEdit2"));
            return;
        }
        const QStringList p = s.Record(1, true).split('|');  // Distrib, Valor, a, b, Grados
        QCOMPARE(p.mid(0, 2), (QStringList{"17", mean}));
        QVERIFY2(std::abs(p[2].toDouble() / a - 1) < 1e-6, qPrintable(p[2]));
        QCOMPARE(p.mid(3), (QStringList{student ? "Student" : "Normal", degrees}));
        QCOMPARE(s.CellColour(1, 1), QColor(219, 239, 218));
        QVERIFY(s.Dialogs.Log.empty());
        s.ClickCell(1, 2);
        QStringList shown;
        s.WithDialog("Button20", [&](QTableWidget& grid, QDialog&) {
            shown = Rows(&grid, 1, grid.columnCount() - 1);
        });
        QCOMPARE(shown, rows);
    }

    // Page buttons' looks, the menus' rows, the palette's insertions and its slide (11 frames).
    void pagesMenuAndPalette() {
        Session s;
        // Each step: the button clicked (AsHyperBtn2..4, 0: none), the page shown then.
        for (const QString& step : QString("00 31 31 20 20 42 42 20 31 42").split(' ')) {
            if (step[0] != '0') s.Click("AsHyperBtn" + step.left(1));
            const int page = step.right(1).toInt();
            QCOMPARE(s.Page(), page);
            for (int i = 0; i < 3; ++i) {
                auto* button = s.Get<TAsHyperBtn>(QString("AsHyperBtn%1").arg(i + 2));
                QCOMPARE(button->ButtonOn(), i == page);
                QCOMPARE(button->CaptionColor(), QColor(i == page ? Qt::yellow : Qt::white));
                QCOMPARE(button->font().bold(), i == page);
            }
        }
        auto* file = s.Get<QMenu>("Archivo1");
        file->popup(s.Window->mapToGlobal(QPoint(10, 20)));
        QVERIFY(QTest::qWaitForWindowExposed(file));
        const QList<QAction*> items = file->actions();
        file->setActiveAction(items[0]);
        const QImage image = file->grab().toImage();
        const QPoint inset(2, 3);
        QCOMPARE(image.pixelColor(file->actionGeometry(items[0]).topLeft() + inset), kSelected);
        QCOMPARE(image.pixelColor(file->actionGeometry(items[1]).topLeft() + inset),
                 QColor(Qt::white));
        file->hide();
        auto* language = s.Get<QMenu>("Lenguaje1");
        QCOMPARE(file->actionGeometry(items[0]).height(),
                 language->actionGeometry(language->actions()[0]).height() + 20);
        auto* palette = s.Get<corvanta::TAsPanel>("AsPanel2");
        int frames = 0;
        connect(palette, &corvanta::TAsPanel::AnimationFrame, this, [&] { ++frames; });
        s.Click("AsHyperBtn3");
        // The button; Left, then Shift+Left presses from the end of "y = a+b"; text and caret.
        // clang-format off
        const std::tuple<const char*, int, int, const char*, int> rows[] = {
            {"AsHyperBtn8", 0, 3, "y = LN(a+b)", 11}, {"AsHyperBtn12", 0, 3, "y = PI", 6},
            {"AsHyperBtn14", 0, 0, "y = a+bSIN()", 12}, {"AsHyperBtn7", 2, 1, "y = EXP(a)+b", 10},
            {"AsHyperBtn41", 0, 1, "y = a+CYCLETOGRAD(b)", 20}};
        // clang-format on
        for (const auto& [button, left, shifted, text, caret] : rows) {
            s.Type("Memo1", "y = a+b");
            for (int i = 0; i < left + shifted; ++i)
                QTest::keyClick(s.Memo(), Qt::Key_Left,
                                i < left ? Qt::NoModifier : Qt::ShiftModifier);
            frames = 0;
            s.Click("AsHyperBtn5");
            QVERIFY(palette->isVisible());
            QCOMPARE(frames, 11);
            s.Click(button);
            QCOMPARE(s.Memo()->toPlainText(), text);
            QCOMPARE(s.Memo()->textCursor().position(), caret);
            QVERIFY(!s.Memo()->textCursor().hasSelection() && !palette->isVisible());
            QCOMPARE(QApplication::focusWidget(), s.Memo());
        }
        s.Click("AsHyperBtn5");
        s.Click("Label94");
        QVERIFY(!palette->isVisible());
    }

    // A file given at start that is refused leaves the start state; one that opens shows its model.
    void openAtStart() {
        Session s;
        const QString path = s.Path("model.cvm");
        const QString noTitle =
            "Error: The file \"%1\" is not a complete model file: the tag \"%Titulo%\" is missing.";
        // The file (none: "-"), the message.
        for (const auto& [content, shown] : std::initializer_list<std::pair<QByteArray, QString>>{
                 {"-", "Message: Cannot open file \"%1\". No such file or directory"},
                 {"hello\r\n\x01\xFF world\r\n", noTitle},
                 {"", noTitle}}) {
            if (content != "-") Write(path, content);
            s.Dialogs.Log.clear();
            s.Window->OpenFileAtStart(path.toStdString());
            QCOMPARE(s.Log(), QStringList{shown.arg(path)});
            QVERIFY(s.Window->Parameters().empty() && s.Memo()->toPlainText().isEmpty());
            QCOMPARE(s.Get<QLineEdit>("Edit1")->text(), "Type the title of simulation project");
            QCOMPARE(s.Caption(), "  Corvanta[*]");
            QCOMPARE(s.Page(), 0);
            QCOMPARE(s.Text("Label14"), "(Stop)");
            QCOMPARE(s.Grid("StringGrid2", 0, 0),
                     QStringList({"Iterations ", "Mean ", "Variance ", "Standard Deviation ",
                                  "Skew ", "Kurtosis ", "Maximum value ", "Minimum value ",
                                  "Most probable number ", "Range "}));
            QCOMPARE(s.Table()->horizontalHeaderItem(1)->text(), " Units");
        }
        const QString sample = kSamples + "mass-calibration.cvm";
        s.Dialogs.Log.clear();
        s.Window->OpenFileAtStart(sample.toStdString());
        QCOMPARE(s.Get<QLineEdit>("Edit1")->text(), "Mass calibration");
        QCOMPARE(s.Memo()->toPlainText(), "y = (mRc + dmRc)*(1 + (ra - ra0)*(1/rW - 1/rR)) - mnom");
        QCOMPARE(s.Names(), QStringList({"y", "mRc", "dmRc", "ra", "ra0", "rW", "rR", "mnom"}));
        QCOMPARE(s.Page(), 1);
        QCOMPARE(s.Caption(), " Corvanta - " + sample + "[*]");
        s.Click("Button3");  // every input assigned: on to the simulation page
        QVERIFY(s.Page() == 2 && s.Dialogs.Log.empty());
    }

    // Each way of reading laid out; reopened, the last table is forgotten.
    void layoutForMode_data() {
        QTest::addColumn<ReadingMode>("mode");
        QTest::addColumn<QStringList>("headers");
        const QString number = "N\u00BA", patron = "Patr\u00F3n", name = "L\u00B5";
        using enum ReadingMode;
        QTest::newRow("Directa") << Directa << QStringList{number, name};
        QTest::newRow("SX") << IndirectaSX << QStringList{number, patron, name};
        QTest::newRow("SXXS") << IndirectaSXXS << QStringList{number, patron, name, name, patron};
        QTest::newRow("X/S") << IndirectaXS << QStringList{number, patron, name};
        QTest::newRow("SXS") << IndirectaSXS << QStringList{number, patron, name, patron};
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

    // A selection: row numbers kept, copy, paste grows or is refused whole; a click checks rows.
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
        const auto mode = *corvanta::ReadingModeFromKeyword(c.Memo.split('\r')[0].toStdString());
        Form f;
        corvanta::MessageTexts messages;
        messages.NotReal = c.NotReal.toStdString();
        if (!c.NotReal.isEmpty()) f.Dialog.SetMessages(messages);
        bool editorOpen = true;
        QList<QPoint> selected;
        f.Run(mode, c.Memo.count('\n') - 1, c.Memo, [&](QTableWidget& grid) {
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

QTEST_MAIN(GrafTest)
#include "GrafTest.moc"
