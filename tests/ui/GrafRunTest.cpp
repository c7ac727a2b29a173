// The simulation run driven from the window: Start, the chart, stop, close,
// the results against the batch tool, and the coverage choice.
#include <QAction>
#include <QCheckBox>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QProcess>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <array>
#include <cmath>

#include "GrafSession.h"
#include "ui/Chart.h"

using grafsession::Rows;
using grafsession::Session;
using Counts = std::array<std::int64_t, corvanta::kHistogramBins>;

namespace {

const QString kSample = QStringLiteral(CORVANTA_SOURCE_DIR "/samples/mass-calibration.cvm");
const QRgb kNavy = corvanta::kChartBackground.rgb();
const QRgb kBar = corvanta::kChartBar.rgb();
const QRgb kTail = corvanta::kChartTail.rgb();
const QRgb kMark = corvanta::kChartMark.rgb();

// The colours of column x from the top, run-length coded: "navy*10 bar*150".
QString Column(const QImage& image, int x) {
    const auto name = [](QRgb c) {
        return c == kNavy   ? "navy"
               : c == kBar  ? "bar"
               : c == kTail ? "tail"
               : c == kMark ? "mark"
                            : "?";
    };
    QStringList runs;
    int y = 0;
    while (y < corvanta::kChartBaseline) {
        const QRgb colour = image.pixel(x, y);
        int end = y;
        while (end < corvanta::kChartBaseline && image.pixel(x, end) == colour)
            ++end;
        runs << QString("%1*%2").arg(name(colour)).arg(end - y);
        y = end;
    }
    return runs.join(' ');
}

Counts Flat(std::int64_t count) {
    Counts counts{};
    counts.fill(count);
    return counts;
}

// A window on the sample model, on the Simulation page, with a fixed seed.
struct RunSession : Session {
    explicit RunSession(int iterations = 100000, std::uint32_t seed = 7,
                        const QString& file = kSample) {
        Window->OpenFileAtStart(file.toStdString());
        Window->SetRunSeed(seed);
        Click("AsHyperBtn4");
        Get<QSpinBox>("SpinEdit1")->setValue(iterations);
    }
    QString Text(const QString& label) const { return Get<QLabel>(label)->text(); }
    void Start() { Click("AsHyperBtn1"); }
    // Runs `act` at the first progress update of the next run.
    void AtFirstUpdate(std::function<void()> act) {
        QTimer::singleShot(0, Window.get(), std::move(act));
    }
};

// The batch tool's JSON for the sample with the same seed and count.
QJsonObject BatchRun(int iterations, int seed, const QString& file = kSample) {
    QProcess cli;
    cli.start(QStringLiteral(CORVANTA_CLI),
              {"run", file, "--iterations", QString::number(iterations), "--seed",
               QString::number(seed), "--json"});
    if (!cli.waitForFinished(120000) || cli.exitCode() != 0) qFatal("corvanta-cli failed");
    if (!cli.readAllStandardError().isEmpty()) qFatal("corvanta-cli warned");
    return QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
}

// The number a result text shows, and half a unit of its last digit.
struct Shown {
    double Value;
    double HalfUnit;
};
Shown Read(const QString& text) {
    const int e = text.indexOf('e');
    const QString mantissa = e < 0 ? text : text.left(e);
    const int point = mantissa.indexOf('.');
    const int decimals = point < 0 ? 0 : int(mantissa.size()) - point - 1;
    const int exponent = e < 0 ? 0 : text.mid(e + 1).toInt();
    return {text.toDouble(), 0.5 * std::pow(10.0, exponent - decimals)};
}

}  // namespace

class GrafRunTest : public QObject {
    Q_OBJECT

