#include "ui/LogWatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

#include "base/Platform.h"
#include "ui/QtText.h"

namespace obrenta::ui {

LogWatcher::LogWatcher(QObject* parent) : QObject(parent), watcher_(new QFileSystemWatcher(this)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    maxWait_.setSingleShot(true);
    maxWait_.setInterval(kMaxWaitMs);
    poll_.setInterval(kPollMs);
    connect(&settle_, &QTimer::timeout, this, &LogWatcher::Report);
    connect(&maxWait_, &QTimer::timeout, this, &LogWatcher::Report);
    connect(&poll_, &QTimer::timeout, this, &LogWatcher::Check);
    connect(watcher_, &QFileSystemWatcher::fileChanged, this, &LogWatcher::Check);
    // Any file of the folder may change, the settings file beside the log among them; only a
    // change of the log itself counts.
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &LogWatcher::Check);
}

void LogWatcher::Watch(const QString& path) {
    if (path == path_) return;
    path_ = path;
    settle_.stop();
    maxWait_.stop();
    if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
    if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
    watchedInode_ = 0;
    stamp_ = Current();
    if (enabled_) {
        Arm();
        poll_.start();
    }
}

void LogWatcher::SetEnabled(bool on) {
    if (on == enabled_) return;
    enabled_ = on;
    if (!on) {
        settle_.stop();
        maxWait_.stop();
        poll_.stop();
        if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
        if (!watcher_->directories().isEmpty()) watcher_->removePaths(watcher_->directories());
        watchedInode_ = 0;
        return;
    }
    if (path_.isEmpty()) return;
    Arm();
    poll_.start();
    Check();
}

LogWatcher::Stamp LogWatcher::Current() const {
    base::FileStatus st;
    if (path_.isEmpty() || base::QueryFileStatus(ToLocalPath(path_), st) != 0) return {};
    return {true, st.device, st.fileId, static_cast<std::int64_t>(st.size), st.modifiedNs};
}

void LogWatcher::Check() {
    if (!enabled_) return;
    const Stamp now = Current();
    if (now == stamp_) return;
    stamp_ = now;
    Arm();
    settle_.start();
    if (!maxWait_.isActive()) maxWait_.start();
}

void LogWatcher::Report() {
    settle_.stop();
    maxWait_.stop();
    Arm();
    emit LogChanged();
}

void LogWatcher::Arm() {
    if (!enabled_ || path_.isEmpty()) return;
    const QFileInfo info(path_);
    const QString folder = info.absolutePath();
    if (!watcher_->directories().contains(folder) && QFileInfo(folder).isDir()) watcher_->addPath(folder);
    const Stamp now = Current();
    const bool watched = watcher_->files().contains(path_);
    if (watched && (!now.exists || now.inode != watchedInode_)) watcher_->removePath(path_);
    if (now.exists && (!watched || now.inode != watchedInode_)) {
        watchedInode_ = watcher_->addPath(path_) ? now.inode : 0;
    }
}

}  // namespace obrenta::ui
