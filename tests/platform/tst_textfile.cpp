#include "platform/textfile.h"
#include "platform/usererror.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(TextFormat)

namespace {

TextFormat fmt(TextEncoding encoding, LineBreak lineBreak, bool bom = false) {
    TextFormat f;
    f.encoding = encoding;
    f.lineBreak = lineBreak;
    f.byteOrderMark = bom;
    return f;
}

TextFormat dataFormat() {
    TextFormat f;
    f.dataFile = true;
    return f;
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.errorString()));
    QCOMPARE(file.write(bytes), bytes.size());
}

QByteArray readBytes(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

// Root reads files whatever their permissions say; such a test can only be skipped there.
bool permissionsBlockReading(const QString &path) {
    return ::access(QFile::encodeName(path).constData(), R_OK) != 0;
}

} // namespace

// The text-file helpers shared by the editor and the text viewer.
class tst_TextFile : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir.reset(new QTemporaryDir);
        QVERIFY(m_dir->isValid());
    }

    void loadDecidesFormatAndRoundTrips_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addColumn<TextFormat>("format");
        QTest::addColumn<QByteArray>("written"); // empty: the same bytes
        const auto u8 = TextEncoding::Utf8;
        const auto cp = TextEncoding::Windows1252;

        QTest::addRow("empty") << QByteArray() << QString() << fmt(u8, LineBreak::LF)
                               << QByteArray();
        QTest::addRow("no line break") << QByteArray("one line") << QStringLiteral("one line")
                                       << fmt(u8, LineBreak::LF) << QByteArray();
        QTest::addRow("LF") << QByteArray("a\nb\n") << QStringLiteral("a\nb\n")
                            << fmt(u8, LineBreak::LF) << QByteArray();
        QTest::addRow("CRLF") << QByteArray("a\r\nb\r\n") << QStringLiteral("a\nb\n")
                              << fmt(u8, LineBreak::CRLF) << QByteArray();
        QTest::addRow("CR") << QByteArray("a\rb\r") << QStringLiteral("a\nb\n")
                            << fmt(u8, LineBreak::CR) << QByteArray();
        QTest::addRow("UTF-8") << QByteArray("caf\xC3\xA9 \xE2\x82\xAC\n")
                               << QStringLiteral("caf\u00E9 \u20AC\n") << fmt(u8, LineBreak::LF)
                               << QByteArray();
        QTest::addRow("UTF-8 with BOM")
            << QByteArray("\xEF\xBB\xBFhi\r\n") << QStringLiteral("hi\n")
            << fmt(u8, LineBreak::CRLF, true) << QByteArray();
        QTest::addRow("UTF-8 emoji")
            << QByteArray("\xF0\x9F\x98\x80") << QString::fromUtf8("\xF0\x9F\x98\x80")
            << fmt(u8, LineBreak::LF) << QByteArray();
        QTest::addRow("Windows-1252") << QByteArray("caf\xE9\r\n\x80 \x93q\x94\r\n")
                                      << QStringLiteral("caf\u00E9\n\u20AC \u201Cq\u201D\n")
                                      << fmt(cp, LineBreak::CRLF) << QByteArray();
        QTest::addRow("undefined 1252 bytes") << QByteArray("\x81\x8D\x8F\x90\x9D")
                                              << QStringLiteral("\u0081\u008D\u008F\u0090\u009D")
                                              << fmt(cp, LineBreak::LF) << QByteArray();
        QTest::addRow("truncated UTF-8 at end")
            << QByteArray("ab\xC3") << QStringLiteral("ab\u00C3") << fmt(cp, LineBreak::LF)
            << QByteArray();
        QTest::addRow("overlong UTF-8") << QByteArray("\xC0\xAF") << QStringLiteral("\u00C0\u00AF")
                                        << fmt(cp, LineBreak::LF) << QByteArray();
        QTest::addRow("UTF-8 surrogate")
            << QByteArray("\xED\xA0\x80") << QStringLiteral("\u00ED\u00A0\u20AC")
            << fmt(cp, LineBreak::LF) << QByteArray();
        QTest::addRow("BOM then invalid")
            << QByteArray("\xEF\xBB\xBF\xFF") << QStringLiteral("\u00EF\u00BB\u00BF\u00FF")
            << fmt(cp, LineBreak::LF) << QByteArray();
        QTest::addRow("mixed, CRLF first")
            << QByteArray("a\r\nb\nc\rd") << QStringLiteral("a\nb\nc\nd")
            << fmt(u8, LineBreak::CRLF) << QByteArray("a\r\nb\r\nc\r\nd");
        QTest::addRow("mixed, LF first") << QByteArray("a\nb\r\nc") << QStringLiteral("a\nb\nc")
                                         << fmt(u8, LineBreak::LF) << QByteArray("a\nb\nc");
        QTest::addRow("mixed, CR first") << QByteArray("a\rb\r\nc") << QStringLiteral("a\nb\nc")
                                         << fmt(u8, LineBreak::CR) << QByteArray("a\rb\rc");
        QTest::addRow("data file")
            << QByteArray("MZ\0\0\xFF\r\n\xE9", 8)
            << QStringLiteral("MZ\u0001\u0001\u00FF\r\n\u00E9") << dataFormat() << QByteArray();
        QTest::addRow("data file, NUL last")
            << QByteArray("caf\xC3\xA9\0", 6) << QStringLiteral("caf\u00C3\u00A9\u0001")
            << dataFormat() << QByteArray();
    }

    void loadDecidesFormatAndRoundTrips() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QFETCH(TextFormat, format);
        QFETCH(QByteArray, written);
        const QString path = m_dir->filePath(QStringLiteral("file.txt"));
        writeBytes(path, bytes);

        const TextFileContent content = LoadTextFile(path);
        QVERIFY(!content.error);
        QCOMPARE(content.text, text);
        QCOMPARE(content.format, format);

        // Written back in the format it was read in, a file comes out exactly as it was; one of
        // mixed line breaks comes out with the style of its first.
        const QString copy = m_dir->filePath(QStringLiteral("copy.txt"));
        const TextFileSaveResult saved = SaveTextFile(copy, content.text, content.format);
        QVERIFY(!saved.error);
        QCOMPARE(saved.written, format);
        QCOMPARE(readBytes(copy), written.isEmpty() ? bytes : written);
    }

    void saveWritesLineBreaksOfTheFormat_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<TextFormat>("format");
        QTest::addColumn<QByteArray>("bytes");
        const auto u8 = TextEncoding::Utf8;
        QTest::addRow("LF to CRLF")
            << QStringLiteral("a\nb") << fmt(u8, LineBreak::CRLF) << QByteArray("a\r\nb");
        QTest::addRow("any break to CR")
            << QStringLiteral("a\r\nb\nc\rd") << fmt(u8, LineBreak::CR) << QByteArray("a\rb\rc\rd");
        QTest::addRow("CRLF text to LF")
            << QStringLiteral("a\r\nb\r\n") << fmt(u8, LineBreak::LF) << QByteArray("a\nb\n");
        QTest::addRow("new document")
            << QStringLiteral("\u00E9\n") << TextFormat() << QByteArray("\xC3\xA9\n");
        QTest::addRow("data file keeps breaks")
            << QStringLiteral("a\u0001\r\nb") << dataFormat() << QByteArray("a\0\r\nb", 5);
    }

    void saveWritesLineBreaksOfTheFormat() {
        QFETCH(QString, text);
        QFETCH(TextFormat, format);
        QFETCH(QByteArray, bytes);
        const QString path = m_dir->filePath(QStringLiteral("out.txt"));
        QVERIFY(!SaveTextFile(path, text, format).error);
        QCOMPARE(readBytes(path), bytes);
    }

    // Text Windows-1252 cannot hold is written as UTF-8, and the caller learns so; nothing is lost.
    void saveFallsBackToUtf8() {
        const QString path = m_dir->filePath(QStringLiteral("cp.txt"));
        const TextFormat cp = fmt(TextEncoding::Windows1252, LineBreak::CRLF);
        const QString text = QStringLiteral("\u20AC \u4E2D\n");
        const TextFileSaveResult saved = SaveTextFile(path, text, cp);
        QVERIFY(!saved.error);
        QCOMPARE(saved.written, fmt(TextEncoding::Utf8, LineBreak::CRLF));
        QCOMPARE(readBytes(path), QByteArray("\xE2\x82\xAC \xE4\xB8\xAD\r\n"));
        QCOMPARE(LoadTextFile(path).text, text);
    }

    void saveKeepsPermissionsAndFollowsLinks() {
        const QString path = m_dir->filePath(QStringLiteral("kept.txt"));
        writeBytes(path, "old");
        QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0640), 0);
        QVERIFY(!SaveTextFile(path, QStringLiteral("new"), TextFormat()).error);
        QCOMPARE(readBytes(path), QByteArray("new"));
        struct stat st {};
        QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
        QCOMPARE(st.st_mode & 07777, mode_t(0640));

        const QString link = m_dir->filePath(QStringLiteral("link.txt"));
        QVERIFY(QFile::link(path, link));
        QVERIFY(!SaveTextFile(link, QStringLiteral("via link"), TextFormat()).error);
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(readBytes(path), QByteArray("via link"));
    }

    void saveFailureIsAValueAndLeavesTheFileAlone() {
        const QString missingFolder = m_dir->filePath(QStringLiteral("nowhere/out.txt"));
        const TextFileSaveResult noFolder = SaveTextFile(missingFolder, QStringLiteral("x"), {});
        QVERIFY(noFolder.error);
        QCOMPARE(noFolder.error->path, missingFolder);
        QVERIFY(!noFolder.error->reason.isEmpty());
        QVERIFY(noFolder.error->message().startsWith(missingFolder + QStringLiteral(": ")));

        const QString folder = m_dir->filePath(QStringLiteral("sub"));
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(SaveTextFile(folder, QStringLiteral("x"), {}).error);
        QVERIFY(QFileInfo(folder).isDir());

        // A folder that refuses new files: the old file stays whole.
        const QString locked = m_dir->filePath(QStringLiteral("locked"));
        QVERIFY(QDir().mkpath(locked));
        const QString file = locked + QStringLiteral("/doc.txt");
        writeBytes(file, "precious");
        QVERIFY(QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
        const bool blocked = ::access(QFile::encodeName(locked).constData(), W_OK) != 0;
        const TextFileSaveResult refused = SaveTextFile(file, QStringLiteral("lost?"), {});
        QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                          QFileDevice::ExeOwner);
        if (!blocked)
            QSKIP("running as root: folder permissions do not block writing");
        QVERIFY(refused.error);
        QCOMPARE(readBytes(file), QByteArray("precious"));
    }

    void loadErrors_data() {
        QTest::addColumn<QString>("kind");
        QTest::addRow("missing file") << "missing";
        QTest::addRow("dangling link") << "dangling";
        QTest::addRow("folder") << "folder";
        QTest::addRow("pipe") << "pipe";
        QTest::addRow("no read permission") << "unreadable";
    }

    // Every helper answers at once for a path that is not a readable regular file: no hang on a
    // pipe, no exception but ReadTextFile's.
    void loadErrors() {
        QFETCH(QString, kind);
        const QString path = m_dir->filePath(QStringLiteral("target"));
        if (kind == QLatin1String("dangling")) {
            QVERIFY(QFile::link(m_dir->filePath(QStringLiteral("gone")), path));
        } else if (kind == QLatin1String("folder")) {
            QVERIFY(QDir().mkpath(path));
        } else if (kind == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (kind == QLatin1String("unreadable")) {
            writeBytes(path, QByteArray("secret\0", 7));
            QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
            if (!permissionsBlockReading(path))
                QSKIP("running as root: file permissions do not block reading");
        }

        const TextFileContent content = LoadTextFile(path);
        QVERIFY(content.error);
        QCOMPARE(content.error->path, path);
        QVERIFY(!content.error->reason.isEmpty());
        QVERIFY(content.text.isEmpty());
        QVERIFY(!IsDataFile(path));
        QVERIFY_THROWS_EXCEPTION(UserError, ReadTextFile(path));
        QCOMPARE(FileSizeKB(path), 1);
    }

    // A file deleted after one helper saw it: the next one reports it as missing.
    void fileThatVanishes() {
        const QString path = m_dir->filePath(QStringLiteral("brief.txt"));
        writeBytes(path, QByteArray(70 * 1024, 'x'));
        QCOMPARE(FileSizeKB(path), 71);
        QVERIFY(QFile::remove(path));
        QCOMPARE(FileSizeKB(path), 1);
        QVERIFY(!IsDataFile(path));
        QVERIFY(LoadTextFile(path).error);
        try {
            ReadTextFile(path);
            QFAIL("no error for a vanished file");
        } catch (const UserError &e) {
            QVERIFY(e.text().startsWith(path + QStringLiteral(": ")));
        }
    }

    void isDataFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("data");
        QTest::addRow("empty") << QByteArray() << false;
        QTest::addRow("text") << QByteArray("plain\r\ntext") << false;
        QTest::addRow("byte 1 only") << QByteArray("\x01\x02") << false;
        QTest::addRow("NUL first") << QByteArray("\0abc", 4) << true;
        QByteArray late(200 * 1024, 'a');
        late.append('\0');
        QTest::addRow("NUL after 200 KB") << late << true;
    }

    void isDataFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, data);
        const QString path = m_dir->filePath(QStringLiteral("probe.bin"));
        writeBytes(path, bytes);
        QCOMPARE(IsDataFile(path), data);
    }

    void readTextFileKeepsEveryByte() {
        const QString path = m_dir->filePath(QStringLiteral("data.bin"));
        QByteArray bytes;
        for (int b = 0; b < 256; ++b)
            bytes.append(char(b));
        writeBytes(path, bytes);
        const QString text = ReadTextFile(path);
        QCOMPARE(text.size(), 256);
        QCOMPARE(text[0].unicode(), char16_t(1));
        for (int b = 1; b < 256; ++b)
            QCOMPARE(text[b].unicode(), char16_t(b));
        QCOMPARE(ReadTextFile(m_dir->filePath(QStringLiteral("data.bin"))), text);
    }

    void fileSizeKB_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("kb");
        QTest::addRow("empty") << 0 << 1;
        QTest::addRow("1023 bytes") << 1023 << 1;
        QTest::addRow("1024 bytes") << 1024 << 2;
        QTest::addRow("63 KB less one byte") << 63 * 1024 - 1 << 63;
        QTest::addRow("63 KB") << 63 * 1024 << 64;
    }

    void fileSizeKB() {
        QFETCH(int, size);
        QFETCH(int, kb);
        const QString path = m_dir->filePath(QStringLiteral("sized"));
        writeBytes(path, QByteArray(size, 'z'));
        QCOMPARE(FileSizeKB(path), kb);
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QUILLET_TEST_MAIN(tst_TextFile)
#include "tst_textfile.moc"
