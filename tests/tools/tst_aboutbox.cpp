#include "recordingshell.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "tools/aboutbox.h"
#include "tools/aboutboxdlg.h"
#include "tools/moviescroll.h"
#include "tools/programversion.h"

#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QToolButton>
#include <QtTest>

// The about box: what Execute puts on the form, its buttons and its two links.
class tst_AboutBox : public QObject {
    Q_OBJECT

private:
    ScriptedPrompts m_prompts;
    RecordingShell m_shell;

    SystemInfo fixedInfo() const {
        SystemInfo info;
        info.osName = QStringLiteral("Test OS");
        info.major = 6;
        info.minor = 1;
        info.totalKiB = 4096;
        info.availableKiB = 1024;
        info.volumes = {{QStringLiteral("/"), 10 * 1024 * 1024}};
        return info;
    }

private slots:
    void init() {
        m_prompts.clear();
        m_shell.urls.clear();
    }

    void cleanup() { QCOMPARE(m_prompts.unexpectedCount(), 0); }

    void versionPartsAreNumbersOrZero_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("build");
        QTest::addColumn<QList<int>>("parts");
        QTest::addRow("full") << QStringLiteral("1.2.3") << QStringLiteral("45")
                              << QList<int>{1, 2, 3, 45};
        QTest::addRow("no build number")
            << QStringLiteral("0.1.0") << QString() << QList<int>{0, 1, 0, 0};
        QTest::addRow("nothing") << QString() << QString() << QList<int>{0, 0, 0, 0};
        QTest::addRow("garbage") << QStringLiteral("x.2") << QStringLiteral("-3")
                                 << QList<int>{0, 2, 0, 0};
    }

    void versionPartsAreNumbersOrZero() {
        QFETCH(QString, version);
        QFETCH(QString, build);
        QFETCH(QList<int>, parts);
        const ProgramVersion v = ProgramVersion::parse(version, build);
        QCOMPARE((QList<int>{v.major, v.minor, v.release, v.build}), parts);
    }

    void executeShowsAFilledFormWithTheCredits() {
        TAboutBoxDlg component(m_prompts, m_shell);
        component.UseMovie = true;
        component.ProductName = QStringLiteral("Quillet");
        component.Copyright = QStringLiteral("2026 Fernlake");
        component.MovieText = {QStringLiteral("one"), QStringLiteral("Thanks")};
        component.SetMovieSpeed(30);
        component.BackCol = QColor(0, 0, 128);
        component.aShadow = false;
        component.GatherSystemInfo = [this] { return fixedInfo(); };
        bool seen = false;
        m_prompts.answerDialog(true, [&](QDialog &dialog) {
            seen = true;
            auto &form = static_cast<TAboutBox &>(dialog);
            const ProgramVersion version = ProgramVersion::current();
            QCOMPARE(form.windowTitle(),
                     QStringLiteral("About ") +
                         QFileInfo(QCoreApplication::applicationFilePath()).fileName());
            QCOMPARE(form.size(), QSize(292, 378));
            QCOMPARE(form.ProductName->text(), QStringLiteral("Quillet"));
            QCOMPARE(form.VersNo->text(),
                     QStringLiteral("%1.%2").arg(version.major).arg(version.minor));
            QCOMPARE(form.Release->text(), QString::number(version.release));
            QCOMPARE(form.Build->text(), QString::number(version.build));
            QCOMPARE(form.Label8->text(), QStringLiteral("Version"));
            QCOMPARE(form.Copyright->text(), QStringLiteral("2026 Fernlake"));
            QCOMPARE(form.Label5->text(), QStringLiteral("\u00a9"));
            QCOMPARE(form.SpeedButton2->toolTip(), QStringLiteral("show hardisk preferences"));
            QCOMPARE(form.SpeedButton1->toolTip(), QStringLiteral("Close About Box"));
            QVERIFY(form.MovieScroll);
            QCOMPARE(form.MovieScroll->geometry(), QRect(5, 159, 282, 131));
            QCOMPARE(form.MovieScroll->ScrollText(), component.MovieText);
            QVERIFY(form.MovieScroll->Loop());
            QCOMPARE(form.MovieScroll->TimerInterval(), 30);
            QVERIFY(!form.MovieScroll->Shadow());
            QCOMPARE(form.MovieScroll->BackColor(), QColor(0, 0, 128));
            QVERIFY(form.MiddlePanel->isHidden());
            QVERIFY(form.DragNote->isHidden());

            m_prompts.answerButton(QMessageBox::Ok);
            form.SpeedButton2Click();
            QCOMPARE(m_prompts.texts().last(),
                     QStringLiteral("You are probably Running Test OS\n\rVersion Info: 6.1   "
                                    "Build : 0\n\rFree Memory: Tot: 4096 KB     Avl: 1024 KB\n\r"
                                    "Free Hard disk Space: \n\r/: 10 MB  \n\r"));
        });
        component.Execute(nullptr);
        QVERIFY(seen);
    }

    void withoutMovieTheMiddlePanelStays() {
        TAboutBoxDlg component(m_prompts, m_shell);
        component.GatherSystemInfo = [this] { return fixedInfo(); };
        m_prompts.answerDialog(true, [](QDialog &dialog) {
            auto &form = static_cast<TAboutBox &>(dialog);
            QVERIFY(!form.MovieScroll);
            QVERIFY(!form.MiddlePanel->isHidden());
        });
        component.Execute(nullptr);
    }

    void linksGoToTheDesktop() {
        TAboutBox form(m_prompts, m_shell);
        form.Label10Click();
        QCOMPARE(m_shell.urls.size(), 1);
        QCOMPARE(m_shell.urls[0], QUrl(TAboutBox::MakerSite));

        form.Label11Click();
        QCOMPARE(m_shell.urls.size(), 2);
        QCOMPARE(m_shell.urls[1].scheme(), QStringLiteral("mailto"));
        QCOMPARE(m_shell.urls[1].path(), TAboutBox::AuthorAddress);
        QCOMPARE(m_shell.urls[1].query(QUrl::FullyDecoded),
                 QStringLiteral("subject=") +
                     QFileInfo(QCoreApplication::applicationFilePath()).fileName());
        QVERIFY(m_prompts.records().isEmpty());

        m_shell.openUrlResult = false;
        m_prompts.answerButton(QMessageBox::Ok);
        form.Label11Click();
        QCOMPARE(m_prompts.texts(), QStringList{QStringLiteral("An Error occurred with Mail!")});
        QCOMPARE(m_prompts.records()[0].icon, QMessageBox::Critical);
        m_shell.openUrlResult = true;
    }
};

QUILLET_TEST_MAIN(tst_AboutBox)
#include "tst_aboutbox.moc"
