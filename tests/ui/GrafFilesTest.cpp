// The File and Language menus through the window: save, open, the questions
// on the way, language files, and the printed report.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QtTest>
#include <deque>
#include <optional>

#include "GrafSession.h"

using corvanta::DialogAnswer;
using corvanta::TAsHyperBtn;
using grafsession::Session;

namespace {

const QString kSamples = QStringLiteral(CORVANTA_SOURCE_DIR "/samples/");

QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) qFatal("cannot write %s", qPrintable(path));
    file.write(bytes);
}

// A window whose file and print dialogs answer from scripts; every dialog
// shown is noted in Shown ("open", "save", "language", "print").
struct FileSession : Session {
    FileSession() {
        corvanta::GrafFileDialogs dialogs;
        const auto next = [this](const char* kind, std::deque<std::optional<QString>>& script) {
            return [this, kind, &script]() -> std::optional<std::string> {
                Shown << kind;
                if (script.empty()) return std::nullopt;
                auto path = script.front();
                script.pop_front();
                if (!path) return std::nullopt;
                return QFile::encodeName(*path).toStdString();
            };
        };
        dialogs.ChooseOpenPath = next("open", OpenPaths);
        dialogs.ChooseSavePath = next("save", SavePaths);
        dialogs.ChooseLanguagePath = next("language", LanguagePaths);
        dialogs.ChoosePrinter = [this](QPrinter& printer) {
            Shown << "print";
            if (PdfPath.isEmpty()) return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(PdfPath);
            return true;
        };
        Window->SetFileDialogs(dialogs);
    }
    QString Path(const QString& name) const { return Folder.filePath(name); }
    void Menu(const char* action) { Window->findChild<QAction*>(action)->trigger(); }
    void OpenFile(const QString& path, std::optional<DialogAnswer> saveFirst = {}) {
        if (saveFirst) Dialogs.Answers.push_back(*saveFirst);
        OpenPaths.push_back(path);
        Menu("Abrir1");
    }
    QString Caption() const { return Window->windowTitle(); }
    QString Text(const char* name) const { return Get<QLabel>(name)->text(); }

    std::deque<std::optional<QString>> OpenPaths, SavePaths, LanguagePaths;
    QString PdfPath;
    QStringList Shown;
};

// The lines of a language file: the header, then every caption key with the
// built-in English texts, some of them replaced.
QByteArray LanguageFile(const QByteArray& header, const std::map<int, QByteArray>& replaced) {
    const auto table = corvanta::CaptionTable::BuiltIn();
    QByteArray text = header;
    for (int n = 0; n < corvanta::kCaptionCount; ++n) {
        auto found = replaced.find(n);
        text +=
            "cap" + QByteArray::number(n) + "=" +
            (found != replaced.end() ? found->second : QByteArray::fromStdString(table.Cap(n))) +
            "\r\n";
    }
    return text;
}

QString Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("%s failed", qPrintable(program));
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

class GrafFilesTest : public QObject {
    Q_OBJECT

  private slots:
    // Save model as, open again, Save model: the same bytes, written back to
    // the file that was opened, never over another model saved before it.
    void saveOpenSaveRoundTrip() {
        FileSession s;
        const QString source = s.Path("source.cvm");
        Write(source, Bytes(kSamples + "roundtrip-all-kinds.cvm"));
        s.OpenFile(source);
        QCOMPARE(s.Caption(), " Corvanta - " + source);
        QCOMPARE(s.Window->FileName(), source.toStdString());

        s.SavePaths.push_back(s.Path("first"));  // the extension comes with the dialog
        s.Menu("Guardar1");
        const QString first = s.Path("first.cvm");
        const QByteArray saved = Bytes(first);
        QCOMPARE(s.Caption(), " Corvanta - " + first);

        s.Type("Edit1", "Another model");
        s.SavePaths.push_back(s.Path("other.cvm"));
        s.Menu("Guardar1");
        const QByteArray other = Bytes(s.Path("other.cvm"));
        QVERIFY(other.startsWith("%Titulo%\r\nAnother model\r\n%/Titulo%\r\n"));

        s.OpenFile(first, DialogAnswer::No);
        QCOMPARE(s.Caption(), " Corvanta - " + first);
        s.Menu("Guardarmodelo1");
        QCOMPARE(Bytes(first), saved);
        QCOMPARE(Bytes(s.Path("other.cvm")), other);
        QCOMPARE(s.Shown, (QStringList{"open", "save", "save", "open"}));
        QCOMPARE(s.Log(), (QStringList{"ConfirmYesNoCancel: Save model?"}));
        // What the program writes of a file it wrote itself is that file.
        QCOMPARE(saved, Bytes(source));
    }

