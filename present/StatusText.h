#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "scorelog/ScoreLog.h"
#include "settings/AppSettings.h"

namespace obrenta::present {

// What the status line under the pages tells after a Tally.
struct StatusFacts {
    // The latest read of the score log.
    scorelog::ReadOutcome read;
    // When the games shown were read (seconds); none before the first successful read.
    std::optional<std::int64_t> lastReadTime;
    // The games of the log as last read, and those the filter kept.
    std::size_t gamesRead = 0;
    std::size_t gamesSelected = 0;
    // The time the texts are made: a read on another day shows its date as well.
    std::int64_t now = 0;
    settings::SaveOutcome save;
    // The single-instance lock could not be taken for a reason other than a running copy.
    bool singleInstanceUnchecked = false;
    // How many logs are read as one. With more than one, gamesRead counts the games of all of
    // them (each game once), and each log whose latest read failed is named with its reason.
    std::size_t logCount = 1;
    struct FailedLog {
        std::string name;  // the file's name, code page 932
        scorelog::ReadOutcome read;
    };
    std::vector<FailedLog> failedLogs;
};

// The status line's texts, code page 932. The window puts the log's path in front of logText,
// shortened to fit; a warning is shown in a warning colour.
struct StatusText {
    std::string logText;
    bool logWarning = false;
    // A failed settings save and the single-instance note; empty when all is well. Always a
    // warning.
    std::string notice;
};

StatusText MakeStatusText(const StatusFacts& facts);

// Why a read failed, as the status line says it; empty when it did not.
std::string ReadFailureText(const scorelog::ReadOutcome& read);
// A log's state as the log list shows it: read, or why not.
std::string LogStateText(const scorelog::ReadOutcome& read);
// "2 件のログ": what the status line shows in place of the path when several logs are read.
std::string LogCountText(std::size_t count);

// A count with its digits grouped by three: "12,345".
std::string GroupedCount(std::uint64_t count);

}  // namespace obrenta::present
