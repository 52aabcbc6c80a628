#include "UiTestSupport.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <algorithm>

#include "present/TextCodec.h"

namespace obrenta::ui::test {

std::map<std::string, SuiteFactory>& Suites() {
    static std::map<std::string, SuiteFactory> suites;
    return suites;
}

QString SmallLogPath() {
    return QStringLiteral(OBRENTA_TEST_DATA "/ui/small-log.txt");
}

std::string SmallLogUser() {
    return *present::Utf8ToCp932("さくら");
}

QByteArray MakeScoreLog(int games) {
    static const char* const opponents[] = {"Guest042", "ぽん太", "mame_x", "kenji",
                                            "Ａｋｉ",   "zzz",    "みどり"};
    static const char* const kinds[] = {"ランキング", "上級", "超上級", "一般"};
    static const char* const wins[] = {"30符 満貫ロン 立直 ドラ2 赤1", "30符 一飜ツモ 門前清自摸和",
                                       "40符 二飜ロン 役牌 ドラ1", "ハネ満ロン 混一色 対々和 役牌"};
    const QDateTime first(QDate(2024, 1, 1), QTime(20, 0));
    QString text;
    for (int g = 0; g < games; ++g) {
        const QDateTime start = first.addDays(g).addSecs(60 * (g % 50));
        const QDateTime end = start.addSecs(60 * (25 + g % 20));
        const QString stamp = QStringLiteral("yyyy/MM/dd HH:mm");
        QStringList seats = {QStringLiteral("さくら")};
        for (int k = 0; k < 3; ++k) seats << QString::fromUtf8(opponents[(g + 2 * k) % 7]);
        // The user's seat and place move from game to game.
        std::rotate(seats.begin(), seats.begin() + g % 4, seats.end());
        text += QStringLiteral("===== 対局 %1 東南戦 開始 %2 =====\n")
                    .arg(QString::fromUtf8(kinds[g % 4]), start.toString(stamp));
        text += QStringLiteral("    持点25000");
        for (int s = 0; s < 4; ++s)
            text +=
                QStringLiteral(" [%1]%2 R%3").arg(s + 1).arg(seats[s]).arg(1500 + (g * 37 + s * 91) % 400);
        text += QLatin1Char('\n');
        for (int h = 0; h < 3; ++h) {
            const QString& winner = seats[(g + h) % 4];
            const QString& loser = seats[(g + h + 1) % 4];
            text += QStringLiteral("  東%1局 0本場(リーチ0) %2 +%3 %4 -%3\n")
                        .arg(h + 1)
                        .arg(winner)
                        .arg(2000 * (h + 1))
                        .arg(loser);
            text += QStringLiteral("    %1\n").arg(QString::fromUtf8(wins[(g + h) % 4]));
        }
        text += QStringLiteral("  ---- 試合結果 ----\n");
        const int points[] = {35, 8, -12, -31};
        for (int p = 0; p < 4; ++p)
            text += QStringLiteral("%1位 %2 %3%4\n")
                        .arg(p + 1)
                        .arg(seats[(p + g) % 4])
                        .arg(points[p] > 0 ? QStringLiteral("+") : QString())
                        .arg(points[p]);
        text += QStringLiteral("  終了 %1 -----\n").arg(end.toString(stamp));
    }
    const QByteArray utf8 = text.toUtf8();
    return QByteArray::fromStdString(
        *present::Utf8ToCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

void WriteSettingsFile(const QString& path, const QString& utf8Lines) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    const QByteArray utf8 = utf8Lines.toUtf8();
    const auto cp932 =
        present::Utf8ToCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    file.write(cp932->data(), static_cast<qint64>(cp932->size()));
}

void WhenModalOpens(std::function<void(QWidget* modal)> action) {
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [action, poll] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            action(modal);
            return;
        }
        QTimer::singleShot(10, *poll);
    };
    QTimer::singleShot(0, *poll);
}

}  // namespace obrenta::ui::test
