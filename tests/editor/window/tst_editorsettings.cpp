#include "editor/file/recentfiles.h"
#include "editor/window/editorsettings.h"
#include "platform/settingskey.h"
#include "platform/settingsstore.h"
#include "platform/storeerror.h"
#include "testenvironment.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

Q_DECLARE_METATYPE(NamedMutex::Claim)

using namespace EditorSettings;

namespace {

NamedMutex::Claim firstEditor() {
    return NamedMutex::Claim::Created;
}

EditorSettingsValues sampleValues() {
    EditorSettingsValues values;
    values.windowState = Normal;
    values.bounds = QRect(40, 30, 900, 600);
    values.recentSlots = {QStringLiteral(" /d/newest.rtf"), QStringLiteral(" /d/third.txt"),
                          QStringLiteral(" /d/second ä.txt"), QStringLiteral(" /d/oldest.rtf")};
    values.toolBarPic = QStringLiteral("/d/bar.bmp");
    values.noSplash = true;
    values.noTV = true;
    values.bulletsStyle = QStringLiteral("NsRoman");
    values.uScoreType = QStringLiteral("UsDotted");
    values.fontStyle = QStringLiteral("Arial");
    values.fontSize = QStringLiteral("10");
    values.listBoxStatus = TermBox;
    return values;
}

} // namespace

