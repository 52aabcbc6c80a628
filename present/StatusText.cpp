#include "present/StatusText.h"

#include <cstdio>
#include <cstring>

#include "base/LocalTime.h"
#include "present/TextCodec.h"

namespace obrenta::present {
namespace {

using Status = scorelog::ReadOutcome::Status;
using Step = settings::SaveOutcome::Step;

std::string Text(const char* utf8) {
    return Cp932Literal(utf8);
}

// "21:04", or "7/10 21:04" for a read on another day than today.
std::string ReadTimeText(std::int64_t readTime, std::int64_t now) {
    const auto read = base::SecondsToLocal(readTime);
    if (!read) return "--:--";
    const auto today = base::SecondsToLocal(now);
    char buffer[32];
    if (today && today->tm_year == read->tm_year && today->tm_yday == read->tm_yday) {
        std::snprintf(buffer, sizeof buffer, "%02d:%02d", read->tm_hour, read->tm_min);
    } else {
        std::snprintf(buffer, sizeof buffer, "%d/%d %02d:%02d", read->tm_mon + 1, read->tm_mday,
                      read->tm_hour, read->tm_min);
    }
    return buffer;
}

// "12,345 試合中 1,234 試合"
std::string GameCounts(const StatusFacts& facts) {
    return GroupedCount(facts.gamesRead) + Text(" 試合中 ") + GroupedCount(facts.gamesSelected) +
           Text(" 試合");
}

const char* StepText(Step step) {
    switch (step) {
        case Step::None:
            return "";
        case Step::CreateDirectory:
            return "フォルダの作成";
        case Step::CreateTemporaryFile:
            return "一時ファイルの作成";
        case Step::KeepMode:
            return "権限の設定";
        case Step::Write:
            return "書き込み";
        case Step::Sync:
            return "ディスクへの書き出し";
        case Step::Close:
            return "ファイルを閉じる";
        case Step::Rename:
            return "置き換え";
    }
    return "";
}

}  // namespace

std::string GroupedCount(std::uint64_t count) {
    const std::string digits = std::to_string(count);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
        grouped.push_back(digits[i]);
    }
    return grouped;
}

std::string ReadFailureText(const scorelog::ReadOutcome& read) {
    switch (read.status) {
        case Status::Unchanged:
        case Status::Read:
            return "";
        case Status::NotFound:
            return Text("見つかりません");
        case Status::NotRegularFile:
            return Text("通常のファイルではありません");
        case Status::PermissionDenied:
            return Text("読み取り権限がありません");
        case Status::IoError:
            break;
    }
    // The C library's text is ASCII, which code page 932 shares.
    return Text("読み込みエラー: ") + std::strerror(read.error);
}

std::string LogStateText(const scorelog::ReadOutcome& read) {
    return read.ok() ? Text("読込済み") : ReadFailureText(read);
}

std::string LogCountText(std::size_t count) {
    return GroupedCount(count) + Text(" 件のログ");
}

StatusText MakeStatusText(const StatusFacts& facts) {
    StatusText status;
    const std::string dash = Text("― ");
    if (facts.logCount > 1) {
        // The logs that could be read are tallied; each that could not is named.
        status.logText = dash + GameCounts(facts) + Text("を集計");
        if (facts.lastReadTime)
            status.logText += " (" + ReadTimeText(*facts.lastReadTime, facts.now) + Text(" 読込)");
        for (std::size_t k = 0; k < facts.failedLogs.size(); ++k) {
            status.logWarning = true;
            status.logText += Text(k == 0 ? "。" : "、") + facts.failedLogs[k].name + ": " +
                              ReadFailureText(facts.failedLogs[k].read);
        }
        if (status.logWarning) status.logText += Text(" (ファイル > ログの管理 で変更)");
    } else if (facts.read.ok()) {
        status.logText = dash + GameCounts(facts) + Text("を集計");
        if (facts.lastReadTime)
            status.logText += " (" + ReadTimeText(*facts.lastReadTime, facts.now) + Text(" 読込)");
    } else {
        status.logWarning = true;
        status.logText = dash + ReadFailureText(facts.read) + Text("。");
        if (facts.lastReadTime) {
            status.logText += Text("表示は ") + ReadTimeText(*facts.lastReadTime, facts.now) +
                              Text(" に読み込んだ内容です");
        } else {
            status.logText += Text("ログはまだ読み込まれていません");
        }
        status.logText += Text(" (ファイル > 開く で選択)");
    }

    if (!facts.save.ok()) {
        status.notice = Text("設定を保存できません (") + Text(StepText(facts.save.failedStep)) + ": " +
                        std::strerror(facts.save.error) + Text(")。元の設定ファイルはそのままです");
    }
    if (facts.singleInstanceUnchecked) {
        if (!status.notice.empty()) status.notice += Text("。");
        status.notice += Text("二重起動を検出できません");
    }
    return status;
}

}  // namespace obrenta::present