  private slots:
    void chartPixels_data() {
        QTest::addColumn<Counts>("previous");
        QTest::addColumn<Counts>("counts");
        QTest::addColumn<bool>("marks");
        QTest::addColumn<QStringList>("columns");  // "x: runs" of chosen columns
        QTest::addColumn<QPoint>("markX");

        Counts halves{};
        halves[0] = 4, halves[1] = 1, halves[2] = 3;  // 150/4 = 37.5 -> 38, 450/4 = 112.5 -> 112
        QTest::newRow("first update: all light blue, heights half to even")
            << Counts{} << halves << false
            << QStringList{"0: navy*10 bar*150", "1: navy*160", "2: navy*122 bar*38",
                           "4: navy*48 bar*112", "6: navy*160"}
            << QPoint(0, 0);
        // 100 in every bin: the lowest 3 and the highest 4 bins hold the tails.
        QTest::newRow("flat output with its marks")
            << Counts{} << Flat(100) << true
            << QStringList{"4: navy*10 tail*150",  "6: mark*10 bar*150",    "8: navy*10 bar*150",
                           "290: navy*10 bar*150", "292: mark*10 tail*150", "298: navy*10 tail*150"}
            << QPoint(30, 316);
        Counts low = Flat(10);
        QTest::newRow("lower bars erase the taller ones")
            << Flat(100) << (low[5] = 20, low) << false
            << QStringList{"0: navy*85 bar*75", "10: navy*10 bar*150", "12: navy*85 bar*75"}
            << QPoint(0, 0);
        QTest::newRow("no counted value: empty chart")
            << Flat(100) << Counts{} << true << QStringList{"0: navy*160", "150: navy*160"}
            << QPoint(0, 0);
    }
    void chartPixels() {
        QFETCH(Counts, previous);
        QFETCH(Counts, counts);
        QFETCH(bool, marks);
        QFETCH(QStringList, columns);
        QFETCH(QPoint, markX);
        QImage image = corvanta::BlankChart();
        corvanta::DrawChart(image, previous, false);
        const corvanta::ChartMarks where = corvanta::DrawChart(image, counts, marks);
        for (const QString& column : columns) {
            const int x = column.section(':', 0, 0).toInt();
            QCOMPARE(QString("%1: %2").arg(x).arg(Column(image, x)), column);
        }
        QCOMPARE(QPoint(where.LowX, where.HighX), markX);
        // Below the baseline nothing is ever painted.
        for (int x = 0; x < corvanta::kChartWidth; ++x)
            QCOMPARE(image.pixel(x, corvanta::kChartBaseline), kNavy);
    }

