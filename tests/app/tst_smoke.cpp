#include "testenvironment.h"

#include <QApplication>
#include <QProcess>
#include <QTest>

// Starts the real executable headless and lets it quit on its own once its window is up.
class tst_Smoke : public QObject {
    Q_OBJECT

private slots:
    void startsAndQuits() {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("QUILLET_QUIT_AFTER_SHOW"), QStringLiteral("1"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(QUILLET_EXECUTABLE), {});
        QVERIFY2(process.waitForStarted(10000), qPrintable(process.errorString()));
        QVERIFY2(process.waitForFinished(30000), "the editor did not quit by itself");
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 0);
    }
};

QUILLET_TEST_MAIN(tst_Smoke)
#include "tst_smoke.moc"
