#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>

class QFileSystemWatcher;

namespace obrenta::ui {

// Tells when the score log has changed. The file system's notices on the file and on its folder
// (the client may write a new file and rename it over the old one) are backed by a look at the
// file's size and time every two seconds, since notices never come from some folders (network
// shares, Wine drives). LogChanged comes once the file has been quiet for half a second, so a
// game written in several pieces is tallied once — but never later than two seconds after the
// first change seen, so a log that is written to all the time is still followed.
class LogWatcher : public QObject {
    Q_OBJECT

public:
    static constexpr int kSettleMs = 500;
    static constexpr int kPollMs = 2000;
    static constexpr int kMaxWaitMs = 2000;

    explicit LogWatcher(QObject* parent = nullptr);

    // Watches path from now on (nothing when it is already the one watched). Its state now is
    // the state it is compared with.
    void Watch(const QString& path);
    // Off stops every notice and the poll; back on, a change made meanwhile is reported.
    void SetEnabled(bool on);
    bool enabled() const { return enabled_; }
    const QString& path() const { return path_; }

signals:
    void LogChanged();

private:
    // What tells one state of the file from another: a replaced file has a new inode.
    struct Stamp {
        bool exists = false;
        std::uint64_t device = 0;
        std::uint64_t inode = 0;
        std::int64_t size = 0;
        std::int64_t modifiedNs = 0;
        bool operator==(const Stamp&) const = default;
    };
    Stamp Current() const;
    // Looks at the file; a change starts the wait for quiet again.
    void Check();
    // Reports the change and ends both waits.
    void Report();
    // Puts the notices on the file (when it exists) and its folder, the file's anew when it
    // was replaced.
    void Arm();

    QFileSystemWatcher* watcher_;
    QTimer settle_;
    // Runs from the first change seen until it is reported.
    QTimer maxWait_;
    QTimer poll_;
    QString path_;
    Stamp stamp_;
    std::uint64_t watchedInode_ = 0;
    bool enabled_ = true;
};

}  // namespace obrenta::ui
