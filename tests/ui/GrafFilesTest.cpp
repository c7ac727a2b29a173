// Files, languages, help, correlations; the run: chart, results against the batch tool, exports.
#include <array>
#include <cmath>

#include "GrafSession.h"
#include "document/ModelFile.h"
#include "ui/Chart.h"

using namespace grafsession;
using Counts = std::array<std::int64_t, corvanta::kHistogramBins>;

namespace {

// A language file: the header, then every caption key with the English text or a replacement.
QByteArray LanguageFile(const QByteArray& header, const QMap<int, QByteArray>& replaced) {
    const auto table = corvanta::CaptionTable::BuiltIn();
    QByteArray text = header;
    for (int n = 0; n < corvanta::kCaptionCount; ++n)
        text += "cap" + QByteArray::number(n) + "=" +
                replaced.value(n, QByteArray::fromStdString(table.Cap(n))) + "\r\n";
    return text;
}

// What a program that succeeds without a word on its standard error writes.
QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(120000) || process.exitCode() != 0 ||
        !process.readAllStandardError().isEmpty())
        qFatal("%s failed or warned", qPrintable(program));
    return QString::fromUtf8(process.readAllStandardOutput());
}

// y = a + b + c + d: a and b read together four times, c normal, d constant.
QByteArray PairedModel() {
    corvanta::ModelDocument document;
    document.Title = "Paired readings", document.ModelText = "y = a + b + c + d";
    // Nombre, Unidad, Desc, Distrib, Valor, Lecturas, a, b, Grados, Init, Sensib
    document.Parameters = {{"y", "", "", 19, "", "", "", "", "", true, 0},
                           {"a", "", "", 17, "2.5", "Directa\r\n1\r\n2\r\n3\r\n4\r\n",
                            "0.645497224367903", "Student", "3", true, 0},
                           {"b", "", "", 17, "1", "Directa\r\n1\r\n0\r\n2\r\n1\r\n",
                            "0.408248290463863", "Student", "3", true, 0},
                           {"c", "", "", 1, "0", "", "1", "", "", true, 0},
                           {"d", "", "", 4, "5", "", "", "", "", true, 0}};
    return QByteArray::fromStdString(corvanta::ComposeModelText(document));
}

const QString kSample = kSamples + "mass-calibration.cvm";
const QRgb kNavy = corvanta::kChartBackground.rgb(), kBar = corvanta::kChartBar.rgb();
const QRgb kTail = corvanta::kChartTail.rgb(), kMark = corvanta::kChartMark.rgb();

// The colours of column x from the top, run-length coded: "navy*10 bar*150".
QString Column(const QImage& image, int x) {
    const QMap<QRgb, QString> names{
        {kNavy, "navy"}, {kBar, "bar"}, {kTail, "tail"}, {kMark, "mark"}};
    QStringList runs;
    for (int y = 0, end = 0; y < corvanta::kChartBaseline; y = end) {
        for (end = y; end < corvanta::kChartBaseline && image.pixel(x, end) == image.pixel(x, y);)
            ++end;
        runs << QString("%1*%2").arg(names.value(image.pixel(x, y), "?")).arg(end - y);
    }
    return runs.join(' ');
}

Counts Flat(std::int64_t count) {
    Counts counts{};
    counts.fill(count);
    return counts;
}

// Whether a result text agrees with `expected` to half a unit of its last digit (or `least`).
bool Shows(const QString& text, double expected, double least = 0) {
    const int e = text.indexOf('e');
    const QString mantissa = e < 0 ? text : text.left(e);
    const int point = mantissa.indexOf('.');
    const int decimals = point < 0 ? 0 : int(mantissa.size()) - point - 1;
    const double half = 0.5 * std::pow(10.0, (e < 0 ? 0 : text.mid(e + 1).toInt()) - decimals);
    return std::abs(text.toDouble() - expected) <= std::max(half, least) * 1.000001;
}

}  // namespace

class GrafFilesTest : public QObject {
    Q_OBJECT