// The editor's values in the settings store: defaults, the order of reading with its silent stop,
// and the order of writing.
class tst_EditorSettings : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = std::make_unique<SettingsStore>(m_dir->filePath(QStringLiteral("user.reg")),
                                                  SettingsStore::Access::ReadWrite);
    }

    void firstRunReadsNothing() {
        int claims = 0;
        const EditorSettingsRead read = ReadEditorSettings(*m_store, [&claims] {
            ++claims;
            return NamedMutex::Claim::Created;
        });
        QVERIFY(!read.read);
        QCOMPARE(claims, 0); // no key: the instance name is not even looked at
        QVERIFY(!read.bounds);
        QVERIFY(read.recentFiles.isEmpty());
        QVERIFY(!read.fontStyleReached);
        QVERIFY(!read.bulletsStyle);
        QVERIFY(!read.listBoxStatus);
    }

    void roundTripOfEveryValue() {
        WriteEditorSettings(*m_store, sampleValues());
        SettingsStore other(m_store->path(), SettingsStore::Access::ReadOnly);
        const EditorSettingsRead read = ReadEditorSettings(other, firstEditor);
        QVERIFY(read.read);
        QCOMPARE(read.bounds, std::optional<QRect>(QRect(40, 30, 900, 600)));
        QCOMPARE(read.windowState, std::optional<int>(Normal));
        QCOMPARE(read.recentFiles, (QStringList{"/d/oldest.rtf", "/d/second ä.txt", "/d/third.txt",
                                                "/d/newest.rtf"}));
        QCOMPARE(read.toolBarPic, std::optional<QString>("/d/bar.bmp"));
        QVERIFY(read.noSplash);
        QVERIFY(read.noTV);
        QCOMPARE(read.bulletsStyle, std::optional<QString>("NsRoman"));
        QCOMPARE(read.uScoreType, std::optional<QString>("UsDotted"));
        QVERIFY(read.fontStyleReached);
        QCOMPARE(read.fontStyle, std::optional<QString>("Arial"));
        QCOMPARE(read.fontSize, std::optional<QString>("10"));
        QCOMPARE(read.listBoxStatus, std::optional<int>(TermBox));

        // Adding the values in the order read puts the newest on top, as before the restart.
        TRecentFiles recent;
        for (const QString &path : read.recentFiles)
            recent.AddRecentFile(path);
        const QStringList newestFirst{"/d/newest.rtf", "/d/third.txt", "/d/second ä.txt",
                                      "/d/oldest.rtf"};
        for (int slot = 0; slot < TRecentFiles::Count; ++slot)
            QCOMPARE(recent.path(slot), newestFirst.at(slot));
    }

    void writtenNamesAndOrder() {
        WriteEditorSettings(*m_store, sampleValues());
        QCOMPARE(
            m_store->valueNames(QuilletSettingsKey),
            (QStringList{"WindowState", "Top", "Left", "Width", "Height", "LastFile1", "LastFile2",
                         "LastFile3", "LastFile4", "ToolBarPic", "NOSplash", "NoTV", "Bulletsstyle",
                         "UScoreType", "FontStyle", "FontSize", "ListBoxStatus"}));
        QCOMPARE(m_store->readString(QuilletSettingsKey, QStringLiteral("LastFile1")),
                 QStringLiteral(" /d/oldest.rtf"));
        QCOMPARE(m_store->readString(QuilletSettingsKey, QStringLiteral("LastFile4")),
                 QStringLiteral(" /d/newest.rtf"));
        QCOMPARE(m_store->valueType(QuilletSettingsKey, QStringLiteral("NoSplash")),
                 std::optional<RegistryValue::Type>(RegistryValue::Type::Integer));
        QCOMPARE(m_store->readInteger(QuilletSettingsKey, QStringLiteral("nosplash")), 1);
    }

    void maximizedKeepsTheBoundsStoredBefore() {
        WriteEditorSettings(*m_store, sampleValues());
        EditorSettingsValues maximized = sampleValues();
        maximized.windowState = Maximized;
        maximized.bounds = QRect(0, 0, 1920, 1080);
        WriteEditorSettings(*m_store, maximized);
        const EditorSettingsRead read = ReadEditorSettings(*m_store, firstEditor);
        QCOMPARE(read.windowState, std::optional<int>(Maximized));
        QCOMPARE(read.bounds, std::optional<QRect>(QRect(40, 30, 900, 600)));
    }

    void emptyRecentSlotsNeverComeBack() {
        EditorSettingsValues values = sampleValues();
        TRecentFiles recent;
        recent.AddRecentFile(QStringLiteral("/d/only.txt"));
        values.recentSlots.clear();
        for (int slot = 0; slot < TRecentFiles::Count; ++slot)
            values.recentSlots << recent.storedValue(slot);
        WriteEditorSettings(*m_store, values);
        QVERIFY(m_store->valueExists(QuilletSettingsKey, QStringLiteral("LastFile1")));
        const EditorSettingsRead read = ReadEditorSettings(*m_store, firstEditor);
        QCOMPARE(read.recentFiles, QStringList{"/d/only.txt"});
    }

    void anotherEditorRunningReadsNothing_data() {
        QTest::addColumn<NamedMutex::Claim>("claim");
        QTest::addRow("name held") << NamedMutex::Claim::AlreadyExisted;
        QTest::addRow("claim failed") << NamedMutex::Claim::Failed;
    }
    void anotherEditorRunningReadsNothing() {
        QFETCH(NamedMutex::Claim, claim);
        WriteEditorSettings(*m_store, sampleValues());
        const EditorSettingsRead read = ReadEditorSettings(*m_store, [claim] { return claim; });
        QVERIFY(!read.read);
        QVERIFY(!read.bounds);
        QVERIFY(read.recentFiles.isEmpty());
        QVERIFY(!read.noSplash);
    }

    // Each row spoils one value; the reading keeps what came before it and nothing after.
    void silentStop_data() {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("kind");     // 0 delete, 1 write a string, 2 write an integer
        QTest::addColumn<int>("lastRead"); // 3 bounds, 5 recent files, 7 splash, ..., 13 all
        QTest::addRow("Top missing") << "Top" << 0 << 2;
        QTest::addRow("Height a string") << "Height" << 1 << 2;
        QTest::addRow("WindowState a string is skipped") << "WindowState" << 1 << 13;
        QTest::addRow("WindowState missing is skipped") << "WindowState" << 0 << 13;
        QTest::addRow("LastFile3 an integer") << "LastFile3" << 2 << 4;
        QTest::addRow("NoSplash a string") << "NoSplash" << 1 << 6;
        QTest::addRow("NoTV a string") << "NoTV" << 1 << 7;
        QTest::addRow("FontStyle an integer") << "FontStyle" << 2 << 10;
        QTest::addRow("ListBoxStatus a string") << "ListBoxStatus" << 1 << 12;
    }
    void silentStop() {
        QFETCH(QString, value);
        QFETCH(int, kind);
        QFETCH(int, lastRead);
        WriteEditorSettings(*m_store, sampleValues());
        if (kind == 0)
            m_store->deleteValue(QuilletSettingsKey, value);
        else if (kind == 1)
            m_store->writeString(QuilletSettingsKey, value, QStringLiteral("x"));
        else
            m_store->writeInteger(QuilletSettingsKey, value, 5);

        const EditorSettingsRead read = ReadEditorSettings(*m_store, firstEditor);
        QVERIFY(read.read);
        QCOMPARE(read.bounds.has_value(), lastRead >= 3);
        QCOMPARE(read.windowState.has_value(), lastRead >= 4 && value != "WindowState");
        QCOMPARE(read.recentFiles.size(), lastRead >= 5 ? 4 : lastRead == 4 ? 2 : 0);
        QCOMPARE(read.toolBarPic.has_value(), lastRead >= 6);
        QCOMPARE(read.noSplash, lastRead >= 7);
        QCOMPARE(read.noTV, lastRead >= 8);
        QCOMPARE(read.bulletsStyle.has_value(), lastRead >= 9);
        QCOMPARE(read.uScoreType.has_value(), lastRead >= 10);
        QCOMPARE(read.fontStyleReached, lastRead >= 11);
        QCOMPARE(read.fontSize.has_value(), lastRead >= 12);
        QCOMPARE(read.listBoxStatus.has_value(), lastRead >= 13);
    }

    void defaultsOfAbsentValues() {
        m_store->writeInteger(QuilletSettingsKey, QStringLiteral("Top"), 10);
        m_store->writeInteger(QuilletSettingsKey, QStringLiteral("Left"), 20);
        m_store->writeInteger(QuilletSettingsKey, QStringLiteral("Width"), 100);
        m_store->writeInteger(QuilletSettingsKey, QStringLiteral("Height"), 50);
        const EditorSettingsRead read = ReadEditorSettings(*m_store, firstEditor);
        // Sizes below the minimum are raised to it.
        QCOMPARE(read.bounds, std::optional<QRect>(QRect(20, 10, 500, 300)));
        QVERIFY(!read.windowState);
        QVERIFY(read.recentFiles.isEmpty());
        QVERIFY(!read.toolBarPic);
        QVERIFY(!read.noSplash);
        QVERIFY(!read.noTV);
        QCOMPARE(read.bulletsStyle, std::optional<QString>("NsBullet"));
        QCOMPARE(read.uScoreType, std::optional<QString>("UsSolid"));
        QVERIFY(read.fontStyleReached);
        QVERIFY(!read.fontStyle); // the editing area takes "Courier"
        QVERIFY(!read.fontSize);
        QVERIFY(!read.listBoxStatus);
    }

    void storedValuesAsTheWindowTakesThem() {
        EditorSettingsValues values = sampleValues();
        values.fontStyle.clear();
        values.listBoxStatus = 7;
        WriteEditorSettings(*m_store, values);
        const EditorSettingsRead read = ReadEditorSettings(*m_store, firstEditor);
        QCOMPARE(read.fontStyle, std::optional<QString>("Times New Roman"));
        QCOMPARE(read.listBoxStatus, std::optional<int>(NoList));
    }

    void fontSizes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("points");
        QTest::addRow("empty") << "" << 12;
        QTest::addRow("not a number") << "abc" << 12;
        QTest::addRow("below four") << "3" << 12;
        QTest::addRow("four") << "4" << 4;
        QTest::addRow("ten") << "10" << 10;
        QTest::addRow("fraction") << "10.5" << 12;
        QTest::addRow("negative") << "-8" << 12;
        QTest::addRow("huge") << "99999" << 12;
        QTest::addRow("largest") << "1638" << 1638;
    }
    void fontSizes() {
        QFETCH(QString, text);
        QFETCH(int, points);
        QCOMPARE(FontSizePoints(text), points);
    }

    void writeFailureIsAStoreError() {
        // The store's folder is a plain file, so nothing can be written there.
        const QString blocker = m_dir->filePath(QStringLiteral("blocker"));
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        SettingsStore broken(blocker + QStringLiteral("/user.reg"),
                             SettingsStore::Access::ReadWrite);
        QVERIFY_THROWS_EXCEPTION(StoreError, WriteEditorSettings(broken, sampleValues()));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<SettingsStore> m_store;
};

QUILLET_TEST_MAIN(tst_EditorSettings)
#include "tst_editorsettings.moc"
