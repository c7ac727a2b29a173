// The GUM page after runs of the shipped samples, the curve over the
// histogram, the run's choices saved with the model, and the exports.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QtTest>
#include <deque>

#include "GrafSession.h"
#include "ui/Graf.h"

using namespace grafsession;

namespace {

const QString kSamples = QStringLiteral(CORVANTA_SOURCE_DIR "/samples/");

// A window on a sample, on the Simulation page, with a fixed seed and the
// save and export dialogs answered with paths of its folder.
struct GumSession : Session {
    explicit GumSession(const QString& sample) {
        corvanta::GrafFileDialogs dialogs;
        const auto answer = [this](const char* kind, QString name) {
            return [this, kind, name]() -> std::optional<std::string> {
                Shown << kind;
                return QFile::encodeName(Folder.filePath(name)).toStdString();
            };
        };
        dialogs.ChooseSavePath = answer("save", "saved.cvm");
        dialogs.ChoosePdfPath = answer("pdf", "report.pdf");
        dialogs.ChooseValuesPath = answer("values", "values.txt");
        Window->SetFileDialogs(dialogs);
        Window->OpenFileAtStart((kSamples + sample).toStdString());
        Window->SetRunSeed(7);
        Click("AsHyperBtn4");
        Get<QSpinBox>("SpinEdit1")->setValue(100000);
    }
    QString Text(const QString& label) const { return Get<QLabel>(label)->text(); }
    void Menu(const char* action) { Window->findChild<QAction*>(action)->trigger(); }
    QByteArray Read(const QString& name) const {
        QFile file(Folder.filePath(name));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    QStringList Shown;
};

}  // namespace

class GrafGumTest : public QObject {
    Q_OBJECT

  private slots:
    void massCalibrationCurveAndExports() {
        GumSession s("mass-calibration.cvm");
        s.Menu("ExportarValores1");
        QCOMPARE(s.Log(), QStringList{"Message: There are no output values to export: run the "
                                      "simulation first."});
        s.Click("LabelTab4");
        QVERIFY(s.Get("PanelGum")->isVisible());
        s.Click("AsHyperBtn1");
        QCOMPARE(s.Text("LabelGumCombined"), "Combined standard uncertainty u_c = 0.05385");
        QCOMPARE(s.Text("LabelGumSecondOrder"), "With second-order terms u_c = 0.07497");
        QVERIFY2(s.Text("LabelGumVerdict").startsWith("not validated: "),
                 qPrintable(s.Text("LabelGumVerdict")));
        QCOMPARE(s.Get<QTableWidget>("StringGrid3")->rowCount(), 7);

        const QImage plain = s.Get<QLabel>("Image1")->pixmap().toImage();
        s.Click(s.Get<QCheckBox>("CheckBoxGumCurve"), {5, 9});
        const QImage curved = s.Get<QLabel>("Image1")->pixmap().toImage();
        int changed = 0;
        for (int y = 0; y < plain.height(); ++y)
            for (int x = 0; x < plain.width(); ++x)
                changed += plain.pixel(x, y) != curved.pixel(x, y);
        // A line two pixels wide across most of the chart's width.
        QVERIFY2(changed > plain.width(), qPrintable(QString::number(changed)));

        s.Menu("ExportarValores1");
        const QList<QByteArray> lines = s.Read("values.txt").split('\n');
        QCOMPARE(lines.size(), 100001);  // the last line end leaves an empty part
        QVERIFY(lines[0].endsWith('\r'));
        const double first = lines[0].trimmed().toDouble();
        QCOMPARE(first, s.Window->LastRun().Values.front());
        s.Menu("ExportarPDF1");
        QVERIFY(s.Read("report.pdf").startsWith("%PDF"));
        QCOMPARE(s.Shown, (QStringList{"values", "pdf"}));
        QCOMPARE(s.Log().size(), 1);
    }

    void shortestAdaptiveRunSaved() {
        GumSession s("jcgm101-additive-normal.cvm");
        Session::Pick(s.Get<QComboBox>("ComboBoxInterval"), 1);
        s.Click(s.Get<QCheckBox>("CheckBoxAdaptive"), {5, 10});
        s.Get<QSpinBox>("SpinEditDigits")->setValue(3);
        s.Click("AsHyperBtn1");
        const auto& last = s.Window->LastRun();
        QVERIFY(last.Adaptive);
        QVERIFY(last.Adaptive->Batches >= 10);
        QCOMPARE(last.Iterations, last.Adaptive->Trials);
        QVERIFY2(s.Text("Label15").startsWith("Shortest interval (p = 95%): [ "),
                 qPrintable(s.Text("Label15")));
        QVERIFY2(s.Text("LabelGumVerdict").startsWith("validated: "),
                 qPrintable(s.Text("LabelGumVerdict")));
        s.Menu("Guardar1");
        const QByteArray saved = s.Read("saved.cvm");
        QVERIFY(
            saved.contains("%Intervalo%\r\nMinimo\r\n%/Intervalo%\r\n%Adaptativo%\r\nT\r\n"
                           "%/Adaptativo%\r\n%Cifras%\r\n3\r\n%/Cifras%\r\n"));
        QVERIFY(s.Log().isEmpty());
    }
};

QTEST_MAIN(GrafGumTest)
#include "GrafGumTest.moc"