    // View on and off give the same results as the batch tool with the same
    // seed; the view off shows the 25-step bar instead of the count.
    void wholeRunMatchesBatchTool_data() {
        QTest::addColumn<bool>("view");
        QTest::newRow("progress view on") << true;
        QTest::newRow("progress view off") << false;
    }
    void wholeRunMatchesBatchTool() {
        QFETCH(bool, view);
        RunSession s;
        if (!view) s.Click("Label29");
        QCOMPARE(s.Get<QCheckBox>("CheckBoxHistogram")->isChecked(), view);
        s.Start();

        QCOMPARE(s.Text("Label5"), QString("100000"));  // the last iteration shows either way
        QVERIFY(!s.Get<QLabel>("Label14")->isVisible());
        QVERIFY(!s.Get("progressbar")->isVisible());
        QCOMPARE(s.Get("progressbar")->width(), view ? 10 : 400);
        QVERIFY(s.Get<QCheckBox>("CheckBoxHistogram")->isEnabled());
        QVERIFY(s.Window->Simulation().StopRequested);
        QVERIFY(!s.Window->Simulation().SimulationRunning);
        QVERIFY(s.Dialogs.Log.empty());

        const QJsonObject batch = BatchRun(100000, 7);
        const QStringList grid = Rows(s.Get<QTableWidget>("StringGrid2"), 1, 1);
        QCOMPARE(grid.at(0), QString("100000"));
        const char* keys[] = {
            nullptr,           "mean",    "variance", "standard_deviation", "skewness",
            "excess_kurtosis", "maximum", "minimum",  "most_probable",      "range"};
        for (int row = 1; row < 10; ++row) {
            Shown shown = Read(grid.at(row));
            // Skewness and kurtosis come through their labels' five decimals.
            if (row == 4 || row == 5) shown.HalfUnit = std::max(shown.HalfUnit, 0.5e-5);
            const double expected = batch.value(keys[row]).toDouble();
            QVERIFY2(std::abs(shown.Value - expected) <= shown.HalfUnit * 1.000001,
                     qPrintable(QString("%1: %2 against %3")
                                    .arg(keys[row], grid.at(row))
                                    .arg(expected, 0, 'g', 17)));
        }
        QCOMPARE(s.Text("Resultado_res"), grid.at(1));
        const QJsonArray interval = batch.value("interval").toArray();
        const QString ends = s.Text("Label60").section('[', 1).section(']', 0, 0);
        for (int end = 0; end < 2; ++end) {
            const Shown shown = Read(ends.section(',', end, end).trimmed());
            QVERIFY(std::abs(shown.Value - interval.at(end).toDouble()) <=
                    shown.HalfUnit * 1.000001);
        }
        QVERIFY(s.Text("Label60").startsWith("Confidence interval (p = 95%): [ "));
        QCOMPARE(s.Text("Label15"), s.Text("Label60"));
        QCOMPARE(s.Text("Label28"), "GUM format: " + batch.value("classic").toString() + "  mg");
        const QString normality = s.Text("Label12");
        QVERIFY(normality.startsWith("Normality test (Jarque - Bera)  =  "));
        const Shown jb = Read(normality.section("=  ", 1).section("   (", 0, 0));
        QVERIFY(std::abs(jb.Value - batch.value("jarque_bera").toDouble()) <=
                jb.HalfUnit * 1.000001);
        QVERIFY(normality.endsWith(batch.value("normality_fits").toBool() ? "   (fit)"
                                                                          : "   (doesn't fit)"));

        // The marks stand for mean -+ 1.96 s of the last update; with the view
        // off that update is the run's first, which never has marks.
        const double mean = batch.value("mean").toDouble();
        const double sd = batch.value("standard_deviation").toDouble();
        for (const auto& [label, bound] :
             {std::pair{"Label6", mean - 1.96 * sd}, {"Label7", mean + 1.96 * sd}}) {
            QCOMPARE(s.Get<QLabel>(label)->isVisible(), view);
            QVERIFY(s.Text(label).startsWith("1.96 s = "));
            const Shown shown = Read(s.Text(label).mid(9));
            QVERIFY(std::abs(shown.Value - bound) <= shown.HalfUnit * 1.000001);
        }

        // Contributions: the widths to three decimals, the shares in full.
        const QJsonArray contributions = batch.value("contributions").toArray();
        const QStringList rows = Rows(s.Get<QTableWidget>("StringGrid1"), 0, 2);
        QCOMPARE(rows.size(), contributions.size());
        for (int row = 0; row < rows.size(); ++row) {
            const QJsonObject expected = contributions.at(row).toObject();
            const QStringList cells = rows.at(row).split('|');
            QCOMPARE(cells.at(0), expected.value("name").toString());
            if (expected.value("width").isNull()) continue;  // the output quantity
            const Shown width = Read(cells.at(1));
            QVERIFY(std::abs(width.Value - expected.value("width").toDouble()) <=
                    width.HalfUnit * 1.000001);
            QVERIFY(std::abs(cells.at(2).toDouble() - expected.value("relative").toDouble()) <=
                    1e-9);
        }
    }

