#include <QApplication>
#include <QScreen>
#include <QTimer>

#include "ui/Graf.h"
#include "ui/Startup.h"

int main(int argc, char** argv) {
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
        const std::string path = arguments.at(1).toStdString();
        QTimer::singleShot(0, &window, [&window, path] { window.OpenFileAtStart(path); });
    }
    return application.exec();
}
