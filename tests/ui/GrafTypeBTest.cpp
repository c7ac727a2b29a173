// The later kinds and the optional degrees of freedom through the
// distribution panel: the list item, the page, a refused value with its
// exact message, the correction, and the record shown again; each later
// kind saved, opened again and run.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSpinBox>
#include <QtTest>

#include "GrafSession.h"
#include "ui/Graf.h"
#include "ui/Startup.h"
#include "ui/controls/AsHyperBtn.h"
#include "ui/controls/AsPagePanel.h"

using grafsession::Rows;
using grafsession::Session;

namespace {

struct KindCase {
    int Item, Page;
    QString ItemText;
    QStringList Labels;  // the page's field labels, in their order
    QStringList Fields;  // Edit1, Edit2, Edit3 (or ""), degrees of freedom
    QString Refused;     // the field refused, and the error it shows
    QByteArray Error;
    QString Fix;     // typed over the refused field
    QString Stored;  // Distrib|Valor|a|b|Grados after the correction
};

}  // namespace

Q_DECLARE_METATYPE(KindCase)

class GrafTypeBTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { corvanta::UseWindowFont(); }

    void laterKindsThroughThePanel_data() {
        QTest::addColumn<KindCase>("c");
        const QString degrees = "Degrees of freedom (optional)";
        // clang-format off
        QTest::newRow("U-shaped") << KindCase{18, 20, "U-shaped (arcsine)",
            {"Midpoint", "Half-width", degrees}, {"0", "-0.5", "", ""}, "Edit2_UShaped",
            "Error of parameters.. Half-width must be real > 0", "0.5", "20|0|0.5||"};
        QTest::newRow("trapezoidal") << KindCase{19, 21, "Trapezoidal",
            {"Midpoint", "Half-width", "Top to base ratio (beta)", degrees}, {"1", "2", "1.5", "12"},
            "Edit3_Trapezoidal", "Error of parameters.. beta must take values from 0 to 1", "0.4",
            "21|1|2|0.4|12"};
        QTest::newRow("curvilinear trapezoid") << KindCase{20, 22, "Curvilinear trapezoid",
            {"Midpoint", "Half-width", "Inexactness of the limits (d)", degrees}, {"0", "1", "1", ""},
            "Edit3_CurvilinearTrapezoid",
            "Error of parameters.. d must be real >= 0 and below the half-width", "0.1", "22|0|1|0.1|"};
        QTest::newRow("asymmetric triangular") << KindCase{21, 23, "Asymmetric triangular",
            {"Mode", "Lower limit", "Upper limit", degrees}, {"5", "0", "4", "3"},
            "Edit3_AsymmetricTriangular",
            "Error of parameters.. The limits must satisfy lower <= mode <= upper and lower < upper",
            "6", "23|5|0|6|3"};
        QTest::newRow("normal degrees 0") << KindCase{1, 1, "Normal",
            {"Mean", "Standard Deviation", degrees}, {"10", "0.1", "", "0"}, "EditDegrees_Normal",
            "Degrees of freedom must be real > 0", "18", "1|10|0.1||18"};
        // clang-format on
    }
    void laterKindsThroughThePanel() {
        QFETCH(KindCase, c);
        Session s;
        s.Update("y = a + b + c");
        s.ClickCell(2, 2);
        QCOMPARE(s.List()->itemText(c.Item), c.ItemText);
        Session::Pick(s.List(), c.Item);
        QCOMPARE(s.Sheet(), c.Page);
        QWidget* sheet = s.Get<corvanta::TAsPagePanel>("AsPagePanel1")->currentWidget();
        QStringList labels;
        for (QLabel* label : sheet->findChildren<QLabel*>())
            labels << label->text();
        QCOMPARE(labels, c.Labels);
        // Edit1_, Edit2_, Edit3_ and EditDegrees_ hold fields 0 to 3.
        const auto fieldOf = [](const QLineEdit* edit) {
            const QString name = edit->objectName();
            return name.startsWith("EditDegrees") ? 3 : name.mid(4, 1).toInt() - 1;
        };
        const QList<QLineEdit*> edits = sheet->findChildren<QLineEdit*>();
        for (QLineEdit* edit : edits)
            if (!c.Fields[fieldOf(edit)].isEmpty())
                s.Type(edit->objectName(), c.Fields[fieldOf(edit)]);
        auto* apply = sheet->findChild<corvanta::TAsHyperBtn*>();
        s.Click(apply);
        const QStringList error{"Error: " + QString::fromLatin1(c.Error)};
        QCOMPARE(s.Log(), error);
        QCOMPARE(s.Record(2), QString("0||"));
        // The row, the page and the typed texts stay; the refused field has
        // the focus with its text selected, ready to be typed over.
        QCOMPARE(s.Table()->currentRow(), 2);
        QCOMPARE(s.Sheet(), c.Page);
        auto* refused = s.Get<QLineEdit>(c.Refused);
        QCOMPARE(QApplication::focusWidget(), refused);
        QCOMPARE(refused->selectedText(), refused->text());
        QTest::keyClicks(refused, c.Fix);
        s.Click(apply);
        QCOMPARE(s.Log(), error);
        const auto& p = s.Window->Parameters().at(2);
        QCOMPARE(QString("%1|%2|%3|%4|%5")
                     .arg(p.Distrib)
                     .arg(p.Valor.c_str(), p.a.c_str(), p.b.c_str(), p.Grados.c_str()),
                 c.Stored);
        QCOMPARE(s.Table()->currentRow(), 3);
        QCOMPARE(s.CellColour(2, 1), QColor(236, 249, 237));

        // Shown again: its page, its list item and its texts.
        s.ClickCell(3, 2);
        s.ClickCell(2, 2);
        QCOMPARE(s.Sheet(), c.Page);
        QCOMPARE(s.List()->currentIndex(), c.Item);
        const QStringList stored = c.Stored.split('|').mid(1);
        QStringList shown, expected;
        for (QLineEdit* edit : edits) {
            shown << edit->text();
            expected << stored[fieldOf(edit)];
        }
        QCOMPARE(shown, expected);
    }

    // Each later kind applied, saved, opened in a new window and run there:
    // the record comes back as applied and the window's mean is the batch
    // tool's for the same file and seed, near the kind's expectation.
    void laterKindsSavedReopenedAndRun_data() {
        QTest::addColumn<int>("item");
        QTest::addColumn<QStringList>("fields");  // Edit1, Edit2, Edit3, degrees
        QTest::addColumn<double>("expectation");
        QTest::newRow("U-shaped") << 18 << QStringList{"2", "0.5", "", "9"} << 2.0;
        QTest::newRow("trapezoidal") << 19 << QStringList{"1", "2", "0.4", ""} << 1.0;
        QTest::newRow("curvilinear") << 20 << QStringList{"-1", "1", "0.1", ""} << -1.0;
        QTest::newRow("asymmetric") << 21 << QStringList{"5", "0", "6", "3"} << 11.0 / 3;
    }
    void laterKindsSavedReopenedAndRun() {
        QFETCH(int, item);
        QFETCH(QStringList, fields);
        QFETCH(double, expectation);
        const QTemporaryDir folder;
        const QString path = folder.filePath("kind.cvm");
        corvanta::GrafFileDialogs files;
        files.ChooseSavePath = files.ChooseOpenPath = [&path] {
            return std::optional<std::string>(QFile::encodeName(path).toStdString());
        };
        Session s;
        s.Window->SetFileDialogs(files);
        s.Update("y = a + b");
        s.Assign(1, 1, {"0", "0.001"});
        s.ClickCell(2, 2);
        Session::Pick(s.List(), item);
        QWidget* sheet = s.Get<corvanta::TAsPagePanel>("AsPagePanel1")->currentWidget();
        for (QLineEdit* edit : sheet->findChildren<QLineEdit*>()) {
            const QString name = edit->objectName();
            const QString text =
                fields[name.startsWith("EditDegrees") ? 3 : name.mid(4, 1).toInt() - 1];
            if (!text.isEmpty()) s.Type(name, text);
        }
        s.Click(sheet->findChild<corvanta::TAsHyperBtn*>());
        s.Window->findChild<QAction*>("Guardar1")->trigger();
        QVERIFY(s.Dialogs.Log.empty());

        Session t;
        t.Window->SetFileDialogs(files);
        t.Window->findChild<QAction*>("Abrir1")->trigger();
        QCOMPARE(t.Window->Parameters(), s.Window->Parameters());
        t.Window->SetRunSeed(7);
        t.Click("AsHyperBtn4");
        t.Get<QSpinBox>("SpinEdit1")->setValue(100000);
        t.Click("AsHyperBtn1");
        QVERIFY(t.Dialogs.Log.empty());

        QProcess cli;
        cli.start(QStringLiteral(CORVANTA_CLI),
                  {"run", path, "--iterations", "100000", "--seed", "7", "--json"});
        QVERIFY(cli.waitForFinished(120000) && cli.exitCode() == 0);
        const QJsonObject batch = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
        const double mean = batch.value("mean").toDouble();
        const double sd = batch.value("standard_deviation").toDouble();
        const QString shown = Rows(t.Get<QTableWidget>("StringGrid2"), 1, 1).at(1);
        QVERIFY2(std::abs(shown.toDouble() - mean) <= 1e-5 * (1 + std::abs(mean)),
                 qPrintable(shown));
        QVERIFY2(std::abs(mean - expectation) < 5 * sd / std::sqrt(100000.0), qPrintable(shown));
    }
};

QTEST_MAIN(GrafTypeBTest)
#include "GrafTypeBTest.moc"
