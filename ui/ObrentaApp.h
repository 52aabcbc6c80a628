#pragma once

#include <QString>
#include <memory>

class QLockFile;
class QTranslator;

namespace obrenta::ui {

// The per-user lock file that keeps a second copy from starting: in the user's runtime
// directory unless directory is given.
QString InstanceLockPath(const QString& directory = QString());

// What taking the single-instance lock found.
struct InstanceLock {
    enum class Status {
        Acquired,       // this copy holds the lock
        HeldByAnother,  // another live copy holds it
        Unchecked,      // the lock could not be taken at all (e.g. an unwritable folder)
    };
    Status status = Status::Unchecked;
    // Set when Acquired; the lock goes with it.
    std::unique_ptr<QLockFile> file;
};

// Takes the single-instance lock. A copy that died without releasing it never blocks the next
// start.
InstanceLock AcquireInstanceLock(const QString& directory = QString());

// Installs Qt's own Japanese texts (file dialogs, message boxes, standard buttons) from Qt's
// translations folder and returns them; nullptr, and English, when they are not installed.
std::unique_ptr<QTranslator> LoadQtTranslations();

// The whole program: --help and --version answer without a display; a second copy ends at once
// and silently; otherwise the main window runs until it is closed.
int RunObrenta(int argc, char** argv);

}  // namespace obrenta::ui
