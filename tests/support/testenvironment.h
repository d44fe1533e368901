#pragma once

#include <QString>
#include <QTest>

// Points every per-user and machine-wide location the program uses at a fresh temporary folder,
// so tests never read or write the real home folder. Call before the application object exists.
namespace TestEnvironment {

// Sets XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_RUNTIME_DIR and QUILLET_MACHINE_STORE below a
// temporary folder that lives until the process ends; answers that folder.
QString isolate();

// The temporary folder isolate() made (empty before).
QString root();

} // namespace TestEnvironment

// Skips the running test (in initTestCase: the whole test) when the build found no corpus of
// files written by other programs.
#define QUILLET_REQUIRE_CORPUS()                                                                   \
    do {                                                                                           \
        if (QStringLiteral(QUILLET_CORPUS).isEmpty())                                              \
            QSKIP("the corpus of files written by other programs was not found when the build "    \
                  "was configured (set QUILLET_CORPUS_DIR)");                                      \
    } while (false)

// QTEST_MAIN with the environment isolated first.
#define QUILLET_TEST_MAIN(TestObject)                                                              \
    int main(int argc, char *argv[]) {                                                             \
        TestEnvironment::isolate();                                                                \
        QApplication app(argc, argv);                                                              \
        app.setAttribute(Qt::AA_Use96Dpi, true);                                                   \
        TestObject tc;                                                                             \
        QTEST_SET_MAIN_SOURCE_PATH                                                                 \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
