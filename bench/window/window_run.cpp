// The run in the window against the batch tool on the same model: the
// sample mass calibration, 2,000,000 iterations, with the progress view off
// and on, each the best of three, beside corvanta-cli's run as a process.
// Offscreen; prints one line each and the ratios.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QProcess>
#include <QSpinBox>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

#include "ui/Graf.h"
#include "ui/controls/AsHyperBtn.h"

namespace {

const QString kSample = QStringLiteral(CORVANTA_SOURCE_DIR "/samples/mass-calibration.cvm");
constexpr int kIterations = 2000000;
constexpr int kRepeats = 3;

template <class Act>
double BestSeconds(Act act) {
    double best = 1e9;
    for (int i = 0; i < kRepeats; ++i) {
        QElapsedTimer timer;
        timer.start();
        act();
        best = std::min(best, timer.nsecsElapsed() / 1e9);
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    corvanta::GrafEnvironment environment;
    environment.LanguageFolder = folder.path().toStdString();
    corvanta::TGraf window(environment);
    window.show();
    window.OpenFileAtStart(kSample.toStdString());
    window.SetRunSeed(7);
    window.findChild<QSpinBox*>("SpinEdit1")->setValue(kIterations);
    auto* start = window.findChild<corvanta::TAsHyperBtn*>("AsHyperBtn1");
    auto* view = window.findChild<QCheckBox*>("CheckBoxHistogram");

    const double batch = BestSeconds([] {
        QProcess cli;
        cli.start(QStringLiteral(CORVANTA_CLI),
                  {"run", kSample, "--iterations", QString::number(kIterations), "--seed", "7"});
        cli.waitForFinished(-1);
    });
    view->setChecked(false);
    const double viewOff = BestSeconds([start] { start->Click(); });
    view->setChecked(true);
    const double viewOn = BestSeconds([start] { start->Click(); });

    std::printf("corvanta-cli run          %7.3f s\n", batch);
    std::printf("window run, view off      %7.3f s  %5.2f x the batch run (aim 1.10)\n", viewOff,
                viewOff / batch);
    std::printf("window run, view on       %7.3f s  %5.2f x the batch run (aim 1.50)\n", viewOn,
                viewOn / batch);
    return 0;
}
