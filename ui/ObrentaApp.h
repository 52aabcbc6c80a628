#pragma once

#include <QString>
#include <memory>

class QLockFile;

namespace obrenta::ui {

// The per-user lock file that keeps a second copy from starting: in the user's runtime
// directory unless directory is given.
QString InstanceLockPath(const QString& directory = QString());

// Takes the single-instance lock; null when another running copy holds it. The lock goes with
// the returned object, and a copy that died without releasing it never blocks the next start.
std::unique_ptr<QLockFile> AcquireInstanceLock(const QString& directory = QString());

// The whole program: a second copy ends at once and silently; otherwise the main window runs
// until it is closed.
int RunObrenta(int argc, char** argv);

}  // namespace obrenta::ui
