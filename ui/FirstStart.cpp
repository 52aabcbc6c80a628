#include "ui/FirstStart.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>

#include "scorelog/ScoreLog.h"
#include "ui/FilterPanel.h"
#include "ui/MainDialog.h"
#include "ui/QtText.h"

namespace obrenta::ui {
namespace {

QString AskForLog(QWidget* parent, const FirstStartPrompts::LogQuestion& question) {
    QStringList paragraphs;
    if (question.noSettingsFile)
        paragraphs << QStringLiteral("Obrenta の設定がまだありません (初めての起動です)。");
    if (!question.missingLog.isEmpty())
        paragraphs << QStringLiteral("スコアファイルが見つかりません:\n%1")
                          .arg(QDir::toNativeSeparators(question.missingLog));
    paragraphs
        << QStringLiteral(
               "Murvell クライアントが対局ごとに書き足すスコアファイル (ふつうは %1) を選んでください。")
               .arg(QLatin1String(kUsualLogName));
    QMessageBox box(QMessageBox::Information, QStringLiteral("Obrenta"),
                    paragraphs.join(QStringLiteral("\n\n")), QMessageBox::NoButton, parent);
    QPushButton* choose = box.addButton(QStringLiteral("スコアファイルを選ぶ..."), QMessageBox::AcceptRole);
    box.addButton(QStringLiteral("あとで"), QMessageBox::RejectRole);
    box.setDefaultButton(choose);
    box.exec();
    if (box.clickedButton() != choose) return {};

    // A log that went missing was somewhere the user chose; a new settings file names a log
    // beside itself, where the client never writes, so that search starts at home.
    QString folder;
    if (!question.noSettingsFile && !question.missingLog.isEmpty())
        folder = QFileInfo(question.missingLog).absolutePath();
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = QDir::homePath();
    return QFileDialog::getOpenFileName(parent, QStringLiteral("スコアファイルを選ぶ"),
                                        QDir(folder).filePath(QLatin1String(kUsualLogName)),
                                        QStringLiteral("スコアファイル(*.txt);;すべてのファイル(*)"));
}

int AskForId(QWidget* parent, const std::vector<tally::PlayerCount>& names) {
    QStringList items;
    for (const tally::PlayerCount& player : names)
        items << QStringLiteral("%1　(%2 試合)").arg(ToQString(player.name)).arg(player.games);
    QInputDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("ユーザIDの選択"));
    dialog.setLabelText(
        QStringLiteral("このスコアファイルには、ユーザIDに登録された名前の対局がありません。\n"
                       "あなたの名前を選んでください (対局の多い順)。あとで「追加」からも登録できます。"));
    // Every name in sight at once, not folded into a combo box.
    dialog.setOption(QInputDialog::UseListViewForComboBoxItems);
    dialog.setComboBoxItems(items);
    dialog.setTextValue(items.value(0));
    if (dialog.exec() != QDialog::Accepted) return -1;
    return static_cast<int>(items.indexOf(dialog.textValue()));
}

// Whether any of the settings' IDs, in use or not, sits in one of the counted games.
bool AnyIdPlays(const settings::AppSettings& settings, const std::vector<tally::PlayerCount>& players) {
    for (int i = 0; i < settings.UsableIdCount(); ++i) {
        const std::string& id = settings.userIds[i];
        if (!id.empty() && std::any_of(players.begin(), players.end(),
                                       [&id](const tally::PlayerCount& p) { return p.name == id; }))
            return true;
    }
    return false;
}

// The IDs without the empty ones and the placeholders a new settings file starts with, and name
// added in use; a full list gives up its last ID for it.
void AdoptUserId(settings::AppSettings& settings, const std::string& name) {
    settings::AppSettings defaults;
    defaults.SetDefaults();
    const auto& placeholders = defaults.userIds;
    settings::AppSettings adopted = settings;
    int count = 0;
    for (int i = 0; i < settings.UsableIdCount(); ++i) {
        const std::string& id = settings.userIds[i];
        if (id.empty() || std::find(placeholders.begin(), placeholders.end(), id) != placeholders.end())
            continue;
        adopted.userIds[count] = id;
        adopted.userIdEnabled[count] = settings.userIdEnabled[i];
        ++count;
    }
    count = std::min(count, settings::kMaxUserIds - 1);
    adopted.userIds[count] = name;
    adopted.userIdEnabled[count] = 1;
    adopted.userIdCount = count + 1;
    settings = adopted;
}

}  // namespace

FirstStartPrompts StandardFirstStartPrompts() {
    return {AskForLog, AskForId};
}

void RunFirstStart(MainDialog& window, bool noSettingsFile, const FirstStartPrompts& prompts) {
    const bool logMissing = window.lastReadOutcome().status == scorelog::ReadOutcome::Status::NotFound;
    if (prompts.askForLog && (noSettingsFile || logMissing)) {
        const QString chosen =
            prompts.askForLog(&window, {noSettingsFile, logMissing ? window.ScoreLogPath() : QString()});
        if (!chosen.isEmpty()) window.OpenScoreLog(chosen);
    }

    const auto& games = window.engine().games();
    if (!prompts.askForId || games.empty()) return;
    std::vector<tally::PlayerCount> players = tally::CountPlayers(games);
    if (AnyIdPlays(window.settings(), players)) return;
    if (players.size() > kOfferedNames) players.resize(kOfferedNames);
    const int picked = prompts.askForId(&window, players);
    if (picked < 0 || picked >= static_cast<int>(players.size())) return;
    AdoptUserId(window.settings(), players[static_cast<std::size_t>(picked)].name);
    window.filterPanel()->Load(window.settings());
    window.RunTally();
}

}  // namespace obrenta::ui
