#include "convert/converterdiscovery.h"
#include "machinestorefixture.h"
#include "testenvironment.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

using Convert::Direction;

// Finding the registered converters: the filter and the parallel list of names.
class tst_ConverterDiscovery : public QObject {
    Q_OBJECT

private slots:
    void builtInEntriesAndRegistrations_data();
    void builtInEntriesAndRegistrations();
    void filterEntryMatchesNameEntry();
    void unreadableEntriesAreLeftOutOfBoth();
    void wordPadFolder_data();
    void wordPadFolder();
    void namesNeedAList();

private:
    // The word processor's folder holding the given converter files.
    QString wordPadFolder(const QStringList &files) {
        m_wordPad.reset(new QTemporaryDir);
        for (const QString &file : files) {
            QFile f(m_wordPad->filePath(file));
            f.open(QIODevice::WriteOnly);
        }
        return m_wordPad->path() + QLatin1Char('/');
    }
    std::unique_ptr<QTemporaryDir> m_wordPad;
};

namespace {
struct Registration {
    QString subKey, name, extensions;
};
} // namespace
Q_DECLARE_METATYPE(Registration)

void tst_ConverterDiscovery::builtInEntriesAndRegistrations_data() {
    QTest::addColumn<QStringList>("wordPadFiles");
    QTest::addColumn<QList<Registration>>("registered");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("names");

    const QStringList both{QStringLiteral("write32.wpc"), QStringLiteral("mswd6_32.wpc")};
    QTest::addRow("nothing registered")
        << QStringList() << QList<Registration>() << QStringLiteral("Rich Text Format|*.rtf")
        << QStringList{QStringLiteral("Rich Text Format")};
    QTest::addRow("both word-processor files")
        << both << QList<Registration>()
        << QStringLiteral("Word 6.0/95|*.doc|Windows Write|*.wri|Rich Text Format|*.rtf")
        << QStringList{QStringLiteral("Word 6.0/95"), QStringLiteral("Windows Write"),
                       QStringLiteral("Rich Text Format")};
    QTest::addRow("registered Windows Write suppresses the built-in one")
        << both << QList<Registration>{{"a", "Windows Write", "wri"}}
        << QStringLiteral("Word 6.0/95|*.doc|Rich Text Format|*.rtf|Windows Write|*.wri")
        << QStringList{QStringLiteral("Word 6.0/95"), QStringLiteral("Rich Text Format"),
                       QStringLiteral("Windows Write")};
    QTest::addRow("the test is case-sensitive")
        << QStringList{QStringLiteral("write32.wpc")}
        << QList<Registration>{{"a", "windows write", "wri"}}
        << QStringLiteral("Windows Write|*.wri|Rich Text Format|*.rtf|windows write|*.wri")
        << QStringList{QStringLiteral("Windows Write"), QStringLiteral("Rich Text Format"),
                       QStringLiteral("windows write")};
    QTest::addRow("registered Word 6.0/95 renames the built-in one")
        << QStringList{QStringLiteral("mswd6_32.wpc")}
        << QList<Registration>{{"w", "MS Word 6.0/95 Import", "doc"}}
        << QStringLiteral("Word 95 via WordPad|*.doc|Rich Text Format|*.rtf|MS Word 6.0/95 "
                          "Import|*.doc")
        << QStringList{QStringLiteral("Word 95 via WordPad"), QStringLiteral("Rich Text Format"),
                       QStringLiteral("MS Word 6.0/95 Import")};
    QTest::addRow("three extensions, in order")
        << QStringList() << QList<Registration>{{"x", "Word", "doc dot rtf"}}
        << QStringLiteral("Rich Text Format|*.rtf|Word|*.doc;*.dot;*.rtf")
        << QStringList{QStringLiteral("Rich Text Format"), QStringLiteral("Word")};
    QTest::addRow("two blanks leave an empty mask")
        << QStringList() << QList<Registration>{{"x", "Odd", "doc  dot"}}
        << QStringLiteral("Rich Text Format|*.rtf|Odd|*.doc;*.;*.dot")
        << QStringList{QStringLiteral("Rich Text Format"), QStringLiteral("Odd")};
    QTest::addRow("no extensions")
        << QStringList() << QList<Registration>{{"x", "Bare", ""}}
        << QStringLiteral("Rich Text Format|*.rtf|Bare|*.")
        << QStringList{QStringLiteral("Rich Text Format"), QStringLiteral("Bare")};
    QTest::addRow("enumeration order of the subkeys")
        << QStringList() << QList<Registration>{{"b", "Second", "b"}, {"a", "First", "a"}}
        << QStringLiteral("Rich Text Format|*.rtf|First|*.a|Second|*.b")
        << QStringList{QStringLiteral("Rich Text Format"), QStringLiteral("First"),
                       QStringLiteral("Second")};
}

