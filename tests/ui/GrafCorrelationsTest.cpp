// The correlations dialog through the window: editing the upper triangle
// with its mirror, the refusals, Cancel, the whole matrix through the
// clipboard, a coefficient from paired readings, and the coefficients kept
// through Save model as and Open.
#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QtTest>
#include <deque>
#include <functional>

#include "GrafSession.h"
#include "document/ModelFile.h"
#include "ui/FormCorrelations.h"
#include "ui/Startup.h"

using grafsession::Rows;
using grafsession::Session;

namespace {

corvanta::ModelParameter Quantity(const char* name, corvanta::DistributionKind kind,
                                  const char* valor, const char* a = "", const char* b = "",
                                  const char* lecturas = "", const char* grados = "") {
    corvanta::ModelParameter p;
    p.Nombre = name;
    p.Distrib = static_cast<std::int32_t>(kind);
    p.Valor = valor;
    p.a = a;
    p.b = b;
    p.Lecturas = lecturas;
    p.Grados = grados;
    p.Init = true;
    return p;
}

// y = a + b + c + d: a and b read together four times, c normal, d constant.
QByteArray ModelBytes() {
    using K = corvanta::DistributionKind;
    corvanta::ModelDocument document;
    document.Title = "Paired readings";
    document.ModelText = "y = a + b + c + d";
    document.Parameters = {
        Quantity("y", K::Resultado, ""),
        Quantity("a", K::Experimental, "2.5", "0.645497224367903", "Student",
                 "Directa\r\n1\r\n2\r\n3\r\n4\r\n", "3"),
        Quantity("b", K::Experimental, "1", "0.408248290463863", "Student",
                 "Directa\r\n1\r\n0\r\n2\r\n1\r\n", "3"),
        Quantity("c", K::Normal, "0", "1"),
        Quantity("d", K::Constante, "5"),
    };
    return QByteArray::fromStdString(corvanta::ComposeModelText(document));
}

// Types into a cell as a user does: the first key opens the editor, the rest
// go to it, Return finishes the cell.
void Type(QTableWidget& grid, int row, int column, const QString& text) {
    grid.setCurrentCell(row, column);
    QTest::keyClicks(&grid, text.left(1));
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    QVERIFY(editor);
    QTest::keyClicks(editor, text.mid(1));
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();
}

// A window whose Open and Save model as dialogs answer from a script.
struct FileSession : Session {
    FileSession() {
        corvanta::GrafFileDialogs dialogs;
        const auto next = [this]() -> std::optional<std::string> {
            if (Paths.empty()) return std::nullopt;
            const QString path = Paths.front();
            Paths.pop_front();
            return QFile::encodeName(path).toStdString();
        };
        dialogs.ChooseOpenPath = next;
        dialogs.ChooseSavePath = next;
        Window->SetFileDialogs(dialogs);
    }
    void Menu(const char* action, const QString& path) {
        Paths.push_back(path);
        Window->findChild<QAction*>(action)->trigger();
    }
    // Runs `act` on the dialog once "Correlations..." has opened it; a dialog
    // `act` leaves open is cancelled so that nothing hangs.
    void WithDialog(const std::function<void(QTableWidget&, QDialog&)>& act) {
        QTimer::singleShot(0, Window.get(), [this, act] {
            corvanta::TFormCorrelations* form = Window->CorrelationsDialog();
            act(*form->findChild<QTableWidget*>("StringGrid1"), *form);
            if (form->isVisible()) form->reject();
        });
        Click("Button21");
    }
    std::deque<QString> Paths;
};

void Press(QDialog& form, const char* button) {
    Session::Click(form.findChild<QPushButton*>(button));
}

}  // namespace

class GrafCorrelationsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { corvanta::UseWindowFont(); }

    void editRefuseCopyPasteSaveReopen() {
        FileSession s;
        const QString model = s.Folder.filePath("paired.cvm");
        QFile file(model);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(ModelBytes());
        file.close();
        s.Menu("Abrir1", model);
        QVERIFY(s.Dialogs.Log.empty());

        const QString fromReadings = "0.316227766016838";  // 1 / sqrt(10)
        s.WithDialog([&](QTableWidget& grid, QDialog& form) {
            QCOMPARE(form.windowTitle(), QString("Correlations"));
            QCOMPARE(grid.horizontalHeaderItem(3)->text(), QString("d"));
            QCOMPARE(grid.verticalHeaderItem(1)->text(), QString("b"));
            QCOMPARE(Rows(&grid, 0, 3), (QStringList{"1|||", "|1||", "||1|", "|||1"}));
            QVERIFY(!(grid.item(1, 0)->flags() & Qt::ItemIsEditable));
            QVERIFY(!(grid.item(2, 2)->flags() & Qt::ItemIsEditable));

            Type(grid, 0, 1, "0.5");
            Type(grid, 0, 2, "1.5");
            QCOMPARE(Rows(&grid, 0, 2), (QStringList{"1|0.5|1.5", "0.5|1|", "1.5||1", "||"}));
            Press(form, "Button2");
            Type(grid, 0, 2, "0.3");
            Type(grid, 2, 3, "0.2");
            Press(form, "Button2");
            grid.setCurrentCell(2, 3);
            QTest::keyClick(&grid, Qt::Key_Delete);
            // A matrix of the wrong size is refused whole.
            QGuiApplication::clipboard()->setText("1\t0.1\n0.1\t1\n");
            QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(Rows(&grid, 0, 3), (QStringList{"1|0.5|0.3|", "0.5|1||", "0.3||1|", "|||1"}));
            QTest::keyClick(&grid, Qt::Key_C, Qt::ControlModifier);
            QCOMPARE(QGuiApplication::clipboard()->text(),
                     QString("1\t0.5\t0.3\t0\n0.5\t1\t0\t0\n0.3\t0\t1\t0\n0\t0\t0\t1\n"));

            grid.setCurrentCell(0, 3);
            Press(form, "Button3");
            grid.setCurrentCell(1, 0);  // below the diagonal: the same pair
            Press(form, "Button3");
            QCOMPARE(grid.item(0, 1)->text(), fromReadings);
            QCOMPARE(grid.item(1, 0)->text(), fromReadings);
            Press(form, "Button2");
            QVERIFY(!form.isVisible());
        });
        QCOMPARE(s.Log(),
                 (QStringList{
                     "Error: The coefficient 1.5 of \"a\" and \"c\" is not between -1 and 1.",
                     "Error: \"d\" is a constant and cannot be correlated.",
                     "Error: The matrix needs 4 rows of 4 coefficients, one for each input "
                     "quantity.",
                     "Information: A coefficient from readings needs two Experimental quantities "
                     "entered directly with the same number of readings: select the cell of "
                     "such a pair."}));
        const corvanta::CorrelationList kept{{"a", "b", 1 / std::sqrt(10.0)}, {"a", "c", 0.3}};
        QCOMPARE(s.Window->Correlations().size(), kept.size());
        QCOMPARE(s.Window->Correlations()[0].Coefficient, 0.316227766016838);
        QCOMPARE(s.Window->Correlations()[1], kept[1]);

        // Cancel keeps what the model holds, whatever was typed; a pasted
        // matrix fills the grid.
        s.WithDialog([&](QTableWidget& grid, QDialog& form) {
            QCOMPARE(Rows(&grid, 0, 1).first(), "1|" + fromReadings);
            QGuiApplication::clipboard()->setText("1\t-0.9\t0\t0\n\t1\t0\t0\n\t\t1\t0\n\t\t\t1\n");
            QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(Rows(&grid, 0, 2).first(), QString("1|-0.9|"));
            Press(form, "Button1");
        });
        QCOMPARE(s.Window->Correlations().size(), 2u);
        QCOMPARE(s.Window->Correlations()[1], kept[1]);

        const QString saved = s.Folder.filePath("saved.cvm");
        s.Menu("Guardar1", saved);
        QFile written(saved);
        QVERIFY(written.open(QIODevice::ReadOnly));
        QVERIFY(written.readAll().contains(
            "%Correlaciones%\r\na;b;0.316227766016838\r\na;c;0.3\r\n%/Correlaciones%\r\n"));
        FileSession again;
        again.Menu("Abrir1", saved);
        QCOMPARE(again.Window->Correlations(), s.Window->Correlations());
    }

    void needsTwoInputs() {
        Session s;
        s.Update("y = 2 * a");
        s.Click("Button21");
        QCOMPARE(s.Log(),
                 QStringList{"Information: A correlation needs at least two input quantities."});
    }
};

QTEST_MAIN(GrafCorrelationsTest)
#include "GrafCorrelationsTest.moc"
