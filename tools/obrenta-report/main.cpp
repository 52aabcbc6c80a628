// obrenta-report: the Tally command without a window. Loads a settings file (read only), reads the
// score logs it names as one, tallies, fills every list and chart in memory and prints them as text.

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "base/Platform.h"
#include "present/CsvWriter.h"
#include "present/GameDetail.h"
#include "present/GamesWith.h"
#include "present/Report.h"
#include "present/TextCodec.h"
#include "present/ValuesCsv.h"
#include "settings/AppSettings.h"
#include "tally/TallyEngine.h"

namespace {

using obrenta::settings::AppSettings;

constexpr int kExitFailure = 2;

const char kUsage[] =
    "Usage: obrenta-report --settings PATH [--log PATH]... [--id NAME]...\n"
    "                     [--csv LIST [--values] | --game \"YYYY/MM/DD HH:MM\" | --games-with NAME]\n"
    "\n"
    "Runs a tally as the desktop program does and prints every list and chart as text.\n"
    "\n"
    "  --settings PATH  the settings file to take the log path, IDs, filter and sort\n"
    "                   orders from (only read, never written)\n"
    "  --log PATH       read this score log instead of those the settings name; may\n"
    "                   be repeated to read several logs as one\n"
    "  --id NAME        use this user ID instead of the stored ones, in use; may be\n"
    "                   repeated; the first five are used (UTF-8)\n"
    "  --csv LIST       print only the list of this section name (RankTable, ...) as\n"
    "                   CSV: UTF-8 with a byte order mark, CRLF, shown columns only\n"
    "  --values         with --csv: every number plain (C locale), an interval as\n"
    "                   value, low and high columns, dates in ISO 8601\n"
    "  --game TIME      print only the games starting at that local minute\n"
    "                   (section # Game); exit status 2 when none does\n"
    "  --games-with NAME  print only the selected games with that opponent\n"
    "                   (section # GamesWith; UTF-8)\n"
    "  --help           show this text\n";

struct Options {
    std::string settingsPath;
    std::vector<std::string> logPaths;
    std::vector<std::string> ids;
    std::optional<std::string> csvList;
    bool values = false;
    std::optional<std::string> game;
    std::optional<std::string> gamesWith;
};

int UsageError(const std::string& message) {
    std::cerr << "obrenta-report: " << message << "\n" << kUsage;
    return kExitFailure;
}

}  // namespace