void tst_ConverterDiscovery::builtInEntriesAndRegistrations() {
    QFETCH(QStringList, wordPadFiles);
    QFETCH(QList<Registration>, registered);
    QFETCH(QString, filter);
    QFETCH(QStringList, names);

    MachineStoreFixture machine;
    if (!wordPadFiles.isEmpty())
        machine.setWordPadProgram(wordPadFolder(wordPadFiles) + QStringLiteral("wordpad.exe"));
    for (const Registration &r : registered)
        machine.add(Direction::Import, r.subKey, r.name, r.extensions);
    // An export registration never shows among the imports.
    machine.add(Direction::Export, QStringLiteral("zz"), QStringLiteral("Elsewhere"),
                QStringLiteral("els"));

    const SettingsStore store = machine.read();
    QCOMPARE(Convert::GetConverterFilter(store, Direction::Import), filter);
    QStringList list;
    QVERIFY(Convert::GetConverterNames(store, Direction::Import, &list));
    QCOMPARE(list, names);
}

void tst_ConverterDiscovery::filterEntryMatchesNameEntry() {
    MachineStoreFixture machine;
    machine.setWordPadProgram(
        wordPadFolder({QStringLiteral("write32.wpc"), QStringLiteral("mswd6_32.wpc")}) +
        QStringLiteral("wordpad.exe"));
    machine.add(Direction::Export, QStringLiteral("1"), QStringLiteral("Word 6.0/95 Export"),
                QStringLiteral("doc"));
    machine.add(Direction::Export, QStringLiteral("2"), QStringLiteral("Open Text"),
                QStringLiteral("odt ott"));
    machine.add(Direction::Export, QStringLiteral("3"), QStringLiteral("Windows Write"),
                QStringLiteral("wri"));
    const SettingsStore store = machine.read();
    const QStringList parts = Convert::GetConverterFilter(store, Direction::Export).split('|');
    QStringList names;
    QVERIFY(Convert::GetConverterNames(store, Direction::Export, &names));
    QCOMPARE(parts.size(), 2 * names.size());
    for (int k = 1; k <= names.size(); ++k)
        QCOMPARE(parts[2 * (k - 1)], names[k - 1]);
    QCOMPARE(names.first(), QStringLiteral("Word 95 via WordPad"));
}

void tst_ConverterDiscovery::unreadableEntriesAreLeftOutOfBoth() {
    MachineStoreFixture machine;
    machine.add(Direction::Import, QStringLiteral("a"), QStringLiteral("Good"),
                QStringLiteral("g"));
    machine.add(Direction::Import, QStringLiteral("b"), QStringLiteral("Bad"), QStringLiteral("b"));
    machine.writeInteger(Convert::directionKey(Direction::Import) + QStringLiteral("\\b"),
                         QStringLiteral("Extensions"), 7);
    const SettingsStore store = machine.read();
    QCOMPARE(Convert::GetConverterFilter(store, Direction::Import),
             QStringLiteral("Rich Text Format|*.rtf|Good|*.g"));
    QStringList names;
    QVERIFY(Convert::GetConverterNames(store, Direction::Import, &names));
    QCOMPARE(names, (QStringList{QStringLiteral("Rich Text Format"), QStringLiteral("Good")}));
}

void tst_ConverterDiscovery::wordPadFolder_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("folder");
    QTest::addRow("backslashes") << QStringLiteral("C:\\Program Files\\wordpad.exe")
                                 << QStringLiteral("C:\\Program Files\\");
    QTest::addRow("drive only") << QStringLiteral("C:wordpad.exe") << QStringLiteral("C:");
    QTest::addRow("slashes") << QStringLiteral("/opt/wp/wordpad") << QStringLiteral("/opt/wp/");
    QTest::addRow("environment not expanded")
        << QStringLiteral("%ProgramFiles%\\wordpad.exe") << QStringLiteral("%ProgramFiles%\\");
    QTest::addRow("bare name") << QStringLiteral("wordpad.exe") << QString();
}

void tst_ConverterDiscovery::wordPadFolder() {
    QFETCH(QString, program);
    QFETCH(QString, folder);
    MachineStoreFixture machine;
    QCOMPARE(Convert::GetWordPadDir(machine.read()), QString());
    machine.setWordPadProgram(program);
    QCOMPARE(Convert::GetWordPadDir(machine.read()), folder);
}

void tst_ConverterDiscovery::namesNeedAList() {
    MachineStoreFixture machine;
    QVERIFY(!Convert::GetConverterNames(machine.read(), Direction::Import, nullptr));
    QStringList list{QStringLiteral("kept")};
    QVERIFY(Convert::GetConverterNames(machine.read(), Direction::Import, &list));
    QCOMPARE(list, (QStringList{QStringLiteral("kept"), QStringLiteral("Rich Text Format")}));
}

QUILLET_TEST_MAIN(tst_ConverterDiscovery)
#include "tst_converterdiscovery.moc"
