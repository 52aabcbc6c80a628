// Times the desktop program's two waits that a user feels, offscreen:
//   obrenta-ui-bench --settings INI [--tab T] [--runs N]
//   obrenta-ui-bench --log LOG --id NAME [--recent N] [--tab T] [--runs N] [--append]
// --tab opens the window on tab T (from 0, left to right) instead of the saved one.
// 1. start-up: the main window made (its settings read, the log read, tallied and every page
//    filled), shown, and the events run until the page on top has been painted;
// 2. the Tally command with the log unchanged since the last read (so no re-read), as RunTally()
//    alone and with the repaint that follows, median of N runs (default 5).
// 3. with --append (and --log): one game appended to a copy of the log, then the Tally command
//    (the read of what was appended, the tally and every page and chart), N times.
// The settings are copied into a temporary directory first: the Tally command saves them, and
// the given file must stay as it is. Wall and CPU (this thread) times in milliseconds.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "present/TextCodec.h"
#include "ui/ListModel.h"
#include "ui/ListTreeView.h"
#include "ui/MainDialog.h"
#include "ui/UiStyle.h"

namespace {

double CpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

double WallMs() {
    using Clock = std::chrono::steady_clock;
    return std::chrono::duration<double, std::milli>(Clock::now().time_since_epoch()).count();
}

struct Sample {
    double wall = 0;
    double cpu = 0;
};

struct Stopwatch {
    double wall0 = WallMs();
    double cpu0 = CpuMs();
    Sample Read() const { return {WallMs() - wall0, CpuMs() - cpu0}; }
};

Sample Median(std::vector<Sample> samples) {
    auto pick = [&](double Sample::*field) {
        std::vector<double> values;
        for (const Sample& s : samples) values.push_back(s.*field);
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    return {pick(&Sample::wall), pick(&Sample::cpu)};
}

// Counts paint events of one window's widgets.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* window) : window_(window) {}
    int paints = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == window_)
            ++paints;
        return false;
    }

private:
    QWidget* window_;
};

// Runs the event loop until nothing is left to do (posted events, paints, zero timers).
void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
}

void Usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s --settings INI [--tab T] [--runs N]\n"
                 "       %s --log LOG --id NAME [--recent N] [--tab T] [--runs N] [--append]\n",
                 program, program);
}

