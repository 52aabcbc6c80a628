// The score log belongs to the game client: no path of the program opens it for writing or
// touches it in any way, whatever it reads, tallies, shows or saves.
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "HardeningSupport.h"
#include "present/Report.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace obrenta::hardening::test {
namespace {

// Collects every inotify event on one file that would mean it was written, opened for writing,
// had its attributes changed, or was moved or deleted.
class WriteWatch {
public:
    explicit WriteWatch(const std::string& path) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        if (fd_ >= 0) {
            ::inotify_add_watch(fd_, path.c_str(),
                                IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVE_SELF | IN_DELETE_SELF);
        }
    }
    ~WriteWatch() {
        if (fd_ >= 0) ::close(fd_);
    }
    WriteWatch(const WriteWatch&) = delete;
    WriteWatch& operator=(const WriteWatch&) = delete;

    bool ok() const { return fd_ >= 0; }

    // The masks of the events so far.
    std::vector<std::uint32_t> Events() {
        std::vector<std::uint32_t> masks;
        alignas(struct inotify_event) char buffer[4096];
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got <= 0) break;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const struct inotify_event*>(buffer + at);
                masks.push_back(event->mask);
                at += static_cast<ssize_t>(sizeof(struct inotify_event) + event->len);
            }
        }
        return masks;
    }

private:
    int fd_;
};

TEST(ReadOnlyLog, NoPathOfTheCoreWritesTheLog) {
    TempDir dir;
    const std::string log = dir.File("mjscore.txt");
    // Odd content too: a cut last game, a rejected block, CR LF ends.
    const std::string bytes =
        Games(0, 20) + GameText(20, 0, "\r\n") + "=====\n" + GameText(21).substr(0, 100);
    WriteBytes(log, bytes);
    struct timespec old {};
    old.tv_sec = 1700000000;
    old.tv_nsec = 123456789;
    SetModifiedTime(log, old);

    WriteWatch watch(log);
    ASSERT_TRUE(watch.ok());

    settings::AppSettings s;
    s.SetDefaults();
    // The settings file lives beside the log here, so saving it happens right next to the log.
    s.iniPath = dir.File("Obrenta.ini");
    s.userIdCount = 1;
    s.userIds[0] = "kenji";
    s.MJSFileName = log;
    tally::TallyEngine engine(s);
    for (int round = 0; round < 3; ++round) {
        // What one Tally command does, with a different filter each round.
        s.recentCount = 5 + round * 10;
        ASSERT_TRUE(s.SaveSettings());
        EXPECT_TRUE(engine.ReadScoreLog());
        ASSERT_TRUE(engine.Tally());
        const std::string report = present::RenderReport(engine, s);
        EXPECT_FALSE(report.empty());
    }
    EXPECT_EQ(engine.gameCount, 21);
    s.LoadSettings();
    engine.scoreLog().ParseBuffer(ReadBytes(log));
    EXPECT_TRUE(engine.ReadScoreLog());

    EXPECT_EQ(watch.Events(), std::vector<std::uint32_t>{}) << "the log was written or changed";
    EXPECT_EQ(ReadBytes(log), bytes);
    EXPECT_TRUE(ModifiedTime(log) == old);
}

}  // namespace
}  // namespace obrenta::hardening::test
