// The later kinds and the optional degrees of freedom through the
// distribution panel: the list item, the page, a refused value with its
// exact message, the correction, and the record shown again.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "GrafSession.h"
#include "ui/Graf.h"
#include "ui/Startup.h"
#include "ui/controls/AsHyperBtn.h"
#include "ui/controls/AsPagePanel.h"

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
};

QTEST_MAIN(GrafTypeBTest)
#include "GrafTypeBTest.moc"
