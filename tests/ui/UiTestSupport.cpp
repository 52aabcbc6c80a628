#include "UiTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include "present/TextCodec.h"

namespace obrenta::ui::test {

std::map<std::string, SuiteFactory>& Suites()
{
    static std::map<std::string, SuiteFactory> suites;
    return suites;
}

QString SmallLogPath()
{
    return QStringLiteral(OBRENTA_TEST_DATA "/ui/small-log.txt");
}

std::string SmallLogUser()
{
    return *present::Utf8ToCp932("さくら");
}

void WriteSettingsFile(const QString& path, const QString& utf8Lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) qFatal("cannot write %s", qPrintable(path));
    const QByteArray utf8 = utf8Lines.toUtf8();
    const auto cp932 = present::Utf8ToCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    file.write(cp932->data(), static_cast<qint64>(cp932->size()));
}

void WhenModalOpens(std::function<void(QWidget* modal)> action)
{
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
