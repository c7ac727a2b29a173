#include <QApplication>
#include <QFile>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "ui/Graf.h"
#include "ui/Startup.h"

int main(int argc, char** argv) {
    // Answered before any window system is reached, so that they work
    // without a display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("corvanta %s\n", CORVANTA_VERSION);
        return 0;
    }
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(corvanta::kCorvantaUsage, stdout);
        return 0;
    }
    if (corvanta::AsksForReport(argc, argv)) {
        int code = 0;
        const auto request = corvanta::ReadReportRequest(argc, argv, std::cerr, std::cout, code);
        if (!request) return code;
        corvanta::ChooseOffscreenPlatform();
        // stderr carries the messages of the report alone, as the batch
        // tool's does: Qt's own notes about its surroundings stay out.
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
            if (type == QtCriticalMsg || type == QtFatalMsg)
                std::cerr << text.toLocal8Bit().toStdString() << '\n';
        });
        QApplication application(argc, argv);
        QApplication::setApplicationName(QStringLiteral("corvanta"));
        QApplication::setApplicationVersion(QStringLiteral(CORVANTA_VERSION));
        corvanta::UseWindowFont();
        return corvanta::WriteReportWithoutWindow(*request, std::cerr);
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
