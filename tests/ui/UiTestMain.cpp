#include <sys/stat.h>

#include <QApplication>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>

#include "UiTestSupport.h"
#include "ui/ObrentaApp.h"
#include "ui/UiStyle.h"

int main(int argc, char** argv) {
    // A helper process for the lock tests: take the lock, say so, then wait to be killed.
    if (argc == 3 && std::strcmp(argv[1], "--hold-lock") == 0) {
        auto lock = obrenta::ui::AcquireInstanceLock(QString::fromLocal8Bit(argv[2]));
        std::puts(lock.file ? "locked" : "busy");
        std::fflush(stdout);
        if (lock.file) std::this_thread::sleep_for(std::chrono::hours(1));
        return 0;
    }

    // A runtime directory of our own, so the instance lock never meets a running copy.
    QTemporaryDir runtime;
    ::chmod(runtime.path().toLocal8Bit().constData(), 0700);
    qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    QApplication::setFont(obrenta::ui::UiFont());

    auto& suites = obrenta::ui::test::Suites();
    int failures = 0;
    if (argc >= 2 && suites.count(argv[1]) != 0) {
        auto suite = suites[argv[1]]();
        argv[1] = argv[0];
        return QTest::qExec(suite.get(), argc - 1, argv + 1);
    }
    for (auto& [name, factory] : suites) {
        auto suite = factory();
        failures += QTest::qExec(suite.get(), argc, argv);
    }
    return failures;
}