    // The grids as drawn: contribution cells shaded for the output, white
    // with a bar of one segment per started 5 % (a mark for 0 %) for the
    // inputs, before and after a run; the selected result row outlined.
    void resultGridsDrawn() {
        RunSession s;
        auto* contributions = s.Get<QTableWidget>("StringGrid1");
        const auto pixel = [](QTableWidget* grid, int row, int column, QPoint offset) {
            const QRect cell = grid->visualItemRect(grid->item(row, column));
            return grid->viewport()->grab().toImage().pixelColor(cell.topLeft() + offset);
        };
        s.Click("LabelTab3");
        QCOMPARE(pixel(contributions, 0, 1, {60, 10}), QColor(239, 237, 226));
        QCOMPARE(pixel(contributions, 1, 1, {60, 10}), QColor(Qt::white));
        s.Start();
        s.Click("LabelTab3");
        QCOMPARE(pixel(contributions, 0, 2, {12, 8}), QColor(239, 237, 226));
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
        QCOMPARE(pixel(results, 3, 0, {0, 0}), QColor(108, 150, 213));
        QCOMPARE(pixel(results, 3, 0, {100, 3}), QColor(231, 237, 248));
        QCOMPARE(pixel(results, 5, 0, {100, 3}), QColor(247, 247, 247));
        QCOMPARE(pixel(results, 4, 0, {100, 3}), QColor(Qt::white));
    }

    void stopAtAnUpdate() {
        RunSession s(2000000);
        s.AtFirstUpdate([&s] {
            QVERIFY(s.Get<QLabel>("Label14")->isVisible());
            QVERIFY(!s.Get<QCheckBox>("CheckBoxHistogram")->isEnabled());
            // While the run draws from the model, nothing may replace it.
            QVERIFY(!s.Get("TabSheet20")->isEnabled());
            QVERIFY(!s.Window->findChild<QAction*>("Abrir1")->isEnabled());
            s.Click("Label29");  // ignored while running
            s.Start();           // ignored: a run is in progress
            s.Click("Label14");
        });
        s.Start();
        QCOMPARE(s.Text("Label5"), QString("101"));
        QVERIFY(s.Get<QCheckBox>("CheckBoxHistogram")->isChecked());
        QVERIFY(s.Get("TabSheet20")->isEnabled());
        QVERIFY(s.Window->findChild<QAction*>("Abrir1")->isEnabled());
        QCOMPARE(s.Text("Label15"),
                 QString("Confidence interval (p = 95%): Indeterminado (simul. interrumpida)"));
        QCOMPARE(s.Text("Label60"), s.Text("Label15"));
        QCOMPARE(s.Text("Label28"), QString("GUM format = Indetermined"));
        const QStringList grid = Rows(s.Get<QTableWidget>("StringGrid2"), 1, 1);
        QCOMPARE(grid.at(0), QString("2000000"));
        for (int row : {4, 5, 8})
            QCOMPARE(grid.at(row), QString("Indetermined"));
        QVERIFY(grid.at(1) != "Indetermined");
        // The contributions are computed all the same.
        QVERIFY(!Rows(s.Get<QTableWidget>("StringGrid1"), 1, 1).at(1).isEmpty());
        QVERIFY(s.Dialogs.Log.empty());
    }

    void closeDuringARun() {
        RunSession s(2000000);
        s.AtFirstUpdate([&s] { s.Window->close(); });
        s.Start();
        // The run stops at that update; the window closes once it has ended.
        QTRY_VERIFY(!s.Window->isVisible());
        QCOMPARE(s.Text("Label5"), QString("101"));
        QVERIFY(!s.Window->Simulation().SimulationRunning);
    }

    void coverageChange() {
        RunSession s;
        const QString start = s.Text("Label15");
        Session::Pick(s.Get<QComboBox>("ComboBox1"), 4);
        QCOMPARE(s.Text("Label15"), start);  // before any run: nothing changes
        s.Start();
        QVERIFY(s.Text("Label60").startsWith("Confidence interval (p = 99%): [ "));
        const QStringList grid = Rows(s.Get<QTableWidget>("StringGrid2"), 1, 1);
        Session::Pick(s.Get<QComboBox>("ComboBox1"), 1);
        QCOMPARE(s.Text("Label15"), QString("Confidence interval (p = 90%)  =  Indetermined"));
        QCOMPARE(s.Text("Label60"), s.Text("Label15"));
        QCOMPARE(s.Text("Label28"), QString("GUM format = Indetermined"));
        QCOMPARE(Rows(s.Get<QTableWidget>("StringGrid2"), 1, 1), grid);
    }