  private slots:
    // Save as, open, Save: same bytes, right file; Save as over a file asks (Cancel keeps); print.
    void saveOpenSaveRoundTrip() {
        Session s;
        const QString source = s.OpenCopy("source.cvm", "roundtrip-all-kinds.cvm");
        QCOMPARE(s.Caption(), " Corvanta - " + source + "[*]");

        s.SavePaths.push_back(s.Path("first"));  // the extension comes with the dialog
        s.Menu("Guardar1");
        const QString first = s.Path("first.cvm");
        const QByteArray saved = Bytes(first);
        QCOMPARE(s.Caption(), " Corvanta - " + first + "[*]");

        s.Type("Edit1", "Another model");
        // A name the file system holds in UTF-8, shown in the question as typed.
        const QString other = s.Path(QString::fromLatin1("medici\xF3n.cvm"));
        Write(other, "old content\r\n");
        s.Dialogs.Answers = {DialogAnswer::Cancel, DialogAnswer::Ok};
        s.SavePaths = {other, other};
        s.Menu("Guardar1");
        QCOMPARE(Bytes(other), "old content\r\n");
        QCOMPARE(s.Caption(), " Corvanta - " + first + "[*]");
        s.Menu("Guardar1");
        QVERIFY(Bytes(other).startsWith("%Titulo%\r\nAnother model\r\n%/Titulo%\r\n"));
        QCOMPARE(s.Caption(), " Corvanta - " + other + "[*]");

        s.OpenFile(first);  // saved: nothing to ask
        QCOMPARE(s.Caption(), " Corvanta - " + first + "[*]");
        s.Menu("Guardarmodelo1");
        QCOMPARE(Bytes(first), saved);
        QVERIFY(Bytes(other).startsWith("%Titulo%\r\nAnother model\r\n"));
        const QString question = "ConfirmOkCancel: The file " + other +
                                 " already exists. Do you want to overwrite with updated model?";
        QCOMPARE(s.Log(), QStringList({question, question}));  // opening a saved file asks nothing
        // What the program writes of a file it wrote itself is that file.
        QCOMPARE(saved, Bytes(source));
        // The report on a PDF printer, read back as text and as word boxes.
        s.Menu("Imprimir1");  // the print dialog cancelled
        s.PrinterPdf = s.Path("report.pdf");
        s.Menu("Imprimir1");
        QCOMPARE(s.Shown, (QStringList{"open", "save", "save", "save", "open", "print", "print"}));

        const QString text = Run("pdftotext", {"-layout", s.PrinterPdf, "-"});
        QStringList lines;
        for (const QString& line : text.split('\n'))
            if (!line.trimmed().isEmpty()) lines << line.trimmed();
        QCOMPARE(lines.at(0), QString::fromLatin1("CALIBRACI\xF3N DE UNA MASA DE 1 \xB5G"));
        QCOMPARE(lines.at(1), QString("Monte Carlo Simulation Powered by Corvanta \"Torvo\""));
        QCOMPARE(lines.at(2), QString("TECHNICAL DESCRIPTION"));
        // The sections in order, the readings after their distribution line, the results lines.
        // clang-format off
        const QStringList expected = {
            "EQUATIONS GROUP", "PARAMETER", ">> y",
            "Distribution of simulation: Experimental (Normal) - Direct", "Directa", "10.1",
            "RESULTS", "Iterations = Indetermined", "Skew = Indetermined",
            "Normality test (Jarque - Bera) := Indetermined", "Result = Indetermined",
            "GUM format := Indetermined"};
        // clang-format on
        int at = 0;
        for (const QString& line : expected) {
            while (at < lines.size() && lines.at(at).simplified() != line)
                ++at;
            QVERIFY2(at < lines.size(), qPrintable("missing or out of order: " + line));
        }

        // Margins: 1 inch left, 2 inches top, from the paper's edge.
        const QString boxes = Run("pdftotext", {"-bbox", "-f", "1", "-l", "1", s.PrinterPdf, "-"});
        QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)")re");
        double left = 1e9, top = 1e9;
        for (auto match = word.globalMatch(boxes); match.hasNext();) {
            const auto m = match.next();
            left = std::min(left, m.captured(1).toDouble());
            top = std::min(top, m.captured(2).toDouble());
        }
        QVERIFY2(std::abs(left - 72) <= 2, qPrintable(QString::number(left)));
        QVERIFY2(std::abs(top - 144) <= 2, qPrintable(QString::number(top)));
        QVERIFY(Run("pdfinfo", {s.PrinterPdf})
                    .contains(QString::fromLatin1("Corvanta \xAE Simulation results")));
    }

    // A saved model: changes mark it, looks and runs do not, saving clears; keys reach commands.
    void actionsOnASavedModel() {
        using Act = std::function<void(Session&)>;
        const auto keys = [](const char* keys) -> Act {
            return [keys](Session& s) { QTest::keySequence(s.Window.get(), QKeySequence(keys)); };
        };
        // The action and what it does ("changes": marks the model).
        // clang-format off
        const std::vector<std::pair<Act, QString>> actions = {
            {[](Session& s) { s.Click("AsHyperBtn2"), s.Type("Edit1", "M"); }, "changes"},
            {[](Session& s) { s.Click("AsHyperBtn2"), s.Type("TransMemo1", "D"); }, "changes"},
            {[](Session& s) { s.Update("y = mRc + dmRc"); }, "changes"},
            {[](Session& s) { s.Assign(1, 1, {"100000", "0.05"}); }, "changes"},
            {[](Session& s) {
                 s.ClickCell(2, 2), QTest::keyClicks(s.Table(), "x");
                 QTest::keyClick(s.Table()->indexWidget(s.Table()->currentIndex()), Qt::Key_Return); }, "changes"},
            {[](Session& s) { s.Click("AsHyperBtn4"), s.Pick("ComboBoxInterval", 1); }, "changes"},
            {[](Session& s) { s.ClickCell(3, 2), s.Click("AsHyperBtn4"), s.Click("AsHyperBtn1"); }, "run"},
            {keys("Ctrl+N"), "new"}, {keys("Ctrl+O"), "open"}, {keys("Ctrl+S"), "saved"},
            {keys("Ctrl+Shift+S"), "save"}, {keys("Ctrl+P"), "print"}, {keys("Ctrl+Q"), "closed"},
            {[keys](Session& s) { s.Click("AsHyperBtn4"), keys("F5")(s); }, "run"},
            {[keys](Session& s) {
                 s.Click("AsHyperBtn4");
                 QTimer::singleShot(0, [&s] { QTest::keyClick(s.Window.get(), Qt::Key_Escape); });
                 keys("F5")(s); }, "stopped"},
        };
        // clang-format on
        for (const auto& [act, effect] : actions) {
            Session s;
            const QString model = s.OpenCopy("model.cvm");
            QFile::remove(model);
            s.Shown.clear();
            s.Get<QSpinBox>("SpinEdit1")->setValue(100000);
            act(s);
            QCoreApplication::processEvents();
            const auto status = s.Window->LastRun().Status;
            QCOMPARE(s.Memo()->toPlainText().isEmpty(), effect == "new");
            QCOMPARE(QFile::exists(model), effect == "saved");
            const bool dialog = effect == "open" || effect == "save" || effect == "print";
            QCOMPARE(s.Shown, dialog ? QStringList{effect} : QStringList());
            QCOMPARE(s.Window->isVisible(), effect != "closed");
            QCOMPARE(status == corvanta::RunStatus::Completed, effect == "run");
            QCOMPARE(status == corvanta::RunStatus::Interrupted, effect == "stopped");
            QVERIFY(s.Log().isEmpty());
            if (effect == "new" || effect == "closed") continue;
            QVERIFY2(s.Window->IsDocumentModified() == (effect == "changes"), qPrintable(effect));
            QCOMPARE(s.Caption(), " Corvanta - " + model + "[*]");
            s.Menu("Guardarmodelo1");
            QVERIFY(!s.Window->IsDocumentModified() && QFile::exists(model) && s.Log().isEmpty());
        }
    }

    // Close, New, Open, drop on a change ask: Cancel keeps, Discard goes on, Save writes or stays.
    void changesQuestion() {
        using A = DialogAnswer;
        const std::pair<A, const char*> answers[] = {
            {A::Cancel, ""}, {A::Discard, ""}, {A::Save, "saved.cvm"}, {A::Save, "no/saved.cvm"}};
        for (const QString command : {"Cerrar1", "Nuevo1", "Abrir1", "drop"}) {
            for (const auto& [answer, save] : answers) {
                Session s;
                s.Update("y = a + b");
                s.Dialogs.Answers.push_back(answer);
                s.SavePaths.push_back(s.Path(save));
                s.OpenPaths.push_back(kSamples + "mass-calibration.cvm");
                QVERIFY(!s.Drop(kSamples + "../README.md"));  // refused: asks nothing
                if (command == "drop") QVERIFY(s.Drop(kSamples + "mass-calibration.cvm"));
                if (command != "drop") s.Menu(qPrintable(command));
                const bool fails = QString(save).startsWith("no/");
                const bool goesOn = answer != A::Cancel && !fails;
                QStringList shown{"ConfirmSaveDiscardCancel: Save changes to Untitled?"};
                if (fails)
                    shown << "Message: Cannot create file \"" + s.Path(save) +
                                 "\". No such file or directory";
                QCOMPARE(s.Log(), shown);
                QCOMPARE(QFile::exists(s.Path("saved.cvm")), answer == A::Save && !fails);
                const bool closes = command == "Cerrar1";
                QCOMPARE(s.Window->isVisible(), !(closes && goesOn));
                QCOMPARE(s.Shown.contains("open"), command == "Abrir1" && goesOn);
                const QString text = s.Memo()->toPlainText();
                QCOMPARE(text == "y = a + b", !goesOn || closes);
                QCOMPARE(text.isEmpty(), goesOn && command == "Nuevo1");
                if (!closes) QCOMPARE(s.Window->IsDocumentModified(), !goesOn);
            }
        }
    }

    // Recent models: newest first, read again by a later window; one whose file is gone says so.
    void recentModelsSurviveARestart() {
        Session s;
        for (const char* name : {"a.cvm", "b.cvm", "a.cvm"})
            s.OpenCopy(name);
        s.Window.reset();
        Session later(s.Path("settings.ini"));
        const auto entries = [&later] {
            QStringList texts;
            for (QAction* action : later.Get<QMenu>("AbrirReciente1")->actions())
                texts << action->text();
            return texts;
        };
        QCOMPARE(entries(), (QStringList{"1  " + s.Path("a.cvm"), "2  " + s.Path("b.cvm")}));
        QFile::remove(s.Path("b.cvm"));
        later.Menu("Reciente2");
        QCOMPARE(later.Log(), QStringList{"Message: The file " + s.Path("b.cvm") +
                                          " is no longer there and leaves the list of recent "
                                          "models."});
        QCOMPARE(entries(), QStringList{"1  " + s.Path("a.cvm")});
        later.Menu("Reciente1");
        QCOMPARE(later.Window->FileName(), s.Path("a.cvm").toStdString());
        QCOMPARE(later.Log().size(), 1);
    }

    // Help: the guide in its own window and the about box with the version and the licence.
    void helpMenu() {
        Session s;
        s.Menu("GuiaUsuario1");
        auto* guide = s.Window->findChild<QTextBrowser*>("TextBrowserGuide");
        QVERIFY(guide && guide->isVisible());
        QVERIFY(guide->document()->toPlainText().startsWith("Corvanta user guide"));
        QStringList lines;
        QTimer::singleShot(0, s.Window.get(), [&] {
            QWidget* about = QApplication::activeModalWidget();
            for (const char* name : {"LabelVersion", "LabelLicence"})
                lines << about->findChild<QLabel*>(name)->text();
            about->close();
        });
        s.Menu("AcercaDe1");
        QCOMPARE(lines, (QStringList{"Version: " CORVANTA_VERSION " (Torvo)",
                                     "Licence: GNU General Public License, version 3 or later"}));

        // Every command the guide names in bold is in the window, bar the changes question's.
        QStringList shown = {"Save", "Discard", "Cancel"};
        for (QMenu* menu : s.Window->menuBar()->findChildren<QMenu*>())
            for (QAction* action : menu->actions())
                shown << menu->title() + " > " + action->text().section('\t', 0, 0);
        for (QWidget* widget : s.Window->findChildren<QWidget*>()) {
            if (auto* button = qobject_cast<TAsHyperBtn*>(widget)) shown << button->Caption();
            if (auto* label = qobject_cast<QLabel*>(widget)) shown << label->text();
            if (auto* button = qobject_cast<QAbstractButton*>(widget)) shown << button->text();
            if (auto* box = qobject_cast<QComboBox*>(widget))
                for (int i = 0; i < box->count(); ++i)
                    shown << box->itemText(i);
            if (auto* grid = qobject_cast<QTableWidget*>(widget))
                for (int c = 0; c < grid->columnCount(); ++c)
                    if (auto* header = grid->horizontalHeaderItem(c))
                        shown << header->text().trimmed();
        }
        const QString text = QString::fromUtf8(Bytes(CORVANTA_SOURCE_DIR "/docs/guide.md"));
        QRegularExpression bold(R"(\*\*([^*]+)\*\*)");
        int named = 0;
        for (auto match = bold.globalMatch(text); match.hasNext(); ++named) {
            const QString name = match.next().captured(1).simplified();
            QVERIFY2(shown.contains(name), qPrintable(name));
        }
        QVERIFY(named > 40);
    }

    // Another layout is refused; one loaded (no extension) applies, may be default; none: nothing.
    void languageFiles() {
        Session s;
        Write(s.Path("wrong.cvl"),
              LanguageFile("country=Spain\r\nlanguage=Spanish\r\nauthor=Lab\r\n",
                           {{73, "Simulaci\xF3n"}}));
        const QString file = s.Path("spanish.cvl");
        Write(file, LanguageFile("// a comment\r\nlanguage=Espa\xF1ol\r\ncountry=Espa\xF1"
                                 "a\r\nauthor=Laboratorio\r\n",
                                 {{73, "Simulaci\xF3n"},
                                  {54, "N\xFAmero de iteraci\xF3n"},
                                  {91, "Archivo"},
                                  {41, "Iniciar"}}));
        const QByteArray before = Bytes(s.Path("default.lng"));
        s.LanguagePaths = {s.Path("wrong.cvl"), s.Path("spanish")};
        s.Menu("Cargararchivodeidioma1");
        QCOMPARE(s.Get<TAsHyperBtn>("AsHyperBtn4")->Caption(), QString("Simulation"));
        QCOMPARE(Bytes(s.Path("default.lng")), before);
        QVERIFY(!QFile::exists(s.Path("language.dat")));
        s.Dialogs.Answers.push_back(DialogAnswer::Ok);  // use it as the default language
        s.Menu("Cargararchivodeidioma1");
        QCOMPARE(s.Get<TAsHyperBtn>("AsHyperBtn4")->Caption(),
                 QString::fromLatin1("Simulaci\xF3n"));
        QCOMPARE(s.Get<TAsHyperBtn>("AsHyperBtn1")->Caption(), QString("Iniciar"));
        QCOMPARE(s.Text("Label4"), QString::fromLatin1("N\xFAmero de iteraci\xF3n"));
        QCOMPARE(s.Get<QMenu>("Archivo1")->title(), QString("Archivo"));
        QCOMPARE(QFileInfo(s.Path("default.lng")).size(), corvanta::kCaptionCount * 260);
        s.Menu("Cargararchivodeidioma1");  // none left: the dialog cancelled
        s.Menu("Informacindeidiomapredeterminado1");
        const QStringList shown = {
            "Error: Language file format not supported",
            "ConfirmOkCancel: Want to use " + file + " content as default language?",
            "Message: Default interface language data:\r" + QString(41, '-') +
                "\rLanguage: Espa\u00F1ol\rCountry: Espa\u00F1a\rContributor: Laboratorio"};
        QCOMPARE(s.Log(), shown);
        QCOMPARE(s.Shown, QStringList(3, "language"));
    }

    // Mirror, refusals, clipboard, coefficient from readings, Cancel; kept by Save as and Open.
    void correlationsEditedSavedReopened() {
        Session s;
        Write(s.Path("paired.cvm"), PairedModel());
        s.OpenFile(s.Path("paired.cvm"));
        QVERIFY(s.Dialogs.Log.empty());
        const QString fromReadings = "0.316227766016838";  // 1 / sqrt(10)
        s.WithDialog("Button21", [&](QTableWidget& grid, QDialog& form) {
            QCOMPARE(form.windowTitle(), QString("Correlations"));
            QCOMPARE(grid.horizontalHeaderItem(3)->text(), QString("d"));
            QCOMPARE(grid.verticalHeaderItem(1)->text(), QString("b"));
            QCOMPARE(Rows(&grid, 0, 3), (QStringList{"1|||", "|1||", "||1|", "|||1"}));
            QVERIFY(!((grid.item(1, 0)->flags() | grid.item(2, 2)->flags()) & Qt::ItemIsEditable));
            TypeCell(grid, 0, 1, "0.5");
            TypeCell(grid, 0, 2, "1.5");
            QCOMPARE(Rows(&grid, 0, 2), (QStringList{"1|0.5|1.5", "0.5|1|", "1.5||1", "||"}));
            s.Press(form, "Button2");
            TypeCell(grid, 0, 2, "0.3");
            TypeCell(grid, 2, 3, "0.2");
            s.Press(form, "Button2");
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
            s.Press(form, "Button3");
            grid.setCurrentCell(1, 0);  // below the diagonal: the same pair
            s.Press(form, "Button3");
            QCOMPARE(grid.item(0, 1)->text(), fromReadings);
            QCOMPARE(grid.item(1, 0)->text(), fromReadings);
            s.Press(form, "Button2");
            QVERIFY(!form.isVisible());
        });
        const QStringList refusals = {
            "Error: The coefficient 1.5 of \"a\" and \"c\" is not between -1 and 1.",
            "Error: \"d\" is a constant and cannot be correlated.",
            "Error: The matrix needs 4 rows of 4 coefficients, one for each input quantity.",
            "Information: A coefficient from readings needs two Experimental quantities entered "
            "directly with the same number of readings: select the cell of such a pair."};
        QCOMPARE(s.Log(), refusals);
        // Cancel keeps what the model holds, whatever a pasted matrix filled in: the file saved.
        s.WithDialog("Button21", [&](QTableWidget& grid, QDialog& form) {
            QCOMPARE(Rows(&grid, 0, 1).first(), "1|" + fromReadings);
            QGuiApplication::clipboard()->setText("1\t-0.9\t0\t0\n\t1\t0\t0\n\t\t1\t0\n\t\t\t1\n");
            QTest::keyClick(&grid, Qt::Key_V, Qt::ControlModifier);
            QCOMPARE(Rows(&grid, 0, 2).first(), QString("1|-0.9|"));
            s.Press(form, "Button1");
        });
        s.SavePaths.push_back(s.Path("saved.cvm"));
        s.Menu("Guardar1");
        QVERIFY(Bytes(s.Path("saved.cvm"))
                    .contains("%Correlaciones%\r\na;b;0.316227766016838\r\na;c;0.3\r\n"
                              "%/Correlaciones%\r\n"));
        Session again;
        again.OpenFile(s.Path("saved.cvm"));
        QCOMPARE(again.Window->Correlations(), s.Window->Correlations());
        Session one;  // with one input there is nothing to correlate
        one.Update("y = 2 * a");
        one.Click("Button21");
        QCOMPARE(one.Log(),
                 QStringList{"Information: A correlation needs at least two input quantities."});
    }

    // Chart before, counts, marks?, "x: runs" of columns, marks' x; nothing painted below the base.
    void chartPixels() {
        Counts halves{}, low = Flat(10);
        halves[0] = 4, halves[1] = 1, halves[2] = 3;  // 150/4 = 37.5 -> 38, 450/4 = 112.5 -> 112
        low[5] = 20;
        // 100 in every bin: the lowest 3 and the highest 4 bins hold the tails.
        // clang-format off
        const std::tuple<Counts, Counts, bool, QStringList, QPoint> cases[] = {
            {Counts{}, halves, false, {"0: navy*10 bar*150", "1: navy*160", "2: navy*122 bar*38", "4: navy*48 bar*112", "6: navy*160"}, {}},  // first update: all light blue, heights half to even
            {Counts{}, Flat(100), true, {"4: navy*10 tail*150", "6: mark*10 bar*150", "8: navy*10 bar*150",
                "290: navy*10 bar*150", "292: mark*10 tail*150", "298: navy*10 tail*150"}, {30, 316}},
            {Flat(100), low, false, {"0: navy*85 bar*75", "10: navy*10 bar*150", "12: navy*85 bar*75"}, {}},  // lower bars erase the taller ones
            {Flat(100), Counts{}, true, {"0: navy*160", "150: navy*160"}, {}}};  // nothing counted: empty
        // clang-format on
        for (const auto& [previous, counts, marks, columns, markX] : cases) {
            QImage image = corvanta::BlankChart();
            corvanta::DrawChart(image, previous, false);
            const corvanta::ChartMarks where = corvanta::DrawChart(image, counts, marks);
            for (const QString& column : columns) {
                const int x = column.section(':', 0, 0).toInt();
                QCOMPARE(QString("%1: %2").arg(x).arg(Column(image, x)), column);
            }
            QCOMPARE(QPoint(where.LowX, where.HighX), markX);
            for (int x = 0; x < corvanta::kChartWidth; ++x)
                QCOMPARE(image.pixel(x, corvanta::kChartBaseline), kNavy);
        }
    }

    // View on/off match the batch tool; off, spreads stored negative open silently and run alike.
    void wholeRunMatchesBatchTool() {
        for (const bool view : {true, false}) {
            Session s;
            const QString file = view ? kSample : s.Path("negative.cvm");
            Write(s.Path("negative.cvm"), Bytes(kSample)
                                              .replace("\r\n0.020\r\n", "\r\n-0.020\r\n")
                                              .replace("\r\n0.1\r\n", "\r\n-0.1\r\n"));
            s.ReadyToRun(file);
            if (!view) s.Click("Label29");
            QCOMPARE(s.Get<QCheckBox>("CheckBoxHistogram")->isChecked(), view);
            s.Click("AsHyperBtn1");
            QCOMPARE(s.Text("Label5"), "100000");  // the last iteration shows either way
            QVERIFY(!s.Get("Label14")->isVisible() && !s.Get("progressbar")->isVisible());
            QCOMPARE(s.Get("progressbar")->width(), view ? 10 : 400);
            QVERIFY(s.Get<QCheckBox>("CheckBoxHistogram")->isEnabled());
            QVERIFY(s.Dialogs.Log.empty());

            const QString json =
                Run(CORVANTA_CLI, {"run", file, "--iterations", "100000", "--seed", "7", "--json"});
            const QJsonObject batch = QJsonDocument::fromJson(json.toUtf8()).object();
            const QStringList grid = s.Grid("StringGrid2", 1, 1);
            QCOMPARE(grid.at(0), "100000");
            const QStringList keys = {
                "iterations",      "mean",    "variance", "standard_deviation", "skewness",
                "excess_kurtosis", "maximum", "minimum",  "most_probable",      "range"};
            // Skewness and kurtosis come through their labels' five decimals.
            for (int row = 1; row < 10; ++row)
                QVERIFY2(Shows(grid.at(row), batch.value(keys[row]).toDouble(),
                               row == 4 || row == 5 ? 0.5e-5 : 0),
                         qPrintable(keys[row] + ": " + grid.at(row)));
            QCOMPARE(s.Text("Resultado_res"), grid.at(1));
            const QJsonArray interval = batch.value("interval").toArray();
            const QString ends = s.Text("Label60").section('[', 1).section(']', 0, 0);
            for (int end = 0; end < 2; ++end)
                QVERIFY(Shows(ends.section(',', end, end).trimmed(), interval.at(end).toDouble()));
            QVERIFY(s.Text("Label60").startsWith("Confidence interval (p = 95%): [ "));
            QCOMPARE(s.Text("Label15"), s.Text("Label60"));
            QCOMPARE(s.Text("Label28"),
                     "GUM format: " + batch.value("classic").toString() + "  mg");
            const QString normality = s.Text("Label12");
            QVERIFY(normality.startsWith("Normality test (Jarque - Bera)  =  "));
            QVERIFY(Shows(normality.section("=  ", 1).section("   (", 0, 0),
                          batch.value("jarque_bera").toDouble()));
            QVERIFY(normality.endsWith(
                batch.value("normality_fits").toBool() ? "   (fit)" : "   (doesn't fit)"));
            // The marks: mean -+ 1.96 s of the last update (view off: the first, never marked).
            const double mean = batch.value("mean").toDouble();
            const double sd = batch.value("standard_deviation").toDouble();
            for (const auto& [label, bound] :
                 {std::pair{"Label6", mean - 1.96 * sd}, {"Label7", mean + 1.96 * sd}}) {
                QCOMPARE(s.Get<QLabel>(label)->isVisible(), view);
                QVERIFY(s.Text(label).startsWith("1.96 s = ") &&
                        Shows(s.Text(label).mid(9), bound));
            }
            // Contributions: the widths to three decimals, the shares in full.
            const QJsonArray contributions = batch.value("contributions").toArray();
            const QStringList rows = s.Grid("StringGrid1", 0, 2);
            QCOMPARE(rows.size(), contributions.size());
            for (int row = 0; row < rows.size(); ++row) {
                const QJsonObject expected = contributions.at(row).toObject();
                const QStringList cells = rows.at(row).split('|');
                QCOMPARE(cells.at(0), expected.value("name").toString());
                if (expected.value("width").isNull()) continue;  // the output quantity
                QVERIFY(Shows(cells.at(1), expected.value("width").toDouble()));
                QVERIFY(std::abs(cells.at(2).toDouble() - expected.value("relative").toDouble()) <=
                        1e-9);
            }
            if (!view) {
                QCOMPARE(batch.value("mean").toDouble(), 1.2341062763000765);
                QCOMPARE(grid.mid(1, 3), (QStringList{"1.23411", "5.710013e-3", "7.55646e-2"}));
                s.Click("AsHyperBtn3");
                s.ClickCell(2, 2);
                QCOMPARE(s.Get<QLineEdit>("Edit2_Normal")->text(), QString("-0.020"));
                s.ClickCell(3, 2);
                QCOMPARE(s.Get<QLineEdit>("Edit2_Rectangular")->text(), QString("-0.1"));
                QCOMPARE(s.Record(3), QString("2|1.2|-0.1"));
                QVERIFY(s.Dialogs.Log.empty());
                continue;
            }
            // Another coverage after the run: its interval is not known.
            s.Pick("ComboBox1", 1);
            QCOMPARE(s.Text("Label15"), "Confidence interval (p = 90%)  =  Indetermined");
            QCOMPARE(s.Text("Label60"), s.Text("Label15"));
            QCOMPARE(s.Text("Label28"), "GUM format = Indetermined");
            QCOMPARE(s.Grid("StringGrid2", 1, 1), grid);
        }
    }

    // Stopped or closed at the first update: the run ends there; the window closes once it has.
    void stopOrCloseAtAnUpdate() {
        for (const bool close : {false, true}) {
            Session s;
            s.ReadyToRun(kSample, 2000000);
            QTimer::singleShot(0, s.Window.get(), [&s, close] {
                if (close) return void(s.Window->close());
                QVERIFY(s.Get("Label14")->isVisible());
                QVERIFY(!s.Get<QCheckBox>("CheckBoxHistogram")->isEnabled());
                // While the run draws from the model, nothing may replace it.
                QVERIFY(!s.Get("TabSheet20")->isEnabled());
                QVERIFY(!s.Window->findChild<QAction*>("Abrir1")->isEnabled());
                s.Click("Label29");      // ignored while running
                s.Click("AsHyperBtn1");  // ignored: a run is in progress
                s.Click("Label14");
            });
            s.Click("AsHyperBtn1");
            QTRY_VERIFY(s.Window->isVisible() != close);
            QCOMPARE(s.Text("Label5"), QString("101"));
            if (close) continue;
            QVERIFY(s.Get<QCheckBox>("CheckBoxHistogram")->isChecked());
            QVERIFY(s.Get("TabSheet20")->isEnabled());
            QVERIFY(s.Window->findChild<QAction*>("Abrir1")->isEnabled());
            QCOMPARE(s.Text("Label15"),
                     QString("Confidence interval (p = 95%): Indeterminado (simul. interrumpida)"));
            QCOMPARE(s.Text("Label60"), s.Text("Label15"));
            QCOMPARE(s.Text("Label28"), QString("GUM format = Indetermined"));
            const QStringList grid = s.Grid("StringGrid2", 1, 1);
            QCOMPARE(grid.at(0), QString("2000000"));
            for (int row : {4, 5, 8})
                QCOMPARE(grid.at(row), QString("Indetermined"));
            QVERIFY(grid.at(1) != "Indetermined");
            // The contributions are computed all the same.
            QVERIFY(!s.Grid("StringGrid1", 1, 1).at(1).isEmpty());
            QVERIFY(s.Dialogs.Log.empty());
        }
    }

    // Refused while unready; y = 10 b + e (b 0 or 1): two far clusters, kurtosis near -2, no marks.
    void notReadyThenTwoClusters() {
        Session s;
        s.ReadyToRun({}, 100000, 11);
        s.Click("AsHyperBtn1");  // no model at all
        s.Update("y = 10*b + e");
        for (int row = 1; row <= 2; ++row) {
            s.ClickCell(0, 2);
            Session::Click(s.Get("Button3"), QPoint(1, 0));
            QVERIFY(s.Log().size() == row && s.Page() == 1);
            s.Click("Button3");
            QCOMPARE(QPoint(s.Page(), s.Table()->currentRow()), QPoint(1, row));
            if (row == 1) s.Assign(1, 10, {"1", "0.5"});  // b: Binomial
        }
        s.Click("AsHyperBtn4");
        s.Click("AsHyperBtn1");  // e has no distribution
        const QString message =
            "Message: Cannot run the simulation. Incomplete initialization of parameters";
        QCOMPARE(s.Log(), QStringList(4, message));
        QCOMPARE(s.Table()->currentRow(), 2);
        QCOMPARE(s.Text("Label5"), QString("0"));
        s.Assign(2, 2, {"0", "0.1"});  // e: Rectangular
        s.Click("Button3");
        s.Click("AsHyperBtn1");
        QVERIFY(!s.Get("Label6")->isVisible() && !s.Get("Label7")->isVisible());
        const QImage chart = s.Get<QLabel>("Image1")->pixmap().toImage();
        QString columns;  // every pixel above the base navy or bar, and some bar
        for (int x = 0; x < chart.width(); ++x)
            columns += Column(chart, x) + ' ';
        QVERIFY(!columns.contains(QRegularExpression("tail|mark|\\?")) && columns.contains("bar"));
    }

    // Mass calibration: exports refused before the run, grids and bars drawn, GUM page and curve.
    void massCalibrationPagesAndExports() {
        Session s;
        s.ReadyToRun(kSample);
        const QString start = s.Text("Label15");
        s.Pick("ComboBox1", 4);
        QCOMPARE(s.Text("Label15"), start);
        s.ValuesPaths = {s.Path("values.txt")};
        s.PdfPaths = {s.Path("report.pdf")};
        s.Menu("ExportarValores1");
        QCOMPARE(s.Log(), QStringList{"Message: There are no output values to export: run the "
                                      "simulation first."});
        auto* contributions = s.Get<QTableWidget>("StringGrid1");
        s.Click("LabelTab3");
        QCOMPARE(Pixel(contributions, 0, 1, {60, 10}), QColor(239, 237, 226));
        QCOMPARE(Pixel(contributions, 1, 1, {60, 10}), QColor(Qt::white));
        s.Click("LabelTab4");
        QVERIFY(s.Get("PanelGum")->isVisible());
        s.Click("AsHyperBtn1");
        QVERIFY(s.Text("Label60").startsWith("Confidence interval (p = 99%): [ "));
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
        s.Click("LabelTab3");
        QCOMPARE(Pixel(contributions, 0, 2, {12, 8}), QColor(239, 237, 226));
        for (int row = 1; row < contributions->rowCount(); ++row) {
            const double percent = contributions->item(row, 2)->text().toDouble();
            const QImage image = contributions->viewport()->grab().toImage();
            const QRect cell = contributions->visualItemRect(contributions->item(row, 2));
            int segments = 0;
            for (int x = cell.left() + 10; x < cell.right(); ++x)
                segments += image.pixelColor(x, cell.top() + 8) != Qt::white &&
                            image.pixelColor(x - 1, cell.top() + 8) == Qt::white;
            QCOMPARE(segments, percent > 0 ? int(std::ceil(percent / 5)) : 1);  // 1: the 0 % mark
            if (percent == 0)
                QCOMPARE(image.pixelColor(cell.left() + 12, cell.top() + 8), QColor(Qt::white));
        }
        s.Click("LabelTab2");
        auto* results = s.Get<QTableWidget>("StringGrid2");
        s.Click(results->viewport(), results->visualItemRect(results->item(3, 0)).center());
        QCOMPARE(Pixel(results, 3, 0, {0, 0}), QColor(108, 150, 213));
        QCOMPARE(Pixel(results, 3, 0, {100, 3}), QColor(231, 237, 248));
        QCOMPARE(Pixel(results, 5, 0, {100, 3}), QColor(247, 247, 247));
        QCOMPARE(Pixel(results, 4, 0, {100, 3}), QColor(Qt::white));
        s.Menu("ExportarValores1");
        const QList<QByteArray> lines = Bytes(s.Path("values.txt")).split('\n');
        QCOMPARE(lines.size(), 100001);  // the last line end leaves an empty part
        QVERIFY(lines[0].endsWith('\r'));
        QCOMPARE(lines[0].trimmed().toDouble(), s.Window->LastRun().Values.front());
        s.Menu("ExportarPDF1");
        QVERIFY(Bytes(s.Path("report.pdf")).startsWith("%PDF"));
        QCOMPARE(s.Shown, (QStringList{"values", "pdf"}));
        QCOMPARE(s.Log().size(), 1);
    }

    void shortestAdaptiveRunSaved() {
        Session s;
        s.ReadyToRun(kSamples + "jcgm101-additive-normal.cvm");
        s.Pick("ComboBoxInterval", 1);
        s.Click(s.Get<QCheckBox>("CheckBoxAdaptive"), {5, 10});
        s.Get<QSpinBox>("SpinEditDigits")->setValue(3);
        s.Click("AsHyperBtn1");
        const auto& last = s.Window->LastRun();
        QVERIFY(last.Adaptive && last.Adaptive->Batches >= 10);
        QCOMPARE(last.Iterations, last.Adaptive->Trials);
        QVERIFY2(s.Text("Label15").startsWith("Shortest interval (p = 95%): [ "),
                 qPrintable(s.Text("Label15")));
        QVERIFY2(s.Text("LabelGumVerdict").startsWith("validated: "),
                 qPrintable(s.Text("LabelGumVerdict")));
        s.SavePaths = {s.Path("saved.cvm")};
        s.Menu("Guardar1");
        QVERIFY(Bytes(s.Path("saved.cvm"))
                    .contains("%Intervalo%\r\nMinimo\r\n%/Intervalo%\r\n%Adaptativo%\r\nT\r\n"
                              "%/Adaptativo%\r\n%Cifras%\r\n3\r\n%/Cifras%\r\n"));
        QVERIFY(s.Log().isEmpty());
    }
};

QTEST_MAIN(GrafFilesTest)
#include "GrafFilesTest.moc"
