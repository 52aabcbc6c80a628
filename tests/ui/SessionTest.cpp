// A whole working session through the real window, watched from outside: the score log must
// come out of it byte for byte and time stamp for time stamp as it went in, never opened for
// writing, and the only file the program may create anywhere near it is its settings file.
#include <sys/stat.h>
#ifdef __linux__
#include <sys/inotify.h>
#include <unistd.h>
#endif

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <cerrno>
#include <memory>
#include <vector>

#include "UiTestSupport.h"
#include "present/RatingCalculator.h"
#include "ui/AddUserIdDialog.h"
#include "ui/FilterPanel.h"
#include "ui/GraphWindow.h"
#include "ui/ListModel.h"
#include "ui/ListTreeView.h"
#include "ui/MainDialog.h"
#include "ui/RatingPredictionDialog.h"
#include "ui/StatsPage.h"

namespace obrenta::ui::test {

namespace {

using Command = MainDialog::Command;
using present::ListId;

struct FileStamp {
    QByteArray bytes;
    timespec mtime{};
    off_t size = 0;
    bool operator==(const FileStamp& other) const {
        return bytes == other.bytes && mtime.tv_sec == other.mtime.tv_sec &&
               mtime.tv_nsec == other.mtime.tv_nsec && size == other.size;
    }
};

FileStamp Stamp(const QString& path) {
    FileStamp stamp;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) stamp.bytes = file.readAll();
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0) {
        stamp.mtime = st.st_mtim;
        stamp.size = st.st_size;
    }
    return stamp;
}

QStringList Entries(const QString& dir) {
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                               QDir::Name);
}

bool IsSettingsFileName(const QString& name) {
    return name == QLatin1String("Obrenta.ini") || name.startsWith(QLatin1String("Obrenta.ini.tmp-"));
}

void ClickHeading(ListTreeView* view, int column) {
    QHeaderView* header = view->header();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

#ifdef __linux__
// What the kernel saw happen to the watched files and directories, opens for reading included.
class FileWatch {
public:
    struct Event {
        int watch;
        std::uint32_t mask;
        QString name;
    };

    FileWatch() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}
    ~FileWatch() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileWatch(const FileWatch&) = delete;
    FileWatch& operator=(const FileWatch&) = delete;

    bool ok() const { return fd_ >= 0; }
    int Add(const QString& path, std::uint32_t mask) {
        return ::inotify_add_watch(fd_, QFile::encodeName(path).constData(), mask);
    }
    std::vector<Event> Drain() {
        std::vector<Event> events;
        alignas(inotify_event) char buffer[16 * 1024];
        for (;;) {
            const ssize_t got = ::read(fd_, buffer, sizeof buffer);
            if (got <= 0) break;
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
                events.push_back(
                    {event->wd, event->mask, event->len > 0 ? QFile::decodeName(event->name) : QString()});
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return events;
    }

private:
    int fd_;
};
#endif

}  // namespace