    // y = 10 b + e with b 0 or 1 at even odds: two far clusters of equal
    // size, whose excess kurtosis near -2 takes the marks away.
    void twoClustersLoseTheMarks() {
        Session s;
        s.Window->SetRunSeed(11);
        s.Get<QSpinBox>("SpinEdit1")->setValue(100000);
        s.Update("y = 10*b + e");
        s.Assign(1, 10, {"1", "0.5"});  // b: Binomial
        s.Assign(2, 2, {"0", "0.1"});   // e: Rectangular
        s.Click("Button3");
        s.Click("AsHyperBtn1");
        QVERIFY(!s.Get<QLabel>("Label6")->isVisible());
        QVERIFY(!s.Get<QLabel>("Label7")->isVisible());
        const QImage chart = s.Get<QLabel>("Image1")->pixmap().toImage();
        int bars = 0;
        for (int x = 0; x < chart.width(); ++x)
            for (int y = 0; y < corvanta::kChartBaseline; ++y) {
                const QRgb c = chart.pixel(x, y);
                QVERIFY(c == kNavy || c == kBar);
                bars += c == kBar;
            }
        QVERIFY(bars > 0);
    }

    // A file holding a negative deviation and half-width opens without a word,
    // shows them as stored and runs as it always has, like the batch tool;
    // only Apply refuses such values.
    void storedNegativeSpreadsRunAsBefore() {
        QFile sample(kSample);
        QVERIFY(sample.open(QIODevice::ReadOnly));
        const QByteArray text = sample.readAll()
                                    .replace("\r\n0.020\r\n", "\r\n-0.020\r\n")
                                    .replace("\r\n0.1\r\n", "\r\n-0.1\r\n");
        QTemporaryDir folder;
        QFile file(folder.filePath("negative.cvm"));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        file.close();
        RunSession s(100000, 7, file.fileName());
        s.Start();
        const QStringList grid = Rows(s.Get<QTableWidget>("StringGrid2"), 1, 1);
        QCOMPARE(grid.mid(1, 3), (QStringList{"1.23411", "5.710013e-3", "7.55646e-2"}));
        QCOMPARE(BatchRun(100000, 7, file.fileName()).value("mean").toDouble(), 1.2341062763000765);
        s.Click("AsHyperBtn3");
        s.ClickCell(2, 2);
        QCOMPARE(s.Get<QLineEdit>("Edit2_Normal")->text(), QString("-0.020"));
        s.ClickCell(3, 2);
        QCOMPARE(s.Get<QLineEdit>("Edit2_Rectangular")->text(), QString("-0.1"));
        QCOMPARE(s.Record(3), QString("2|1.2|-0.1"));
        QVERIFY(s.Dialogs.Log.empty());
    }

    void notReady() {
        Session s;
        s.Click("AsHyperBtn4");
        s.Click("AsHyperBtn1");  // no model at all
        s.Update("y = a + b");
        s.Assign(1, 1, {"1", "0.1"});
        s.Click("AsHyperBtn4");
        s.Click("AsHyperBtn1");  // b has no distribution
        const QString message =
            "Message: Cannot run the simulation. Incomplete initialization of parameters";
        QCOMPARE(s.Log(), (QStringList{message, message}));
        QCOMPARE(s.Table()->currentRow(), 2);
        QCOMPARE(s.Get<QLabel>("Label5")->text(), QString("0"));
    }
};

QTEST_MAIN(GrafRunTest)
#include "GrafRunTest.moc"
