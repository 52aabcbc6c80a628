#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "tally/PlayerCount.h"

class QWidget;

namespace obrenta::ui {

class MainDialog;

// The questions a start asks when it cannot show the user's games. Each question is a function
// so that tests answer it; an empty one is never asked.
struct FirstStartPrompts {
    // Why the score log is asked for.
    struct LogQuestion {
        // No settings file was found: the program has never been set up here.
        bool noSettingsFile = false;
        // The log the settings name, when it does not exist; empty otherwise.
        QString missingLog;
    };
    // Returns the score log chosen, or an empty path to go on without one.
    std::function<QString(QWidget* parent, const LogQuestion& question)> askForLog;
    // Offered the most frequent names of the log read, most frequent first, returns the index of
    // the one that is the user's, or -1 when none is.
    std::function<int(QWidget* parent, const std::vector<tally::PlayerCount>& names)> askForId;
};

// The names offered as the user's ID.
inline constexpr std::size_t kOfferedNames = 8;
// The file name the client gives its score log.
inline constexpr char kUsualLogName[] = "mjscore.txt";

// The window's own dialogs for both questions.
FirstStartPrompts StandardFirstStartPrompts();

// Run once the window shows its first tally: with no settings file or no log, asks for the log
// and opens the one chosen; then, when a log was read and none of the user IDs sits in any of its
// games, offers its most frequent names and adds the one picked as a user ID. Nothing is chosen
// without the user.
void RunFirstStart(MainDialog& window, bool noSettingsFile, const FirstStartPrompts& prompts);

}  // namespace obrenta::ui