class SessionTest : public QObject {
    Q_OBJECT

private slots:
    void wholeSessionLeavesTheLogUntouched() {
        QTemporaryDir logDir;
        QTemporaryDir settingsDir;
        QVERIFY(logDir.isValid() && settingsDir.isValid());
        const QString log = logDir.filePath(QStringLiteral("mjscore.txt"));
        const QString ini = settingsDir.filePath(QStringLiteral("Obrenta.ini"));
        WriteFile(log, MakeScoreLog(40));
        WriteSettingsFile(
            ini, QStringLiteral("nUserID\t1\nUserID00\tさくら\nUseID00\t1\nMJSFileName\n%1\n").arg(log));
        // A time stamp in the past, so that any write, even one within the same second, shows.
        QFile logFile(log);
        QVERIFY(logFile.open(QIODevice::ReadWrite));
        QVERIFY(logFile.setFileTime(QDateTime(QDate(2024, 3, 1), QTime(12, 0, 0, 123)),
                                    QFileDevice::FileModificationTime));
        logFile.close();
        const FileStamp before = Stamp(log);
        QVERIFY(!before.bytes.isEmpty());
        const QStringList logDirBefore = Entries(logDir.path());

#ifdef __linux__
        FileWatch watch;
        QVERIFY(watch.ok());
        const std::uint32_t dirChanges = IN_CREATE | IN_MOVED_TO | IN_DELETE | IN_MOVED_FROM;
        const int logDirWatch = watch.Add(logDir.path(), dirChanges);
        const int settingsDirWatch = watch.Add(settingsDir.path(), dirChanges);
        const int logWatch =
            watch.Add(log, IN_OPEN | IN_MODIFY | IN_CLOSE_WRITE | IN_CLOSE_NOWRITE | IN_ATTRIB);
        QVERIFY(logDirWatch >= 0 && settingsDirWatch >= 0 && logWatch >= 0);
#endif

        MainDialogOptions options;
        options.settingsPath = ini.toStdString();
        options.programDir = settingsDir.path();
        std::vector<QUrl> opened;
        options.openUrl = [&opened](const QUrl& url) {
            opened.push_back(url);
            return true;
        };
        auto window = std::make_unique<MainDialog>(std::move(options));
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        QCOMPARE(window->engine().gameCount, 40);
        int tallies = window->tallyCount();

        // Tally by every key.
        for (Qt::Key key : {Qt::Key_F5, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) {
            QTest::keyClick(window.get(), key);
            QCOMPARE(window->tallyCount(), ++tallies);
        }
        window->action(Command::MenuBarTally)->trigger();

        // Every filter box off and on again, each with a tally.
        for (const auto* group :
             {&window->filterPanel()->tableKindBoxes(), &window->filterPanel()->gameKindBoxes(),
              &window->filterPanel()->rankBoxes(), &window->filterPanel()->ratingRankBoxes()}) {
            for (QCheckBox* box : *group) {
                box->click();
                QTest::keyClick(window.get(), Qt::Key_F5);
                box->click();
                QTest::keyClick(window.get(), Qt::Key_F5);
            }
        }
        QCOMPARE(window->engine().gameCount, 40);
        window->filterPanel()->dateFromEdit()->setDate(QDate(2024, 1, 11));
        window->filterPanel()->dateToEdit()->setDate(QDate(2024, 1, 30));
        QTest::keyClick(window.get(), Qt::Key_F5);
        QCOMPARE(window->engine().gameCount, 20);
        window->filterPanel()->recentEdit()->setText(QStringLiteral("7"));
        QTest::keyClick(window.get(), Qt::Key_F5);
        QCOMPARE(window->engine().gameCount, 7);
        window->filterPanel()->userIdList()->item(0)->setCheckState(Qt::Unchecked);
        QTest::keyClick(window.get(), Qt::Key_F5);
        QCOMPARE(window->engine().gameCount, 0);
        window->filterPanel()->userIdList()->item(0)->setCheckState(Qt::Checked);
        window->filterPanel()->recentEdit()->setText(QStringLiteral("10000"));

        window->action(Command::TodayOnly)->trigger();
        QCOMPARE(window->engine().gameCount, 0);
        window->action(Command::AllTime)->trigger();
        QCOMPARE(window->engine().gameCount, 40);

        // Every page, and every sortable heading twice.
        for (int tab = 0; tab < window->tabBar()->count(); ++tab) {
            window->tabBar()->setCurrentIndex(tab);
            QTest::qWait(5);
        }
        window->tabBar()->setCurrentIndex(2);
        for (ListId id : {ListId::YakuListOwn, ListId::YakuListOther}) {
            for (int column = 0; column < 4; ++column) {
                ClickHeading(window->listView(id), column);
                ClickHeading(window->listView(id), column);
            }
        }
        window->tabBar()->setCurrentIndex(5);
        for (int column = 0; column < 8; ++column)
            ClickHeading(window->listView(ListId::OpponentList), column);
        QTest::keyClick(window.get(), Qt::Key_F5);

        // Charts: both regression lines on and off, the separate chart shown and hidden.
        for (Command command : {Command::RegressionR, Command::RegressionPoints, Command::RegressionR,
                                Command::SeparateChart}) {
            window->action(command)->trigger();
        }
        QVERIFY(window->graphWindow()->isVisible());
        QTest::keyClick(window.get(), Qt::Key_F5);
        window->action(Command::SeparateChart)->trigger();
        QVERIFY(!window->graphWindow()->isVisible());

        // The rating calculator, edited in all three boxes.
        int recomputations = 0;
        WhenModalOpens([&recomputations](QWidget* modal) {
            auto* dialog = qobject_cast<RatingPredictionDialog*>(modal);
            QVERIFY(dialog != nullptr);
            QLineEdit* a = dialog->box(present::kBoxA);
            a->selectAll();
            QTest::keyClicks(a, QStringLiteral("1500"));
            QLineEdit* k = dialog->box(present::kBoxK);
            k->setText(QStringLiteral("2.5"));
            QCOMPARE(dialog->box(present::kBoxP)->text(), QStringLiteral("1500"));
            dialog->box(present::kBoxP)->setText(QStringLiteral("1440"));
            QCOMPARE(k->text(), QStringLiteral("2.55"));
            recomputations = dialog->recomputeCount();
            dialog->close();
        });
        window->action(Command::RatingPrediction)->trigger();
        QVERIFY(recomputations >= 3);

        // The opponent search both ways.
        OpponentsPage* opponents = window->page<OpponentsPage>();
        opponents->searchEdit()->setText(QStringLiteral("ｋ"));
        opponents->searchDownButton()->click();
        QVERIFY(window->listView(ListId::OpponentList)->SelectedRow() >= 0);
        opponents->searchUpButton()->click();

        // An ID added through the dialog, tallied, deleted, tallied.
        WhenModalOpens([](QWidget* modal) {
            auto* dialog = qobject_cast<AddUserIdDialog*>(modal);
            QVERIFY(dialog != nullptr);
            dialog->edit()->setText(QStringLiteral("kenji"));
            dialog->accept();
        });
        window->filterPanel()->addUserIdButton()->click();
        QCOMPARE(window->filterPanel()->userIdList()->count(), 2);
        QTest::keyClick(window.get(), Qt::Key_F5);
        window->filterPanel()->userIdList()->item(1)->setSelected(true);
        WhenModalOpens([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box != nullptr);
            for (QAbstractButton* button : box->buttons()) {
                if (box->buttonRole(button) == QMessageBox::AcceptRole) button->click();
            }
        });
        window->filterPanel()->deleteUserIdsButton()->click();
        QCOMPARE(window->filterPanel()->userIdList()->count(), 1);
        QTest::keyClick(window.get(), Qt::Key_F5);

        // The same log through the open path, then close.
        window->OpenScoreLog(log);
        QCOMPARE(window->engine().gameCount, 40);
        QVERIFY(window->tallyCount() > tallies);
        window->close();
        QVERIFY(!window->isVisible());
        window.reset();
        QVERIFY(opened.empty());

        // The log as it was, and no stranger beside it or the settings.
        const FileStamp after = Stamp(log);
        QCOMPARE(after.size, before.size);
        QCOMPARE(after.mtime.tv_sec, before.mtime.tv_sec);
        QCOMPARE(after.mtime.tv_nsec, before.mtime.tv_nsec);
        QVERIFY(after.bytes == before.bytes);
        QCOMPARE(Entries(logDir.path()), logDirBefore);
        QCOMPARE(Entries(settingsDir.path()), QStringList{QStringLiteral("Obrenta.ini")});

#ifdef __linux__
        int reads = 0;
        for (const FileWatch::Event& event : watch.Drain()) {
            if (event.watch == logWatch) {
                QVERIFY2((event.mask & (IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB)) == 0,
                         qPrintable(QStringLiteral("the log was opened for writing or changed (mask %1)")
                                        .arg(event.mask, 0, 16)));
                if (event.mask & IN_CLOSE_NOWRITE) ++reads;
            } else if (event.watch == logDirWatch) {
                QFAIL(
                    qPrintable(QStringLiteral("%1 was created, replaced or removed beside the log (mask %2)")
                                   .arg(event.name)
                                   .arg(event.mask, 0, 16)));
            } else if (event.watch == settingsDirWatch) {
                QVERIFY2(IsSettingsFileName(event.name),
                         qPrintable(QStringLiteral("%1 appeared beside the settings file").arg(event.name)));
            }
        }
        // The watch did see the program read the log (once at start-up, once per changed stamp).
        QVERIFY(reads >= 1);
#endif
    }
};

static RegisterSuite<SessionTest> registerSessionTest("SessionTest");

}  // namespace obrenta::ui::test

#include "SessionTest.moc"
