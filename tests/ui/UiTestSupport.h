#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <string>

class QWidget;

namespace obrenta::ui::test {

using SuiteFactory = std::function<std::unique_ptr<QObject>()>;
std::map<std::string, SuiteFactory>& Suites();

template <typename T>
struct RegisterSuite {
    explicit RegisterSuite(const char* name) {
        Suites()[name] = [] { return std::make_unique<T>(); };
    }
};

// The small score log under tests/data/ui, and its user.
QString SmallLogPath();
// "さくら" in code page 932.
std::string SmallLogUser();

// A score log (code page 932, CR LF) of games played one a day from 2024-01-01 20:00 by the
// small log's user and a rotating set of opponents, with a few hands each.
QByteArray MakeScoreLog(int games);
void WriteFile(const QString& path, const QByteArray& bytes);

// Writes a settings file: the given lines (UTF-8, converted to code page 932), LF line ends.
void WriteSettingsFile(const QString& path, const QString& utf8Lines);

// Runs action on the next modal dialog once it is up (the call that opens it blocks).
void WhenModalOpens(std::function<void(QWidget* modal)> action);

}  // namespace obrenta::ui::test
