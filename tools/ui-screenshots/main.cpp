// Writes a picture of every page of the main window, of the score chart naming the game under the
// pointer, of the separate chart window, of a game's window and of an opponent's games, and one of
// the status line when the log has gone missing, and of the log list with three logs (one of them
// missing), for the documentation:
// obrenta-ui-screenshots SETTINGS_FILE OUTPUT_DIR (run with QT_QPA_PLATFORM=offscreen).
#include <QApplication>
#include <QChartView>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLayout>
#include <QPainter>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

#include "ui/GameWindow.h"
#include "ui/GraphWindow.h"
#include "ui/LineChartView.h"
#include "ui/ListModel.h"
#include "ui/ListTreeView.h"
#include "ui/MainDialog.h"
#include "ui/QtText.h"
#include "ui/StatsPage.h"
#include "ui/UiStyle.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        fprintf(stderr, "usage: %s SETTINGS_FILE OUTPUT_DIR\n", argv[0]);
        return 2;
    }
    QApplication::setFont(obrenta::ui::UiFont());
    obrenta::ui::MainDialogOptions options;
    options.settingsPath = argv[1];
    options.programDir = QCoreApplication::applicationDirPath();
    options.openUrl = [](const QUrl&) { return true; };
    obrenta::ui::MainDialog window(options);
    window.move(0, 0);
    window.show();
    QTest::qWait(200);

    const QDir out(QString::fromLocal8Bit(argv[2]));
    // Each page under its own name (general.png, graph.png, ...).
    for (int tab = 0; tab < window.tabBar()->count(); ++tab) {
        window.tabBar()->setCurrentIndex(tab);
        QTest::qWait(150);
        window.grab().save(out.filePath(window.PageForTab(tab)->objectName() + QStringLiteral(".png")));
    }
    // The score chart with the hover text of a game; the text is a window of its own, drawn onto
    // the main window's picture where it stands.
    window.tabBar()->setCurrentIndex(1);
    QTest::qWait(150);
    obrenta::ui::LineChartView& chart = window.scoreChart();
    const int row = chart.content().RowCount() * 2 / 3;
    QTest::mouseMove(chart.view()->viewport(), chart.RowPosition(row));
    QTest::qWait(300);
    QImage picture = window.grab().toImage();
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible() || !top->inherits("QTipLabel")) continue;
        QPainter painter(&picture);
        painter.drawPixmap(top->pos() - window.geometry().topLeft(), top->grab());
    }
    picture.save(out.filePath(QStringLiteral("graph-tooltip.png")));
    QToolTip::hideText();

    window.action(obrenta::ui::MainDialog::Command::SeparateChart)->trigger();
    window.graphWindow()->resize(720, 480);
    QTest::qWait(300);
    window.graphWindow()->grab().save(out.filePath(QStringLiteral("graphwindow.png")));
    window.action(obrenta::ui::MainDialog::Command::SeparateChart)->trigger();

    // A game's window, opened from the newest row of 最近の対局, and the games with the opponent
    // met most often, opened from 対戦相手.
    window.tabBar()->setCurrentIndex(0);
    auto* opener = window.findChild<obrenta::ui::GameOpener*>();
    const std::vector<obrenta::tally::SelectedGame>& selected = window.engine().selectedGames;
    if (opener != nullptr && !selected.empty()) {
        obrenta::ui::GameWindow* game = opener->OpenGame(selected.back());
        game->move(0, 0);
        QTest::qWait(300);
        game->grab().save(out.filePath(QStringLiteral("game.png")));
        game->close();
        const obrenta::ui::ListModel& opponents = window.list(obrenta::present::ListId::OpponentList);
        int most = -1;
        for (int r = 0; r < opponents.RowCount(); ++r) {
            if (most < 0 || std::stoi(opponents.Cell(r, 1)) > std::stoi(opponents.Cell(most, 1))) most = r;
        }
        if (QWidget* games = most < 0 ? nullptr : opener->OpenGamesWith(most)) {
            games->move(0, 0);
            QTest::qWait(300);
            games->grab().save(out.filePath(QStringLiteral("opponent-games.png")));
            games->close();
        }
    }

    // The pages keep the games of the last read; the status line says why this one failed.
    const std::string log = window.settings().MJSFileName;
    window.settings().MJSFileName =
        QDir(QDir::tempPath()).filePath(QStringLiteral("obrenta-no-such/mjscore.txt")).toStdString();
    window.tabBar()->setCurrentIndex(0);
    window.RunTally();
    QTest::qWait(150);
    window.grab().save(out.filePath(QStringLiteral("status-missing-log.png")));
    window.settings().MJSFileName = log;

    // The log, an older backup of its first 200 games beside it, and a third log that is gone.
    const QDir temp(QDir::tempPath());
    const QString home =
        QFileInfo(obrenta::ui::FromLocalPath(window.settings().ScoreLogPath())).absoluteFilePath();
    const QString backup = temp.filePath(QStringLiteral("obrenta-old-pc/mjscore.txt"));
    temp.mkpath(QStringLiteral("obrenta-old-pc"));
    {
        QFile in(home);
        in.open(QIODevice::ReadOnly);
        QByteArray bytes = in.readAll();
        // Each game but the first starts after a line end; the 200th such start ends game 200.
        qsizetype cut = 0;
        for (int game = 0; game < 200 && cut >= 0; ++game) cut = bytes.indexOf("\n=====", cut + 1);
        if (cut > 0) bytes.truncate(cut + 1);
        QFile copy(backup);
        copy.open(QIODevice::WriteOnly | QIODevice::Truncate);
        copy.write(bytes);
    }
    window.SetScoreLogs({home, backup, temp.filePath(QStringLiteral("obrenta-no-such/laptop.txt"))});
    QTest::qWait(150);
    window.grab().save(out.filePath(QStringLiteral("status-several-logs.png")));
    QTimer::singleShot(300, [&out] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->grab().save(out.filePath(QStringLiteral("log-list.png")));
            dialog->close();
        }
    });
    window.action(obrenta::ui::MainDialog::Command::ManageLogs)->trigger();
    QFile::remove(backup);
    temp.rmdir(QStringLiteral("obrenta-old-pc"));
    window.SetScoreLogs({home});
    return 0;
}
