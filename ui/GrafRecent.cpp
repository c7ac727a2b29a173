// Recent models, model files dropped on the window, and the folder the file
// dialogs start in: settings of the user, not of the model.
#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QSettings>

#include "captions/PathText.h"
#include "ui/Graf.h"
#include "ui/TextBridge.h"

namespace corvanta {

namespace {

constexpr int kRecentCount = 8;
const QString kRecentKey = QStringLiteral("RecentModels");
const QString kFolderKey = QStringLiteral("LastFolder");

QString FromLocal(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// The local .cvm file a drag carries, if it carries exactly one.
QString DroppedModel(const QMimeData* data) {
    if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
    const QUrl url = data->urls().constFirst();
    if (!url.isLocalFile()) return {};
    const QString path = url.toLocalFile();
    return path.endsWith(QStringLiteral(".cvm"), Qt::CaseInsensitive) ? path : QString();
}

}  // namespace

std::unique_ptr<QSettings> TGraf::OpenSettings() const {
    if (Environment.SettingsFile.empty())
        return std::make_unique<QSettings>(QStringLiteral("corvanta"), QStringLiteral("corvanta"));
    return std::make_unique<QSettings>(FromLocal(Environment.SettingsFile.string()),
                                       QSettings::IniFormat);
}

QString TGraf::LastFolder() const {
    return OpenSettings()->value(kFolderKey).toString();
}

// The model goes to the top of the list, its folder becomes the dialogs'.
void TGraf::RememberModel(const std::string& path) {
    const QFileInfo file(FromLocal(path));
    auto settings = OpenSettings();
    QStringList recent = settings->value(kRecentKey).toStringList();
    recent.removeAll(file.absoluteFilePath());
    recent.prepend(file.absoluteFilePath());
    while (recent.size() > kRecentCount)
        recent.removeLast();
    settings->setValue(kRecentKey, recent);
    settings->setValue(kFolderKey, file.absolutePath());
    settings.reset();
    FillRecentMenu();
}

void TGraf::FillRecentMenu() {
    RecentMenu->clear();
    const QStringList recent = OpenSettings()->value(kRecentKey).toStringList();
    for (int i = 0; i < recent.size(); ++i) {
        const QString path = recent.at(i);
        QAction* entry = RecentMenu->addAction(QStringLiteral("%1  %2").arg(i + 1).arg(path));
        entry->setObjectName(QStringLiteral("Reciente%1").arg(i + 1));
        connect(entry, &QAction::triggered, this, [this, path] { OpenRecentEntry(path); });
    }
    RecentMenu->menuAction()->setEnabled(!recent.isEmpty() && !Session.SimulationRunning);
}

void TGraf::OpenRecentEntry(const QString& path) {
    if (!QFileInfo::exists(path)) {
        const std::string local = QFile::encodeName(path).toStdString();
        Dialogs->ShowMessage(MessageState.TheFile + " " + PathText(local) + " " +
                             MessageState.Window.NoLongerThere);
        auto settings = OpenSettings();
        QStringList recent = settings->value(kRecentKey).toStringList();
        recent.removeAll(path);
        settings->setValue(kRecentKey, recent);
        settings.reset();
        FillRecentMenu();
        return;
    }
    OpenModelPath(QFile::encodeName(path).toStdString());
}

// As Open does once its dialog has given the path.
void TGraf::OpenModelPath(const std::string& path) {
    if (Session.SimulationRunning || !MayLoseChanges()) return;
    auto opened = OpenModelFile(path, MessageState, *Dialogs);
    if (opened) TakeOpenedModel(*opened, path);
}

void TGraf::dragEnterEvent(QDragEnterEvent* event) {
    if (!Session.SimulationRunning && !DroppedModel(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TGraf::dropEvent(QDropEvent* event) {
    const QString path = DroppedModel(event->mimeData());
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    OpenModelPath(QFile::encodeName(path).toStdString());
}

}  // namespace corvanta
