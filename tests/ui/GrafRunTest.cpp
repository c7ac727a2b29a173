// Runs from the window: chart, stop, close, results against the batch tool, GUM page, exports.
#include <array>
#include <cmath>

#include "GrafSession.h"
#include "ui/Chart.h"

using namespace grafsession;
using Counts = std::array<std::int64_t, corvanta::kHistogramBins>;

namespace {

const QString kSample = kSamples + "mass-calibration.cvm";
const QRgb kNavy = corvanta::kChartBackground.rgb();
const QRgb kBar = corvanta::kChartBar.rgb();
const QRgb kTail = corvanta::kChartTail.rgb();
const QRgb kMark = corvanta::kChartMark.rgb();

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

class GrafRunTest : public QObject {
    Q_OBJECT

  private slots:
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

            const QJsonObject batch = BatchRun(file, 100000, 7);
            const QStringList grid = s.Grid("StringGrid2", 1, 1);
            QCOMPARE(grid.at(0), "100000");
            if (!view) QCOMPARE(batch.value("mean").toDouble(), 1.2341062763000765);
            if (!view)
                QCOMPARE(grid.mid(1, 3), (QStringList{"1.23411", "5.710013e-3", "7.55646e-2"}));
            const QStringList keys = QString(
                                         ". mean variance standard_deviation skewness "
                                         "excess_kurtosis maximum minimum most_probable range")
                                         .split(' ');
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
        s.Window->SetRunSeed(11);
        s.Get<QSpinBox>("SpinEdit1")->setValue(100000);
        s.Click("AsHyperBtn4");
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
        int bars = 0;
        for (int x = 0; x < chart.width(); ++x)
            for (int y = 0; y < corvanta::kChartBaseline; ++y) {
                const QRgb c = chart.pixel(x, y);
                QVERIFY(c == kNavy || c == kBar);
                bars += c == kBar;
            }
        QVERIFY(bars > 0);
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

QTEST_MAIN(GrafRunTest)
#include "GrafRunTest.moc"