int main(int argc, char** argv) {
    // The report is bytes, LF-terminated on every system.
    obrenta::base::SetBinaryStandardOutput();
    const std::vector<std::string> arguments = obrenta::base::ProgramArguments(argc, argv);
    const int count = static_cast<int>(arguments.size());
    Options options;
    bool haveSettings = false;
    for (int i = 0; i < count; ++i) {
        std::string arg = arguments[i];
        if (arg == "--help" || arg == "-h") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--values") {
            options.values = true;
            continue;
        }
        if (arg != "--settings" && arg != "--log" && arg != "--id" && arg != "--csv" && arg != "--game" &&
            arg != "--games-with")
            return UsageError("unknown option " + arg);
        if (i + 1 >= count) return UsageError(arg + " needs a value");
        std::string value = arguments[++i];
        if (arg == "--settings") {
            options.settingsPath = value;
            haveSettings = true;
        } else if (arg == "--log") {
            options.logPaths.push_back(value);
        } else if (arg == "--csv") {
            options.csvList = value;
        } else if (arg == "--game") {
            options.game = value;
        } else if (arg == "--games-with") {
            options.gamesWith = value;
        } else {
            options.ids.push_back(value);
        }
    }
    if (!haveSettings) return UsageError("--settings is required");
    if (int(options.csvList.has_value()) + int(options.game.has_value()) +
            int(options.gamesWith.has_value()) >
        1)
        return UsageError("--csv, --game and --games-with exclude each other");
    if (options.values && !options.csvList) return UsageError("--values needs --csv");
    std::optional<std::int64_t> gameMinute;
    if (options.game) {
        gameMinute = obrenta::present::ParseGameMinute(*options.game);
        if (!gameMinute)
            return UsageError("--game " + *options.game + " is not of the form YYYY/MM/DD HH:MM");
    }
    std::optional<std::string> opponent;
    if (options.gamesWith) {
        opponent = obrenta::present::Utf8ToCp932(*options.gamesWith);
        if (!opponent) return UsageError("--games-with " + *options.gamesWith + " has no code page 932 form");
    }
    std::optional<obrenta::present::ListId> csvList;
    if (options.csvList) {
        csvList = obrenta::present::FindListByName(*options.csvList);
        if (!csvList) {
            std::cerr << "obrenta-report: unknown list " << *options.csvList << "; the lists are:\n";
            for (int i = 0; i < obrenta::present::kListCount; ++i)
                std::cerr << "  " << obrenta::present::ListName(static_cast<obrenta::present::ListId>(i))
                          << "\n";
            return kExitFailure;
        }
    }

    AppSettings settings;
    settings.iniPath = obrenta::base::PathFromArgument(options.settingsPath);
    // Unlike the desktop program, a missing file is an error here: there is nothing to report on.
    if (const obrenta::settings::LoadOutcome loaded = settings.LoadSettings(); !loaded.ok()) {
        std::cerr << "obrenta-report: cannot read settings file " << options.settingsPath << ": "
                  << loaded.reason() << "\n";
        return kExitFailure;
    }
    // A relative log path belongs to the settings file's folder, as in the desktop program.
    std::vector<std::string> logs = settings.ScoreLogPaths();
    // Nothing here may ever write the user's settings file.
    settings.iniPath.clear();

    if (!options.logPaths.empty()) {
        logs.clear();
        for (const std::string& log : options.logPaths) logs.push_back(obrenta::base::PathFromArgument(log));
    }
    settings.MJSFileName = logs.front();
    settings.extraLogs.assign(logs.begin() + 1, logs.end());
    if (!options.ids.empty()) {
        settings.userIdCount = static_cast<std::int32_t>(options.ids.size());
        for (std::size_t i = 0; i < options.ids.size(); ++i) {
            std::optional<std::string> id = obrenta::present::Utf8ToCp932(options.ids[i]);
            if (!id) return UsageError("--id " + options.ids[i] + " has no code page 932 form");
            // As with the settings file: only five slots exist, and an ID holds 127 bytes.
            if (i >= static_cast<std::size_t>(obrenta::settings::kMaxUserIds)) continue;
            id->resize(std::min(id->size(), obrenta::settings::kMaxUserIdBytes));
            settings.userIds[i] = *id;
            settings.userIdEnabled[i] = 1;
        }
    }

    obrenta::tally::TallyEngine engine(settings);
    const std::vector<obrenta::scorelog::ReadOutcome> reads = engine.ReadScoreLogs();
    bool failed = false;
    for (std::size_t k = 0; k < reads.size(); ++k) {
        if (reads[k].ok()) continue;
        // The stored paths are code page 932; --log paths are shown as they were given.
        const std::string shown = k < options.logPaths.size()
                                      ? options.logPaths[k]
                                      : obrenta::present::Cp932ToUtf8(engine.logs().path(k));
        std::cerr << "obrenta-report: cannot read score log " << shown << ": " << reads[k].reason() << "\n";
        failed = true;
    }
    if (failed) return kExitFailure;
    engine.Tally();
    std::string report;
    if (gameMinute) {
        report = obrenta::present::RenderGameSections(engine, settings, *gameMinute);
        if (report.empty()) {
            std::cerr << "obrenta-report: no game of the score log starts at " << *options.game << "\n";
            return kExitFailure;
        }
    } else if (opponent) {
        report = obrenta::present::RenderGamesWith(engine, *opponent);
    } else if (csvList) {
        report = options.values ? obrenta::present::RenderListValuesCsv(engine, settings, *csvList)
                                : obrenta::present::RenderListCsv(engine, settings, *csvList);
    } else {
        report = obrenta::present::RenderReport(engine, settings);
    }
    std::fwrite(report.data(), 1, report.size(), stdout);
    if (std::fflush(stdout) != 0) return kExitFailure;
    return 0;
}
