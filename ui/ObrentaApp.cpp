#include "ui/ObrentaApp.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "settings/SettingsLocation.h"
#include "ui/MainDialog.h"
#include "ui/QtText.h"
#include "ui/UiStyle.h"

namespace obrenta::ui {

QString InstanceLockPath(const QString& directory) {
    QString dir = directory;
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("obrenta.lock"));
}

std::unique_ptr<QLockFile> AcquireInstanceLock(const QString& directory) {
    auto lock = std::make_unique<QLockFile>(InstanceLockPath(directory));
    // No age limit: a lock is stale only when the process that took it is gone, however long
    // the first copy has been running.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) return nullptr;
    return lock;
}

int RunObrenta(int argc, char** argv) {
    // Before the application object: a second copy must not even open a display connection.
    const std::unique_ptr<QLockFile> lock = AcquireInstanceLock();
    if (!lock) return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Obrenta"));
    QApplication::setFont(UiFont());
    QApplication::setWindowIcon(AppIcon());

    MainDialogOptions options;
    options.programDir = QCoreApplication::applicationDirPath();
    options.settingsPath = settings::LocateSettingsFile(ToLocalPath(options.programDir));
    MainDialog window(std::move(options));
    window.show();
    return app.exec();
}

}  // namespace obrenta::ui
