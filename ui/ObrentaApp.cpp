#include "ui/ObrentaApp.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#include "settings/SettingsLocation.h"
#include "ui/MainDialog.h"
#include "ui/QtText.h"
#include "ui/UiStyle.h"

#ifndef OBRENTA_AUTHOR_URL
#define OBRENTA_AUTHOR_URL ""
#endif
#ifndef OBRENTA_SERVICE_URL
#define OBRENTA_SERVICE_URL ""
#endif
#ifndef OBRENTA_README_URL
#define OBRENTA_README_URL ""
#endif

namespace obrenta::ui {

QString InstanceLockPath(const QString& directory) {
    QString dir = directory;
    if (dir.isEmpty()) dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("obrenta.lock"));
}

namespace {

// Whether the lock file names a process that is still running. tryLock has already taken over
// the lock of a process of this machine that is gone, so a readable holder is a live one.
bool HolderIsAlive(const QLockFile& lock) {
    qint64 pid = 0;
    QString host;
    QString app;
    return lock.getLockInfo(&pid, &host, &app) && pid > 0;
}

}  // namespace

InstanceLock AcquireInstanceLock(const QString& directory) {
    auto lock = std::make_unique<QLockFile>(InstanceLockPath(directory));
    // No age limit: a lock is stale only when the process that took it is gone, however long
    // the first copy has been running.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) return {InstanceLock::Status::Acquired, std::move(lock)};
    // Only a live holder means a second copy; a folder we cannot write to, or a stale lock we
    // cannot remove, must not keep the program from starting.
    if (lock->error() == QLockFile::LockFailedError && HolderIsAlive(*lock))
        return {InstanceLock::Status::HeldByAnother, nullptr};
    return {InstanceLock::Status::Unchecked, nullptr};
}

int RunObrenta(int argc, char** argv) {
    // Before the application object: a second copy must not even open a display connection.
    const InstanceLock lock = AcquireInstanceLock();
    if (lock.status == InstanceLock::Status::HeldByAnother) return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Obrenta"));
    QApplication::setFont(UiFont());
    QApplication::setWindowIcon(AppIcon());

    MainDialogOptions options;
    options.singleInstanceUnchecked = lock.status == InstanceLock::Status::Unchecked;
    options.programDir = QCoreApplication::applicationDirPath();
    options.authorUrl = QStringLiteral(OBRENTA_AUTHOR_URL);
    options.serviceUrl = QStringLiteral(OBRENTA_SERVICE_URL);
    options.readmeUrl = QStringLiteral(OBRENTA_README_URL);
    options.settingsPath = settings::LocateSettingsFile(ToLocalPath(options.programDir));
    MainDialog window(std::move(options));
    window.show();
    return app.exec();
}

}  // namespace obrenta::ui