    void overwriteQuestion_data() {
        QTest::addColumn<DialogAnswer>("answer");
        QTest::newRow("Cancel keeps the file") << DialogAnswer::Cancel;
        QTest::newRow("OK replaces it") << DialogAnswer::Ok;
    }
    void overwriteQuestion() {
        QFETCH(DialogAnswer, answer);
        FileSession s;
        s.OpenFile(kSamples + "mass-calibration.cvm");
        // A name the file system holds in UTF-8, shown in the question as typed.
        const QString target = s.Path(QString::fromLatin1("medici\xF3n.cvm"));
        Write(target, "old content\r\n");
        s.Dialogs.Answers.push_back(answer);
        s.SavePaths.push_back(target);
        s.Menu("Guardar1");
        QCOMPARE(s.Log(), QStringList{"ConfirmOkCancel: The file " + target +
                                      " already exists. Do you want to overwrite with "
                                      "updated model?"});
        const bool replaced = answer == DialogAnswer::Ok;
        QCOMPARE(Bytes(target) == "old content\r\n", !replaced);
        const QString sample = kSamples + "mass-calibration.cvm";
        QCOMPARE(s.Caption(), " Corvanta - " + (replaced ? target : sample));
    }

    // "Save model?" before Open: Yes saves first (the save dialog, even when
    // cancelled, is followed by the open dialog), No goes straight to the open
    // dialog, Cancel ends the command.
    void saveModelQuestionBeforeOpen_data() {
        QTest::addColumn<DialogAnswer>("answer");
        QTest::addColumn<bool>("chooseSavePath");
        QTest::addColumn<QStringList>("shown");
        QTest::addColumn<bool>("opened");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Yes, saved")
            << DialogAnswer::Yes << true << QStringList{"save", "open"} << true << true;
        QTest::newRow("Yes, save dialog cancelled")
            << DialogAnswer::Yes << false << QStringList{"save", "open"} << true << false;
        QTest::newRow("No") << DialogAnswer::No << false << QStringList{"open"} << true << false;
        QTest::newRow("Cancel") << DialogAnswer::Cancel << false << QStringList{} << false << false;
    }
    void saveModelQuestionBeforeOpen() {
        QFETCH(DialogAnswer, answer);
        QFETCH(bool, chooseSavePath);
        QFETCH(QStringList, shown);
        QFETCH(bool, opened);
        QFETCH(bool, saved);
        FileSession s;
        s.Update("y = a + b");
        if (chooseSavePath) s.SavePaths.push_back(s.Path("typed.cvm"));
        s.OpenFile(kSamples + "mass-calibration.cvm", answer);
        QCOMPARE(s.Shown, shown);
        QCOMPARE(s.Log(), QStringList{"ConfirmYesNoCancel: Save model?"});
        QCOMPARE(QFile::exists(s.Path("typed.cvm")), saved);
        QCOMPARE(s.Memo()->toPlainText().startsWith("y = (mRc"), opened);
        if (!opened) QCOMPARE(s.Caption(), QString("  Corvanta"));
    }

    void languageInstalled() {
        FileSession s;
        const QString file = s.Path("spanish.cvl");
        Write(file, LanguageFile("// a comment\r\nlanguage=Espa\xF1ol\r\ncountry=Espa\xF1"
                                 "a\r\nauthor=Laboratorio\r\n",
                                 {{73, "Simulaci\xF3n"},
                                  {54, "N\xFAmero de iteraci\xF3n"},
                                  {91, "Archivo"},
                                  {41, "Iniciar"}}));
        s.Dialogs.Answers.push_back(DialogAnswer::Ok);  // use it as the default language
        s.LanguagePaths.push_back(s.Path("spanish"));   // typed without its extension
        s.Menu("Cargararchivodeidioma1");
        QCOMPARE(s.Get<TAsHyperBtn>("AsHyperBtn4")->Caption(),
                 QString::fromLatin1("Simulaci\xF3n"));
        QCOMPARE(s.Get<TAsHyperBtn>("AsHyperBtn1")->Caption(), QString("Iniciar"));
        QCOMPARE(s.Text("Label4"), QString::fromLatin1("N\xFAmero de iteraci\xF3n"));
        QCOMPARE(s.Window->findChild<QMenu*>("Archivo1")->title(), QString("Archivo"));
        QCOMPARE(QFileInfo(s.Path("default.lng")).size(), corvanta::kCaptionCount * 260);

        s.Menu("Informacindeidiomapredeterminado1");
        QCOMPARE(
            s.Log(),
            (QStringList{"ConfirmOkCancel: Want to use " + file + " content as default language?",
                         "Message: Default interface language data:\r" + QString(41, '-') +
                             QString::fromLatin1("\rLanguage: Espa\xF1ol\rCountry: "
                                                 "Espa\xF1"
                                                 "a\rContributor: Laboratorio")}));
    }

