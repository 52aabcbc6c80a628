#include "ui/ObrentaApp.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QTranslator>
#include <cstdio>
#include <cstring>
#include <optional>

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
#ifndef OBRENTA_VERSION
#define OBRENTA_VERSION ""
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

const char kUsage[] =
    "Usage: obrenta [--help] [--version]\n"
    "Shows the statistics of your games from the Murvell score log in a window.\n"
    "\n"
    "  --help, -h   show this text and exit\n"
    "  --version    show the version and exit\n"
    "\n"
    "Qt's own options (-platform, -display, -style, ...) are passed on to Qt.\n"
    "Only one copy runs at a time; a second start ends at once.\n"
    "\n"
    "Settings: Obrenta.ini beside the program when one is there (a portable copy), otherwise\n"
    "$XDG_CONFIG_HOME/obrenta/Obrenta.ini (~/.config/obrenta/Obrenta.ini when it is unset).\n";

// What --help and --version print: answered before anything needs a display or the lock. Other
// arguments are Qt's.
std::optional<int> AnswerInformationOptions(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            std::printf("obrenta %s\n", OBRENTA_VERSION);
            return 0;
        }
    }
    return std::nullopt;
}

}  // namespace

std::unique_ptr<QTranslator> LoadQtTranslations() {
    // The window speaks Japanese whatever the desktop's language, so its Qt dialogs must too.
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

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
    if (const std::optional<int> exitCode = AnswerInformationOptions(argc, argv)) return *exitCode;
    // Before the application object: a second copy must not even open a display connection.
    const InstanceLock lock = AcquireInstanceLock();
    if (lock.status == InstanceLock::Status::HeldByAnother) return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Obrenta"));
    QApplication::setFont(UiFont());
    QApplication::setWindowIcon(AppIcon());
    const std::unique_ptr<QTranslator> qtTexts = LoadQtTranslations();

    MainDialogOptions options;
    options.singleInstanceUnchecked = lock.status == InstanceLock::Status::Unchecked;
    options.programDir = QCoreApplication::applicationDirPath();
    options.authorUrl = QStringLiteral(OBRENTA_AUTHOR_URL);
    options.serviceUrl = QStringLiteral(OBRENTA_SERVICE_URL);
    options.readmeUrl = QStringLiteral(OBRENTA_README_URL);
    options.settingsPath = settings::LocateSettingsFile(ToLocalPath(options.programDir));
    options.firstStart = StandardFirstStartPrompts();
    MainDialog window(std::move(options));
    window.show();
    return app.exec();
}

}  // namespace obrenta::ui
