#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "ui/Graf.h"
#include "ui/Startup.h"

namespace {

const char* const kUsage =
    "usage: corvanta [MODEL.cvm]\n"
    "\n"
    "Opens the Corvanta window, on the model file when one is named.\n"
    "  --version   print the version and exit\n"
    "  --help      print this text and exit\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before any window system is reached, so that they work
    // without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("corvanta %s\n", CORVANTA_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("corvanta"));
    QApplication::setApplicationVersion(QStringLiteral(CORVANTA_VERSION));
    corvanta::UseWindowFont();

    corvanta::TGraf window(corvanta::DefaultEnvironment());
    if (QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
    window.show();
    // A model named on the command line opens as the Open command opens it,
    // once the window is there to carry its messages.
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() > 1) {
        const std::string path = QFile::encodeName(arguments.at(1)).toStdString();
        QTimer::singleShot(0, &window, [&window, path] { window.OpenFileAtStart(path); });
    }
    return application.exec();
}
