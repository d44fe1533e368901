#include "journal/documentcopier.h"
#include "journal/documentcopy.h"
#include "journal/journalfile.h"
#include "journal/journalstore.h"
#include "journal/journalwriter.h"
#include "platform/namedmutex.h"
#include "richtext/rtf/documentio.h"
#include "testenvironment.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextDocumentLayout>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTimeZone>
#include <new>
#include <stdexcept>

namespace {

JournalEntry sampleEntry() {
    JournalEntry entry;
    entry.documentName = QStringLiteral("/home/u/Notes and\nodd %name.txt");
    entry.mode = JournalEntry::Mode::Text;
    entry.textFormat.encoding = TextEncoding::Windows1252;
    entry.textFormat.lineBreak = LineBreak::CRLF;
    entry.caret = 7;
    entry.time = QDateTime(QDate(2026, 12, 11), QTime(10, 30, 5, 250), QTimeZone::utc());
    entry.firstLine = QStringLiteral("Grüße");
    entry.content = QStringLiteral("Grüße\nzweite Zeile\n").toUtf8();
    return entry;
}

QString journalFolder() {
    return JournalStore::folder();
}

void writeJournal(const QString &owner, const QByteArray &bytes) {
    QDir().mkpath(journalFolder());
    QFile file(JournalStore::pathFor(journalFolder(), owner));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A claim function for one simulated process that holds `held` and claims nothing else.
JournalStore::ClaimFunction othersHold(QStringList held) {
    return [held](const QString &name) {
        return held.contains(name) ? NamedMutex::Claim::AlreadyExisted : NamedMutex::Claim::Created;
    };
}

// A rich document with what a journal must carry: character formats, a list, a picture.
void fillRich(QTextDocument &document) {
    QTextCursor cursor(&document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    cursor.insertText(QStringLiteral("Plain and "));
    cursor.insertText(QStringLiteral("bold"), bold);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.insertBlock(centred);
    cursor.insertText(QStringLiteral("centred"));
    cursor.insertBlock(QTextBlockFormat());
    QTextListFormat bullets;
    bullets.setStyle(QTextListFormat::ListDisc);
    cursor.createList(bullets);
    cursor.insertText(QStringLiteral("one"));
    cursor.insertBlock();
    cursor.insertText(QStringLiteral("two"));
    cursor.insertBlock(QTextBlockFormat());
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    document.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("pic1")), picture);
    QTextImageFormat image;
    image.setName(QStringLiteral("pic1"));
    cursor.insertImage(image);
}

std::shared_ptr<const DocumentCopy> copyOf(QTextDocument &document, bool withFormats,
                                           const std::function<void()> &meanwhile = {}) {
    DocumentCopier copier(document);
    std::shared_ptr<const DocumentCopy> result;
    copier.start(withFormats,
                 [&result](std::shared_ptr<const DocumentCopy> copy) { result = std::move(copy); });
    if (meanwhile)
        meanwhile();
    [&] { QTRY_VERIFY(result != nullptr); }();
    return result;
}

} // namespace

class tst_Journal : public QObject {
    Q_OBJECT

private slots:
    void cleanup() {
        QDir(journalFolder()).removeRecursively();
        QDir(JournalStore::damagedFolder()).removeRecursively();
    }

    void fileRoundTrip() {
        const JournalEntry entry = sampleEntry();
        QString reason;
        const std::optional<JournalEntry> back =
            JournalFile::decode(JournalFile::encode(entry), &reason);
        QVERIFY2(back, qPrintable(reason));
        QCOMPARE(back->documentName, entry.documentName);
        QCOMPARE(back->mode, entry.mode);
        QCOMPARE(back->textFormat, entry.textFormat);
        QCOMPARE(back->caret, entry.caret);
        QCOMPARE(back->time, entry.time);
        QCOMPARE(back->firstLine, entry.firstLine);
        QCOMPARE(back->content, entry.content);
    }