void Print(const char* what, const Sample& s) {
    std::printf("%-44s %9.1f ms wall %9.1f ms cpu\n", what, s.wall, s.cpu);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QString settingsIn;
    QString log;
    std::string id;
    int recent = -1;
    int runs = 5;
    int tab = -1;
    bool append = false;
    for (int i = 1; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--settings") == 0 && hasValue) {
            settingsIn = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--log") == 0 && hasValue) {
            log = QString::fromLocal8Bit(argv[++i]);
        } else if (std::strcmp(argv[i], "--id") == 0 && hasValue) {
            id = argv[++i];
        } else if (std::strcmp(argv[i], "--recent") == 0 && hasValue) {
            recent = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--tab") == 0 && hasValue) {
            tab = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--append") == 0) {
            append = true;
        } else if (std::strcmp(argv[i], "--runs") == 0 && hasValue) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else {
            Usage(argv[0]);
            return 2;
        }
    }
    if (settingsIn.isEmpty() == (log.isEmpty() || id.empty()) || (append && log.isEmpty())) {
        Usage(argv[0]);
        return 2;
    }

    // The application object belongs to the start-up the user waits for as well.
    const Stopwatch process;
    QApplication app(argc, argv);
    QApplication::setFont(obrenta::ui::UiFont());

    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Obrenta.ini"));
    // Appending needs a log of our own; the copy is what the window reads then.
    QByteArray lastGame;
    if (append) {
        const QString copy = dir.filePath(QStringLiteral("mjscore.txt"));
        QFile in(log);
        if (!in.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "obrenta-ui-bench: cannot read %s\n", qPrintable(log));
            return 2;
        }
        const QByteArray bytes = in.readAll();
        // The last game: from the last line that starts a block to the end.
        const qsizetype start = bytes.lastIndexOf("\n=====");
        lastGame = bytes.mid(start < 0 ? 0 : start + 1);
        QFile out(copy);
        if (lastGame.isEmpty() || !out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "obrenta-ui-bench: cannot copy %s\n", qPrintable(log));
            return 2;
        }
        log = copy;
    }
    if (!settingsIn.isEmpty()) {
        if (!QFile::copy(settingsIn, ini) ||
            !QFile::setPermissions(ini, QFile::ReadOwner | QFile::WriteOwner)) {
            std::fprintf(stderr, "obrenta-ui-bench: cannot read %s\n", qPrintable(settingsIn));
            return 2;
        }
    } else {
        const auto cp932 = obrenta::present::Utf8ToCp932(id);
        if (!cp932) {
            std::fprintf(stderr, "obrenta-ui-bench: the ID is not valid code page 932 text\n");
            return 2;
        }
        std::string text = "X\t0\nY\t0\nnUserID\t1\nUserID00\t" + *cp932 + "\nUseID00\t1\nMJSFileName\n" +
                           QFile::encodeName(QFileInfo(log).absoluteFilePath()).toStdString() + "\nTab\t0\n";
        if (recent >= 0) text += "Recent\t" + std::to_string(recent) + "\n";
        // Every Tally is the bench's own: no refresh of the window's accord in between.
        if (append) text += "AutoTally\t0\n";
        QFile out(ini);
        if (!out.open(QIODevice::WriteOnly) || out.write(text.data(), static_cast<qint64>(text.size())) < 0) {
            std::fprintf(stderr, "obrenta-ui-bench: cannot write %s\n", qPrintable(ini));
            return 2;
        }
    }

    if (tab >= 0) {
        // A later line of a key overrides an earlier one.
        QFile out(ini);
        if (!out.open(QIODevice::Append) ||
            out.write(QByteArray("Tab\t") + QByteArray::number(tab) + '\n') < 0) {
            std::fprintf(stderr, "obrenta-ui-bench: cannot write %s\n", qPrintable(ini));
            return 2;
        }
    }

    obrenta::ui::MainDialogOptions options;
    options.settingsPath = QFile::encodeName(ini).toStdString();
    options.programDir = dir.path();
    options.openUrl = [](const QUrl&) { return true; };

    const Stopwatch startUp;
    obrenta::ui::MainDialog window(options);
    const Sample constructed = startUp.Read();
    PaintCounter painted(&window);
    app.installEventFilter(&painted);
    window.show();
    while (painted.paints == 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 50);
    Settle();
    const Sample shown = startUp.Read();
    const Sample sinceProcess = process.Read();

    std::printf("log: %s\n", window.settings().MJSFileName.c_str());
    std::printf("selected games: %d, opponents: %d, recent count: %d, tab: %d\n", window.engine().gameCount,
                window.list(obrenta::present::ListId::OpponentList).RowCount(), window.settings().recentCount,
                window.settings().Tab);
    Print("start-up: window made (read, tally, fill)", constructed);
    Print("start-up: to the first painted window", shown);
    Print("start-up: from process start (QApplication too)", sinceProcess);

    std::vector<Sample> tallies;
    std::vector<Sample> talliesPainted;
    for (int run = 0; run < runs; ++run) {
        const Stopwatch watch;
        window.RunTally();
        tallies.push_back(watch.Read());
        window.update();
        Settle();
        talliesPainted.push_back(watch.Read());
    }
    char what[64];
    std::snprintf(what, sizeof what, "Tally, log unchanged (median of %d)", runs);
    Print(what, Median(tallies));
    std::snprintf(what, sizeof what, "Tally + repaint, log unchanged (median of %d)", runs);
    Print(what, Median(talliesPainted));

    if (append) {
        std::vector<Sample> grown;
        std::vector<Sample> grownPainted;
        for (int run = 0; run < runs; ++run) {
            QFile out(log);
            if (!out.open(QIODevice::Append) || out.write(lastGame) != lastGame.size()) {
                std::fprintf(stderr, "obrenta-ui-bench: cannot append to %s\n", qPrintable(log));
                return 2;
            }
            out.close();
            const Stopwatch watch;
            window.RunTally();
            grown.push_back(watch.Read());
            window.update();
            Settle();
            grownPainted.push_back(watch.Read());
        }
        std::printf("games read after appending: %zu\n", window.engine().scoreLog().games().size());
        std::snprintf(what, sizeof what, "Tally, one game appended (median of %d)", runs);
        Print(what, Median(grown));
        std::snprintf(what, sizeof what, "Tally + repaint, one game appended (median of %d)", runs);
        Print(what, Median(grownPainted));
    }
    app.removeEventFilter(&painted);
    return 0;
}