    void badLanguageRefused() {
        FileSession s;
        const QString file = s.Path("wrong.cvl");
        Write(file, LanguageFile("country=Spain\r\nlanguage=Spanish\r\nauthor=Lab\r\n",
                                 {{73, "Simulaci\xF3n"}}));
        const QByteArray before = Bytes(s.Path("default.lng"));
        s.LanguagePaths.push_back(file);
        s.Menu("Cargararchivodeidioma1");
        QCOMPARE(s.Log(), QStringList{"Error: Language file format not supported"});
        QCOMPARE(s.Get<TAsHyperBtn>("AsHyperBtn4")->Caption(), QString("Simulation"));
        QCOMPARE(Bytes(s.Path("default.lng")), before);
        QVERIFY(!QFile::exists(s.Path("language.dat")));
        s.LanguagePaths.push_back(std::nullopt);  // the dialog cancelled
        s.Menu("Cargararchivodeidioma1");
        QCOMPARE(s.Log().size(), 1);
    }

    // The report on a PDF printer, read back as text and as word boxes.
    void reportPrintedToPdf() {
        FileSession s;
        s.OpenFile(kSamples + "roundtrip-all-kinds.cvm");
        s.Menu("Imprimir1");  // the print dialog cancelled
        s.PdfPath = s.Path("report.pdf");
        s.Menu("Imprimir1");
        QCOMPARE(s.Shown, (QStringList{"open", "print", "print"}));

        const QString text = Run("pdftotext", {"-layout", s.PdfPath, "-"});
        QStringList lines;
        for (const QString& line : text.split('\n'))
            if (!line.trimmed().isEmpty()) lines << line.trimmed();
        QCOMPARE(lines.at(0), QString::fromLatin1("CALIBRACI\xF3N DE UNA MASA DE 1 \xB5G"));
        QCOMPARE(lines.at(1), QString("Monte Carlo Simulation Powered by Corvanta \"Torvo\""));
        QCOMPARE(lines.at(2), QString("TECHNICAL DESCRIPTION"));
        // The sections in order, an experimental quantity's readings right
        // after its distribution line, and the results lines.
        const QStringList expected = {"EQUATIONS GROUP",
                                      "PARAMETER",
                                      ">> y",
                                      "Distribution of simulation: Experimental (Normal) - Direct",
                                      "Directa",
                                      "10.1",
                                      "RESULTS",
                                      "Iterations = Indetermined",
                                      "Skew = Indetermined",
                                      "Normality test (Jarque - Bera) := Indetermined",
                                      "Result = Indetermined",
                                      "GUM format := Indetermined"};
        int at = 0;
        for (const QString& line : expected) {
            while (at < lines.size() && lines.at(at).simplified() != line)
                ++at;
            QVERIFY2(at < lines.size(), qPrintable("missing or out of order: " + line));
        }

        // Margins: 1 inch left, 2 inches top, from the paper's edge.
        const QString boxes = Run("pdftotext", {"-bbox", "-f", "1", "-l", "1", s.PdfPath, "-"});
        QRegularExpression word(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)")re");
        double left = 1e9, top = 1e9;
        for (auto match = word.globalMatch(boxes); match.hasNext();) {
            const auto m = match.next();
            left = std::min(left, m.captured(1).toDouble());
            top = std::min(top, m.captured(2).toDouble());
        }
        QVERIFY2(std::abs(left - 72) <= 2, qPrintable(QString::number(left)));
        QVERIFY2(std::abs(top - 144) <= 2, qPrintable(QString::number(top)));
        QVERIFY(Run("pdfinfo", {s.PdfPath})
                    .contains(QString::fromLatin1("Corvanta \xAE Simulation results")));
    }
};

QTEST_MAIN(GrafFilesTest)
#include "GrafFilesTest.moc"
