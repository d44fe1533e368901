#include "platform/errorreport.h"
#include "platform/storeerror.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QApplication>
#include <QTest>
#include <stdexcept>

// The general error report around command handlers.
class tst_ErrorReport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QApplication::setApplicationDisplayName(QStringLiteral("Quillet Vado")); }

    void showsTheErrorAndGoesOn_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("text");
        QTest::addRow("user error") << 0 << "Can't open file";
        QTest::addRow("store error") << 1 << "Invalid data type for 'Top'";
        QTest::addRow("std exception") << 2 << "vector too long";
        QTest::addRow("anything else") << 3 << "An unknown error occurred";
    }

    void showsTheErrorAndGoesOn() {
        QFETCH(int, kind);
        QFETCH(QString, text);
        ScriptedPrompts prompts;
        bool after = false;
        const bool ok = ErrorReport::run(prompts, nullptr, [&] {
            switch (kind) {
            case 0:
                throw UserError(text);
            case 1:
                throw StoreError(text);
            case 2:
                throw std::length_error("vector too long");
            default:
                throw 42;
            }
            after = true;
        });
        QVERIFY(!ok);
        QVERIFY(!after);
        QCOMPARE(prompts.records().size(), 1);
        const ScriptedPrompts::Record &r = prompts.records().first();
        QCOMPARE(r.text, text);
        QCOMPARE(r.caption, QStringLiteral("Quillet Vado"));
        QCOMPARE(r.icon, QMessageBox::Critical);
        QCOMPARE(r.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void guardedSlotRunsInsideTheReport() {
        ScriptedPrompts prompts;
        int runs = 0;
        auto slot = ErrorReport::guard(prompts, nullptr, [&] {
            if (++runs == 1)
                throw UserError(QStringLiteral("first fails"));
        });
        slot();
        slot();
        QCOMPARE(runs, 2);
        QCOMPARE(prompts.texts(), QStringList{QStringLiteral("first fails")});
    }
};

QUILLET_TEST_MAIN(tst_ErrorReport)
#include "tst_errorreport.moc"
