#pragma once
// main() for the window tests: an offscreen QApplication whose settings store lives
// in a temporary folder, so that no test reads or touches the user's own settings.
#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

#define ZARVIK_APP_TEST_MAIN(TestClass)                                                        \
    int main(int argc, char* argv[]) {                                                         \
        QTemporaryDir config;                                                                  \
        if (!config.isValid()) return 2;                                                       \
        qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());                               \
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))                                    \
            qputenv("QT_QPA_PLATFORM", "offscreen");                                           \
        QApplication app(argc, argv);                                                          \
        QApplication::setOrganizationName(QStringLiteral("Zarvik"));                           \
        QApplication::setApplicationName(QStringLiteral("Zarvik"));                            \
        if (!QSettings(QStringLiteral("Zarvik"), QStringLiteral("Zarvik"))                     \
                 .fileName()                                                                   \
                 .startsWith(config.path())) {                                                 \
            std::fputs("the settings store is not the test's own; refusing to run\n", stderr); \
            return 2;                                                                          \
        }                                                                                      \
        TestClass test;                                                                        \
        return QTest::qExec(&test, argc, argv);                                                \
    }