    void damagedFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray good = JournalFile::encode(sampleEntry());
        QTest::addRow("empty") << QByteArray() << "not a journal";
        QTest::addRow("other file") << QByteArray("{\\rtf1 hello}") << "not a journal";
        QTest::addRow("cut short") << good.left(good.size() - 3) << "incomplete content";
        QByteArray flipped = good;
        flipped[flipped.size() - 2] = 'X';
        QTest::addRow("byte changed") << flipped << "damaged content";
        QByteArray noName = good;
        noName.replace("\nname: ", "\nnome: ");
        QTest::addRow("header key missing") << noName << "damaged header";
    }

    void damagedFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QString why;
        QVERIFY(!JournalFile::decode(bytes, &why));
        QCOMPARE(why, reason);
    }

    // Only journals of ended owners are found; a damaged one is moved aside and reported, and
    // the temporary file of an interrupted write goes.
    void orphansOfEndedOwnersOnly() {
        JournalEntry older = sampleEntry();
        older.time = older.time.addSecs(-60);
        writeJournal(QStringLiteral("00000000000000a1"), JournalFile::encode(sampleEntry()));
        writeJournal(QStringLiteral("00000000000000a2"), JournalFile::encode(older));
        writeJournal(QStringLiteral("00000000000000b1"), JournalFile::encode(sampleEntry()));
        writeJournal(QStringLiteral("00000000000000c1"),
                     QByteArray("QUILLET-JOURNAL 1\nbroken\n\n"));
        const QString leftover =
            JournalStore::pathFor(journalFolder(), QStringLiteral("00000000000000a1")) +
            QStringLiteral(".Ab12Cd");
        QFile(leftover).open(QIODevice::WriteOnly);

        const JournalStore::Orphans orphans = JournalStore::collectOrphans(
            othersHold({JournalStore::ownerName(QStringLiteral("00000000000000b1"))}));
        QCOMPARE(orphans.journals.size(), 2);
        QCOMPARE(orphans.journals[0].path,
                 JournalStore::pathFor(journalFolder(), QStringLiteral("00000000000000a2")));
        QCOMPARE(orphans.journals[1].entry.content, sampleEntry().content);
        QCOMPARE(orphans.damaged.size(), 1);
        QCOMPARE(orphans.damaged[0].reason, QStringLiteral("damaged header"));
        QVERIFY(QFile::exists(orphans.damaged[0].movedTo));
        QVERIFY(!QFile::exists(orphans.damaged[0].path));
        QVERIFY(!QFile::exists(leftover));
        QVERIFY(QFile::exists(
            JournalStore::pathFor(journalFolder(), QStringLiteral("00000000000000b1"))));
    }

    // The real names: a journal whose owner name this process holds is never offered, and an
    // ended owner's journal is offered to one claimer only.
    void runningOwnerNotOfferedByRealNames() {
        const QString running = JournalStore::newOwnerId();
        QCOMPARE(NamedMutex::claim(JournalStore::ownerName(running)), NamedMutex::Claim::Created);
        const QString ended = JournalStore::newOwnerId();
        writeJournal(running, JournalFile::encode(sampleEntry()));
        writeJournal(ended, JournalFile::encode(sampleEntry()));

        const JournalStore::Orphans first = JournalStore::collectOrphans(NamedMutex::claim);
        QCOMPARE(first.journals.size(), 1);
        QCOMPARE(first.journals[0].path, JournalStore::pathFor(journalFolder(), ended));
        // The first claimer holds the ended owner's name now.
        QCOMPARE(JournalStore::collectOrphans(NamedMutex::claim).journals.size(), 0);
    }

    // The copy rebuilt on another document writes the same RTF as the original, and an edit
    // while the copy runs is in it.
    void copyKeepsFormats() {
        QTextDocument document;
        fillRich(document);
        const std::shared_ptr<const DocumentCopy> copy = copyOf(document, true);
        QCOMPARE(copy->firstLine(), QStringLiteral("Plain and bold"));
        QCOMPARE(rtfFromDocument(*copy->toDocument()), rtfFromDocument(document));
    }

    void plainTextCopy_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("firstLine");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("one line") << "  only  "
                                  << "only";
        QTest::newRow("blank lines first") << "\n \n\t\n  first\nsecond\n"
                                           << "first";
        QTest::newRow("only blank lines") << QString(1000, QLatin1Char('\n')) << QString();
        QTest::newRow("long first line")
            << QString(100, QLatin1Char('x')) + "\ny" << QString(80, QLatin1Char('x'));
    }

    // Text held outside any document is copied whole, in at most two paragraphs.
    void plainTextCopy() {
        QFETCH(QString, text);
        QFETCH(QString, firstLine);
        const std::shared_ptr<DocumentCopy> copy = DocumentCopy::fromPlainText(text);
        QVERIFY(copy->paragraphs.size() <= 2);
        QVERIFY(!copy->withFormats);
        QCOMPARE(copy->plainText(), text);
        QCOMPARE(copy->firstLine(), firstLine);
    }

    void textOutsideTheDocumentIsJournalled() {
        QTextDocument document;
        QString outside = QStringLiteral("outside\ntext");
        JournalEntry described = sampleEntry();
        described.mode = JournalEntry::Mode::Text;
        JournalWriter writer(JournalSource{document,
                                           [&] { return described; },
                                           {},
                                           [&]() -> std::optional<QString> { return outside; }},
                             NamedMutex::claim);
        writer.setDelays(50, 1000);
        QSignalSpy written(&writer, &JournalWriter::written);
        const auto content = [&writer] {
            QFile file(writer.path());
            [&] { QVERIFY(file.open(QIODevice::ReadOnly)); }();
            const std::optional<JournalEntry> entry = JournalFile::decode(file.readAll(), nullptr);
            return entry ? entry->content + '|' + entry->firstLine.toUtf8() : QByteArray();
        };
        // The document holds nothing; its flag says the text is modified.
        document.setModified(true);
        QVERIFY(written.wait(5000));
        QCOMPARE(content(), QByteArray("outside\ntext|outside"));
        // Later edits are told, the document's flag staying set.
        outside = QStringLiteral("\nedited");
        writer.noteEdit();
        QVERIFY(written.wait(5000));
        QCOMPARE(content(), QByteArray("\nedited|edited"));
        document.setModified(false);
        QVERIFY(!QFile::exists(writer.path()));
    }

    void copyFollowsEditsMeanwhile() {
        QTextDocument document;
        QString text;
        for (int i = 0; i < 200000; ++i)
            text += QStringLiteral("line %1\n").arg(i);
        // A light layout: the copy follows changes only through the document's layout.
        document.setDocumentLayout(new QPlainTextDocumentLayout(&document));
        document.setPlainText(text);
        DocumentCopier copier(document);
        std::shared_ptr<const DocumentCopy> copy;
        copier.start(false,
                     [&copy](std::shared_ptr<const DocumentCopy> done) { copy = std::move(done); });
        QCoreApplication::processEvents();
        QVERIFY(copier.busy());
        const auto at = [&document](int paragraph) {
            return QTextCursor(document.findBlockByNumber(paragraph));
        };
        // In the copied part: a word typed, a line break typed, one removed; then the end.
        at(10).insertText(QStringLiteral("typed "));
        QTextCursor split = at(20);
        split.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 2);
        split.insertText(QStringLiteral("\n"));
        QTextCursor join = at(30);
        join.movePosition(QTextCursor::EndOfBlock);
        join.deleteChar();
        QTextCursor(&document).insertText(QStringLiteral("FIRST "));
        QTextCursor end(&document);
        end.movePosition(QTextCursor::End);
        end.insertText(QStringLiteral("LAST"));
        // Typing on in the copied part never keeps the copy from finishing.
        for (int i = 0; i < 10000 && !copy; ++i) {
            at(100).insertText(QStringLiteral("x"));
            QCoreApplication::processEvents();
        }
        QVERIFY(copy != nullptr);
        QCOMPARE(copy->plainText(), document.toPlainText());
    }

    // Written after the pause, removed when the document is saved (no longer modified), and
    // nothing else stays in the folder.
    void writtenAfterPauseRemovedWhenUnmodified() {
        QTextDocument document;
        JournalEntry described = sampleEntry();
        JournalWriter writer(JournalSource{document, [&] { return described; }, {}},
                             NamedMutex::claim);
        writer.setDelays(50, 1000);
        QSignalSpy written(&writer, &JournalWriter::written);
        QTextCursor(&document).insertText(QStringLiteral("typed\nmore"));
        QVERIFY(document.isModified());
        QVERIFY(written.wait(5000));
        QFile file(writer.path());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const std::optional<JournalEntry> entry = JournalFile::decode(file.readAll(), nullptr);
        QVERIFY(entry);
        QCOMPARE(entry->content, QByteArray("typed\nmore"));
        QCOMPARE(entry->documentName, described.documentName);
        QCOMPARE(entry->firstLine, QStringLiteral("typed"));

        document.setModified(false);
        QVERIFY(!QFile::exists(writer.path()));
        QCOMPARE(QDir(journalFolder()).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void longestIntervalDuringContinuousTyping() {
        QTextDocument document;
        JournalWriter writer(JournalSource{document, [] { return sampleEntry(); }, {}},
                             NamedMutex::claim);
        writer.setDelays(400, 600);
        QSignalSpy written(&writer, &JournalWriter::written);
        QElapsedTimer clock;
        clock.start();
        // A keystroke every 100 ms never leaves a pause of 400 ms.
        while (written.isEmpty() && clock.elapsed() < 5000) {
            QTextCursor(&document).insertText(QStringLiteral("x"));
            QTest::qWait(100);
        }
        QCOMPARE(written.size(), 1);
        QVERIFY(QFile::exists(writer.path()));
    }

    void destructionRemovesJournal() {
        QTextDocument document;
        QString path;
        {
            JournalWriter writer(JournalSource{document, [] { return sampleEntry(); }, {}},
                                 NamedMutex::claim);
            writer.setDelays(10, 100);
            path = writer.path();
            QSignalSpy written(&writer, &JournalWriter::written);
            QTextCursor(&document).insertText(QStringLiteral("typed"));
            QVERIFY(written.wait(5000));
            QVERIFY(QFile::exists(path));
        }
        QVERIFY(!QFile::exists(path));
    }

    // A journal that cannot be written is said once, not at every attempt.
    void writeFailureReportedOnce() {
        QDir().mkpath(QFileInfo(journalFolder()).absolutePath());
        QDir(journalFolder()).removeRecursively();
        QFile blocker(journalFolder());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        QTextDocument document;
        JournalWriter writer(JournalSource{document, [] { return sampleEntry(); }, {}},
                             NamedMutex::claim);
        writer.setDelays(10, 100);
        QSignalSpy failed(&writer, &JournalWriter::writeFailed);
        QTextCursor(&document).insertText(QStringLiteral("a"));
        QVERIFY(failed.wait(5000));
        QTextCursor(&document).insertText(QStringLiteral("b"));
        QTest::qWait(300);
        QCOMPARE(failed.size(), 1);
        QFile::remove(journalFolder());
    }

    // An error while the worker turns the copy into bytes is a failed write, said as such; it
    // never leaves the worker thread (that would end the program).
    void workerErrorIsAFailedWrite_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("exception") << 0 << QStringLiteral("the journal cannot be made: no RTF");
        QTest::newRow("out of memory")
            << 1 << QStringLiteral("the journal cannot be made: out of memory");
        QTest::newRow("anything else")
            << 2 << QStringLiteral("the journal cannot be made: unknown error");
    }
    void workerErrorIsAFailedWrite() {
        QFETCH(int, kind);
        QFETCH(QString, reason);
        QTextDocument document;
        JournalEntry rich = sampleEntry();
        rich.mode = JournalEntry::Mode::Rtf;
        JournalWriter writer(JournalSource{document, [&] { return rich; },
                                           [kind](const DocumentCopy &) -> QByteArray {
                                               if (kind == 0)
                                                   throw std::runtime_error("no RTF");
                                               if (kind == 1)
                                                   throw std::bad_alloc();
                                               throw 42;
                                           }},
                             NamedMutex::claim);
        writer.setDelays(10, 100);
        QSignalSpy failed(&writer, &JournalWriter::writeFailed);
        QTextCursor(&document).insertText(QStringLiteral("typed"));
        QVERIFY(failed.wait(5000));
        QCOMPARE(failed.at(0).at(0).toString(), reason);
        QVERIFY(!QFile::exists(writer.path()));
    }
};

QUILLET_TEST_MAIN(tst_Journal)
#include "tst_journal.moc"
