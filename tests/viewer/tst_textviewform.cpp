#include "journal/journalfile.h"
#include "journal/journalwriter.h"
#include "recordingshell.h"
#include "scriptedprompts.h"
#include "testenvironment.h"
#include "viewer/textviewform.h"
#include "viewer/viewerrules.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

namespace {

// How a file reaches the window.
enum class Way { Start, Open, Drop };

// The bytes of a literal, NUL bytes included, without the closing NUL.
template <qsizetype N>
QByteArray bytesOf(const char (&literal)[N]) {
    return QByteArray(literal, N - 1);
}

QByteArray readBytes(const QString &path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray("<unreadable>");
    return file.readAll();
}

} // namespace

Q_DECLARE_METATYPE(Way)

// Drives the viewer window as a user would, with scripted answers to every prompt and real files
// in a temporary folder.
class tst_TextViewForm : public QObject {
    Q_OBJECT

private:
    QTemporaryDir *m_dir = nullptr;
    ScriptedPrompts m_prompts;
    RecordingShell m_shell;

    QString path(const QString &name) const { return m_dir->filePath(name); }

    QString writeFile(const QString &name, const QByteArray &bytes) {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the fixture %s", qPrintable(name));
        return file.fileName();
    }

    std::unique_ptr<TTextViewForm> makeForm(const QString &file = QString()) {
        auto form = std::make_unique<TTextViewForm>(m_prompts, m_shell, file);
        form->setPrinterSource([] { return std::unique_ptr<QPrinter>(); });
        form->setHandOverWait(0);
        form->show();
        return form;
    }

    // Opens `file` the way given, answering the prompts that way asks.
    void bring(TTextViewForm &form, const QString &file, Way way) {
        if (way == Way::Open) {
            m_prompts.answerOpen({file});
            form.Open1Click();
        } else if (way == Way::Drop) {
            form.WMDropFiles({file});
        }
    }

    std::unique_ptr<TTextViewForm> formWith(const QString &file, Way way) {
        auto form = makeForm(way == Way::Start ? file : QString());
        bring(*form, file, way);
        return form;
    }

    static void type(TTextViewForm &form, const QString &text) {
        form.memo()->moveCursor(QTextCursor::End);
        form.memo()->insertPlainText(text);
    }

    static QAction *action(TTextViewForm &form, const char *name) {
        return form.findChild<QAction *>(QLatin1String(name));
    }

private slots:
    void init() {
        m_dir = new QTemporaryDir;
        QVERIFY(m_dir->isValid());
        m_prompts.clear();
        m_shell = RecordingShell();
    }

    void cleanup() {
        QCOMPARE(m_prompts.unexpectedCount(), 0);
        QCOMPARE(m_prompts.pendingAnswers(), 0);
        delete m_dir;
        m_dir = nullptr;
    }

    void startsEmptyWithTheDesignCaption() {
        auto form = makeForm();
        QCOMPARE(form->windowTitle(), QStringLiteral("Quillet TextViewer "));
        QVERIFY(form->currentFileName().isEmpty());
        QVERIFY(!form->isModified());
        QCOMPARE(form->size(), QSize(783, 540));
        QVERIFY(action(*form, "WordWrapMenu")->isChecked());
    }

    // The modified text is journalled with its file's name and format, and the journal goes
    // when the text is saved.
    void journalOfModifiedTextUntilSaved() {
        const QString file = writeFile(QStringLiteral("notes.txt"), QByteArray("Gr\xFC\xDF"
                                                                               "e\r\n"));
        auto form = makeForm(file);
        form->journal().setDelays(10, 100);
        QSignalSpy written(&form->journal(), &JournalWriter::written);
        type(*form, QStringLiteral("more"));
        QVERIFY(written.wait(10000));
        const std::optional<JournalEntry> entry =
            JournalFile::decode(readBytes(form->journal().path()), nullptr);
        QVERIFY(entry);
        QCOMPARE(entry->documentName, file);
        QCOMPARE(entry->mode, JournalEntry::Mode::Text);
        QCOMPARE(entry->textFormat.encoding, TextEncoding::Windows1252);
        QCOMPARE(entry->textFormat.lineBreak, LineBreak::CRLF);
        QCOMPARE(QString::fromUtf8(entry->content), form->memoText());

        form->SaveMenuClick();
        QVERIFY(!QFile::exists(form->journal().path()));
    }

    void loading_data() {
        QTest::addColumn<Way>("way");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<bool>("dataFile");
        QTest::addColumn<QString>("caption");

        const QByteArray lf("one\ntwo\n");
        const QByteArray nul = bytesOf("a\0b\r\nc");
        const QString nulShown = QStringLiteral("a\x01") + QStringLiteral("b\nc");
        QTest::addRow("start LF") << Way::Start << "Notes.txt" << lf << "one\ntwo\n"
                                  << false << "Notes.txt";
        QTest::addRow("open LF") << Way::Open << "Notes.txt" << lf << "one\ntwo\n"
                                 << false << "<path>";
        QTest::addRow("drop LF") << Way::Drop << "Notes.txt" << lf << "one\ntwo\n"
                                 << false << "<lower path>";
        QTest::addRow("start CR") << Way::Start << "mac.txt" << QByteArray("a\rb") << "a\nb"
                                  << false << "mac.txt";
        QTest::addRow("start Windows-1252") << Way::Start << "old.txt" << QByteArray("caf\xe9")
                                            << QStringLiteral("caf\u00e9") << false << "old.txt";
        QTest::addRow("start NUL")
            << Way::Start << "Data.bin" << nul << nulShown << true << "Data.bin";
        QTest::addRow("open NUL") << Way::Open << "Data.bin" << nul << nulShown << true << "<path>";
        QTest::addRow("drop NUL") << Way::Drop << "Data.bin" << nul << nulShown << true
                                  << "<lower path>";
        QTest::addRow("start empty")
            << Way::Start << "empty.txt" << QByteArray() << "" << false << "empty.txt";
    }

    void loading() {
        QFETCH(Way, way);
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        QFETCH(bool, dataFile);
        QFETCH(QString, caption);
        const QString file = writeFile(name, bytes);
        auto form = formWith(file, way);
        QCOMPARE(form->memoText(), shown);
        QCOMPARE(form->isDataFile(), dataFile);
        QCOMPARE(form->currentFileName(), file);
        QVERIFY(!form->isModified());
        if (caption == QLatin1String("<path>"))
            caption = file;
        else if (caption == QLatin1String("<lower path>"))
            caption = file.toLower();
        QCOMPARE(form->windowTitle(), caption);
    }

    void openDialogSettings() {
        const QString file = writeFile(QStringLiteral("a.txt"), "x");
        auto form = makeForm(file);
        m_prompts.answerOpen({});
        form->Open1Click();
        const ScriptedPrompts::Record &open = m_prompts.records().constLast();
        QCOMPARE(open.kind, ScriptedPrompts::Kind::OpenFile);
        QCOMPARE(open.initial, m_dir->path());
        QCOMPARE(open.filters.size(), 2);
        QCOMPARE(open.filters.at(0), QStringLiteral("All Text Files (*.txt *.log *.ini *.bat "
                                                    "*.inf *.tmp *.pas *.dpr *.cpp *.vba)"));
        QCOMPARE(form->currentFileName(), file);
    }

    void unreadableFileKeepsTheDocument_data() {
        QTest::addColumn<Way>("way");
        QTest::addRow("open") << Way::Open;
        QTest::addRow("drop") << Way::Drop;
    }

    void unreadableFileKeepsTheDocument() {
        QFETCH(Way, way);
        const QString shown = writeFile(QStringLiteral("shown.txt"), "kept");
        auto form = makeForm(shown);
        type(*form, QStringLiteral(" edit"));
        if (way == Way::Open) {
            // The viewer asks first because the text is modified; No discards the edit.
            m_prompts.answerButton(QMessageBox::No);
            m_prompts.answerOpen({path(QStringLiteral("missing.txt"))});
            m_prompts.answerButton(QMessageBox::Ok);
            form->Open1Click();
        } else {
            m_prompts.answerButton(QMessageBox::Ok);
            form->WMDropFiles({m_dir->path()});
        }
        QCOMPARE(m_prompts.records().constLast().icon, QMessageBox::Critical);
        QCOMPARE(form->currentFileName(), shown);
        QCOMPARE(form->memoText(), QStringLiteral("kept edit"));
        QCOMPARE(form->windowTitle(), QStringLiteral("shown.txt"));
    }

    // Whichever way a file came in, Save writes it back in its own line breaks and encoding.
    void saveKeepsTheFileFormat_data() {
        QTest::addColumn<Way>("way");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("saved");

        const QList<std::pair<const char *, Way>> ways = {
            {"start", Way::Start}, {"open", Way::Open}, {"drop", Way::Drop}};
        for (const auto &[wayName, way] : ways) {
            QTest::addRow("%s LF", wayName) << way << QByteArray("a\nb\n") << QByteArray("a\nb\n+");
            QTest::addRow("%s CRLF", wayName)
                << way << QByteArray("a\r\nb") << QByteArray("a\r\nb+");
            QTest::addRow("%s CR", wayName) << way << QByteArray("a\rb") << QByteArray("a\rb+");
        }
        QTest::addRow("Windows-1252 stays")
            << Way::Start << QByteArray("\xe9t\xe9\r\n") << QByteArray("\xe9t\xe9\r\n+");
        QTest::addRow("UTF-8 with mark stays") << Way::Open << QByteArray("\xef\xbb\xbf\xc3\xa9\n")
                                               << QByteArray("\xef\xbb\xbf\xc3\xa9\n+");
        QTest::addRow("non-breaking space stays")
            << Way::Start << QByteArray("a\xc2\xa0z") << QByteArray("a\xc2\xa0z+");
    }

    void saveKeepsTheFileFormat() {
        QFETCH(Way, way);
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, saved);
        const QString file = writeFile(QStringLiteral("text.txt"), bytes);
        auto form = formWith(file, way);
        type(*form, QStringLiteral("+"));
        form->SaveMenuClick();
        QCOMPARE(readBytes(file), saved);
        QVERIFY(!form->isModified());
    }

    void saveOfUnmodifiedTextWritesNothing() {
        const QString file = writeFile(QStringLiteral("text.txt"), "a\r\nb");
        auto form = makeForm(file);
        QFile::remove(file);
        form->SaveMenuClick();
        QVERIFY(!QFile::exists(file));
    }

    void dataFileSaveIsRefused() {
        const QByteArray bytes = bytesOf("\0\x01z\r\n");
        const QString file = writeFile(QStringLiteral("data.bin"), bytes);
        auto form = makeForm(file);
        type(*form, QStringLiteral("edit"));
        m_prompts.answerButton(QMessageBox::Ok);
        form->SaveMenuClick();
        QCOMPARE(m_prompts.texts().constLast(), QStringLiteral("Dont modify data files!"));
        QCOMPARE(readBytes(file), bytes);
        QVERIFY(form->isModified());
    }

    void dataFileSaveAs_data() {
        QTest::addColumn<Way>("way");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("saved");

        // Every line-break style, a byte 1, a non-breaking space and bytes above 127.
        const QByteArray mixed = bytesOf("\0head\r\nmid\rlow\n\x01\xa0\xff\x80\r\n\r");
        QTest::addRow("start, unedited: an exact copy") << Way::Start << mixed << "" << mixed;
        QTest::addRow("open, unedited: an exact copy") << Way::Open << mixed << "" << mixed;
        QTest::addRow("drop, unedited: an exact copy") << Way::Drop << mixed << "" << mixed;
        QTest::addRow("edited: NUL restored, breaks as the first")
            << Way::Start << bytesOf("a\0b\x01\r\nc\nd") << "!" << bytesOf("a\0b\0\r\nc\r\nd!");
    }

    void dataFileSaveAs() {
        QFETCH(Way, way);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, typed);
        QFETCH(QByteArray, saved);
        const QString file = writeFile(QStringLiteral("data.bin"), bytes);
        auto form = formWith(file, way);
        QVERIFY(form->isDataFile());
        if (!typed.isEmpty())
            type(*form, typed);
        const QString copy = path(QStringLiteral("copy.bin"));
        m_prompts.answerSave(copy);
        form->SaveAsMenuClick();
        QCOMPARE(readBytes(copy), saved);
        QCOMPARE(readBytes(file), bytes);
        QCOMPARE(form->currentFileName(), copy);
        QCOMPARE(form->windowTitle(), QStringLiteral("copy.bin"));
        QVERIFY(!form->isModified());
    }

    void saveAsDialogSettings() {
        const QString file = writeFile(QStringLiteral("a.txt"), "x");
        auto form = makeForm(file);
        m_prompts.answerSave(QString());
        form->SaveAsMenuClick();
        const ScriptedPrompts::Record &save = m_prompts.records().constLast();
        QCOMPARE(save.kind, ScriptedPrompts::Kind::SaveFile);
        QCOMPARE(save.initial, file);
        QCOMPARE(save.filters.size(), 2);
        QCOMPARE(form->windowTitle(), QStringLiteral("a.txt"));
    }

    void newThenSaveGoesThroughSaveAs() {
        const QByteArray before("before\n");
        const QString file = writeFile(QStringLiteral("old.txt"), before);
        auto form = makeForm(file);
        form->NewMenuClick();
        QCOMPARE(form->windowTitle(), QStringLiteral("qELTa"));
        QVERIFY(form->currentFileName().isEmpty());
        QVERIFY(form->memoText().isEmpty());
        type(*form, QStringLiteral("fresh\nlines"));
        const QString fresh = path(QStringLiteral("fresh.txt"));
        m_prompts.answerSave(fresh);
        form->SaveMenuClick();
        QCOMPARE(readBytes(fresh), QByteArray("fresh\nlines"));
        QCOMPARE(readBytes(file), before);
        QCOMPARE(form->windowTitle(), QStringLiteral("fresh.txt"));

        // Save after Save As writes to the new file.
        type(*form, QStringLiteral("!"));
        form->SaveMenuClick();
        QCOMPARE(readBytes(fresh), QByteArray("fresh\nlines!"));
        QCOMPARE(readBytes(file), before);
    }

    // The save question of New and Open, and the close question, each answered in turn; a
    // cancelled Save As abandons the command instead of dropping the edit.
    void saveQuestions_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveConfirmed");
        QTest::addColumn<bool>("goesOn");
        QTest::addColumn<bool>("written");

        for (const char *command : {"new", "open", "close"}) {
            QTest::addRow("%s: Cancel", command)
                << command << int(QMessageBox::Cancel) << false << false << false;
            QTest::addRow("%s: No", command)
                << command << int(QMessageBox::No) << false << true << false;
            QTest::addRow("%s: Yes, saved", command)
                << command << int(QMessageBox::Yes) << true << true << true;
            QTest::addRow("%s: Yes, Save As cancelled", command)
                << command << int(QMessageBox::Yes) << false << false << false;
        }
    }

    void saveQuestions() {
        QFETCH(QString, command);
        QFETCH(int, answer);
        QFETCH(bool, saveConfirmed);
        QFETCH(bool, goesOn);
        QFETCH(bool, written);
        const QString file = writeFile(QStringLiteral("doc.txt"), "text");
        const QString other = writeFile(QStringLiteral("other.txt"), "other");
        const QString target = path(QStringLiteral("saved.txt"));
        auto form = makeForm(file);
        type(*form, QStringLiteral(" edited"));

        m_prompts.answerButton(QMessageBox::StandardButton(answer));
        if (answer == QMessageBox::Yes)
            m_prompts.answerSave(saveConfirmed ? target : QString());
        if (goesOn && command == QLatin1String("open"))
            m_prompts.answerOpen({other});
        if (command == QLatin1String("new"))
            form->NewMenuClick();
        else if (command == QLatin1String("open"))
            form->Open1Click();
        else
            form->close();

        const QString question = command == QLatin1String("close")
                                     ? QStringLiteral("Do you want to save the file?")
                                     : QStringLiteral("The file has changed, do you want to save?");
        QCOMPARE(m_prompts.records().first().text, question);
        QCOMPARE(m_prompts.records().first().icon, QMessageBox::Warning);
        QCOMPARE(QFile::exists(target), written);
        if (written)
            QCOMPARE(readBytes(target), QByteArray("text edited"));
        QCOMPARE(readBytes(file), QByteArray("text"));
        if (!goesOn) {
            QCOMPARE(form->memoText(), QStringLiteral("text edited"));
            QVERIFY(form->isModified());
            QVERIFY(form->isVisible());
        } else if (command == QLatin1String("new")) {
            QVERIFY(form->memoText().isEmpty());
        } else if (command == QLatin1String("open")) {
            QCOMPARE(form->memoText(), QStringLiteral("other"));
        } else {
            QVERIFY(!form->isVisible());
        }
    }

    void wordWrap() {
        auto form = makeForm();
        QPlainTextEdit *memo = form->memo();
        QAction *wrap = action(*form, "WordWrapMenu");
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        wrap->trigger();
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
        QVERIFY(!wrap->isChecked());
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        wrap->trigger();
        QCOMPARE(memo->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QVERIFY(wrap->isChecked());
        QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    }

    // Each row: the search text, then the answers to "search next" and the selections seen at
    // each question, ending with the selection left behind.
    void findLoop_data() {
        QTest::addColumn<std::optional<QString>>("search");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QList<int>>("selectionStarts");
        QTest::addColumn<int>("finalStart");
        QTest::addColumn<int>("finalLength");

        using B = QMessageBox::StandardButton;
        QTest::addRow("twice, Yes, Yes: ends collapsed")
            << std::optional<QString>(QStringLiteral("ab")) << QList<int>{B::Yes, B::Yes}
            << QList<int>{0, 9} << 11 << 0;
        QTest::addRow("No leaves the first selected")
            << std::optional<QString>(QStringLiteral("ab")) << QList<int>{B::No} << QList<int>{0}
            << 0 << 2;
        QTest::addRow("case sensitive, across lines")
            << std::optional<QString>(QStringLiteral("x\nAB")) << QList<int>{B::No} << QList<int>{2}
            << 2 << 4;
        QTest::addRow("not found: silent") << std::optional<QString>(QStringLiteral("zz"))
                                           << QList<int>{} << QList<int>{} << 11 << 0;
        QTest::addRow("empty search")
            << std::optional<QString>(QString()) << QList<int>{} << QList<int>{} << 11 << 0;
        QTest::addRow("cancelled")
            << std::optional<QString>() << QList<int>{} << QList<int>{} << 11 << 0;
    }

    void findLoop() {
        QFETCH(std::optional<QString>, search);
        QFETCH(QList<int>, answers);
        QFETCH(QList<int>, selectionStarts);
        QFETCH(int, finalStart);
        QFETCH(int, finalLength);
        auto form = makeForm();
        form->memo()->setPlainText(QStringLiteral("abx\nABxxxab"));
        form->memo()->moveCursor(QTextCursor::End);

        QList<int> seen;
        m_prompts.answerInput(search);
        for (int answer : answers)
            m_prompts.answerButton(QMessageBox::StandardButton(answer));
        QObject::connect(form->memo(), &QPlainTextEdit::selectionChanged, form.get(), [&] {
            const QTextCursor c = form->memo()->textCursor();
            if (c.hasSelection())
                seen.append(c.selectionStart());
        });
        action(*form, "FindMenu")->trigger();

        const ScriptedPrompts::Record &input = m_prompts.records().first();
        QCOMPARE(input.kind, ScriptedPrompts::Kind::Input);
        QCOMPARE(input.caption, QStringLiteral("Find case sensitive text in Memo"));
        QCOMPARE(input.text, QStringLiteral("Press 'OK' for search. 'F3' search next !"));
        QVERIFY(input.initial.isEmpty());
        for (qsizetype i = 1; i < m_prompts.records().size(); ++i)
            QCOMPARE(m_prompts.records().at(i).text,
                     QStringLiteral("Yes search next. No exit search."));
        QCOMPARE(seen, selectionStarts);
        const QTextCursor cursor = form->memo()->textCursor();
        QCOMPARE(cursor.selectionStart(), finalStart);
        QCOMPARE(cursor.selectionEnd() - cursor.selectionStart(), finalLength);
    }

    void f3SearchesOnFromTheSelection() {
        auto form = makeForm();
        form->memo()->setPlainText(QStringLiteral("one two one two"));
        m_prompts.answerInput(QStringLiteral("two"));
        m_prompts.answerButton(QMessageBox::No);
        form->FindMenuClick();
        QCOMPARE(form->memo()->textCursor().selectionStart(), 4);
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
        QTest::keyClick(form->memo(), Qt::Key_F3);
        QCOMPARE(form->memo()->textCursor().selectionStart(), 12);
        QTest::keyClick(form->memo(), Qt::Key_F3);
        QVERIFY(!form->memo()->textCursor().hasSelection());
    }

    void dropRule_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("staysInViewer");
        QTest::addRow("one byte short of 64 KiB") << qint64(64 * 1024 - 1) << true;
        QTest::addRow("exactly 64 KiB") << qint64(64 * 1024) << false;
    }

    void dropRule() {
        QFETCH(qint64, size);
        QFETCH(bool, staysInViewer);
        const QString shown = writeFile(QStringLiteral("shown.txt"), "shown");
        const QString big = writeFile(QStringLiteral("Big File.TXT"), QByteArray(size, 'x'));
        auto form = makeForm(shown);
        form->WMDropFiles({big, shown});
        if (staysInViewer) {
            QVERIFY(m_shell.launches.isEmpty());
            QCOMPARE(form->currentFileName(), big);
            QCOMPARE(form->memoText().size(), size);
            QCOMPARE(form->windowTitle(), big.toLower());
            QVERIFY(form->isVisible());
        } else {
            QCOMPARE(m_shell.launches.size(), 1);
            QCOMPARE(m_shell.launches.first().parameters, big);
            QVERIFY(!form->isVisible());
        }
    }

    // A big file dropped on modified text: the editor starts on it, and when the close question
    // keeps the window open, the window's text is not saved over the dropped file.
    void bigDropOnModifiedTextKeepsTheDocument() {
        const QString shown = writeFile(QStringLiteral("shown.txt"), "shown");
        const QByteArray bigBytes(70 * 1024, 'x');
        const QString big = writeFile(QStringLiteral("big.txt"), bigBytes);
        auto form = makeForm(shown);
        type(*form, QStringLiteral("!"));
        m_prompts.answerButton(QMessageBox::Cancel);
        form->WMDropFiles({big});
        QCOMPARE(m_shell.launches.size(), 1);
        QVERIFY(form->isVisible());
        QCOMPARE(form->currentFileName(), shown);
        form->SaveMenuClick();
        QCOMPARE(readBytes(big), bigBytes);
        QCOMPARE(readBytes(shown), QByteArray("shown!"));
    }

    void dropEventReachesTheWindow() {
        const QString dropped = writeFile(QStringLiteral("dropped.txt"), "dropped");
        auto form = makeForm();
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(dropped)});
        QWidget *target = form->memo()->viewport();
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QVERIFY(enter.isAccepted());
        QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
        QCOMPARE(form->memoText(), QStringLiteral("dropped"));
        QCOMPARE(form->currentFileName(), dropped);
    }

    // Show in Quillet>>: the question's answers, the save dialog's answer, and what follows.
    void showInQuillet_data() {
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saveConfirmed");
        QTest::addColumn<bool>("handsOver");
        QTest::addColumn<QByteArray>("onDisk");

        using B = QMessageBox::StandardButton;
        QTest::addRow("unmodified: at once")
            << false << int(B::NoButton) << false << true << QByteArray("stored");
        QTest::addRow("Yes, saved")
            << true << int(B::Yes) << true << true << QByteArray("stored edit");
        QTest::addRow("Yes, dialog cancelled")
            << true << int(B::Yes) << false << false << QByteArray("stored");
        QTest::addRow("No: the file as stored")
            << true << int(B::No) << false << true << QByteArray("stored");
        QTest::addRow("Cancel") << true << int(B::Cancel) << false << false << QByteArray("stored");
    }

    void showInQuillet() {
        QFETCH(bool, modified);
        QFETCH(int, answer);
        QFETCH(bool, saveConfirmed);
        QFETCH(bool, handsOver);
        QFETCH(QByteArray, onDisk);
        const QString file = writeFile(QStringLiteral("my notes.txt"), "stored");
        auto form = makeForm(file);
        if (modified) {
            type(*form, QStringLiteral(" edit"));
            m_prompts.answerButton(QMessageBox::StandardButton(answer));
            if (answer == QMessageBox::Yes)
                m_prompts.answerSave(saveConfirmed ? file : QString());
        }
        action(*form, "StartinQuillet1")->trigger();

        if (modified) {
            const ScriptedPrompts::Record &question = m_prompts.records().first();
            QCOMPARE(question.text, QStringLiteral("File has changed. Save first (Yes) or discard "
                                                   "changes (no) before open file in Quillet?"));
            QCOMPARE(question.icon, QMessageBox::Warning);
            QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        }
        if (answer == QMessageBox::Yes) {
            const ScriptedPrompts::Record &save = m_prompts.records().at(1);
            QCOMPARE(save.initial, file);
            QCOMPARE(save.filters.first(), QStringLiteral("Text Files (*.txt)"));
            QCOMPARE(save.filters.size(), 10);
        }
        QCOMPARE(readBytes(file), onDisk);
        if (handsOver) {
            QCOMPARE(m_shell.launches.size(), 1);
            QCOMPARE(m_shell.launches.first().file, QCoreApplication::applicationFilePath());
            QCOMPARE(m_shell.launches.first().parameters, file);
            QVERIFY(!form->isVisible());
        } else {
            QVERIFY(m_shell.launches.isEmpty());
            QVERIFY(form->isVisible());
            QVERIFY(form->isModified());
        }
    }

    void handOverWaitsThenCloses() {
        auto form = makeForm();
        form->setHandOverWait(800);
        QElapsedTimer timer;
        timer.start();
        form->HandOverToEditor();
        QVERIFY(timer.elapsed() >= 800);
        QCOMPARE(m_shell.launches.size(), 1);
        QVERIFY(m_shell.launches.first().parameters.isEmpty());
        QVERIFY(m_shell.launches.first().folder.isEmpty());
        QVERIFY(!form->isVisible());
        QVERIFY(!form->acceptDrops());
    }

    // The started process sees the marker; this one does not keep it.
    void handOverMarksTheNewProcess() {
        class MarkerShell : public RecordingShell {
        public:
            bool markedAtLaunch = false;
            int LaunchFile(const QString &file, const QString &parameters, const QString &folder,
                           ShowState show) override {
                markedAtLaunch = qEnvironmentVariableIsSet(kHandedOverVariable);
                return RecordingShell::LaunchFile(file, parameters, folder, show);
            }
        } shell;
        TTextViewForm form(m_prompts, shell, QString());
        form.setHandOverWait(0);
        form.HandOverToEditor();
        QVERIFY(shell.markedAtLaunch);
        QVERIFY(!qEnvironmentVariableIsSet(kHandedOverVariable));
    }

    void failedHandOverKeepsTheViewer() {
        const QString file = writeFile(QStringLiteral("a.txt"), "a");
        auto form = makeForm(file);
        m_shell.launchResult = Shell::kAccessDenied;
        m_prompts.answerButton(QMessageBox::Ok);
        form->HandOverToEditor();
        QCOMPARE(m_prompts.records().constLast().icon, QMessageBox::Critical);
        QVERIFY(form->isVisible());
        QVERIFY(form->acceptDrops());
    }

    // Printing takes the lines as the text area shows them.
    void displayLinesFollowWordWrap() {
        auto form = makeForm();
        form->memo()->setPlainText(QString(500, QLatin1Char('w')) + QStringLiteral("\n\nend"));
        QCoreApplication::processEvents();
        const QStringList wrapped = displayLines(*form->memo());
        QVERIFY(wrapped.size() > 3);
        QCOMPARE(wrapped.join(QString()), QString(500, QLatin1Char('w')) + QStringLiteral("end"));
        form->WordWrapMenuClick();
        QCoreApplication::processEvents();
        QCOMPARE(displayLines(*form->memo()),
                 (QStringList{QString(500, QLatin1Char('w')), QString(), QStringLiteral("end")}));
    }

    void printWithoutPrinter() {
        const QString file = writeFile(QStringLiteral("a.txt"), "a");
        auto form = makeForm(file);
        type(*form, QStringLiteral("b"));
        m_prompts.answerButton(QMessageBox::Ok);
        action(*form, "PrintMenu")->trigger();
        QCOMPARE(m_prompts.texts().constLast(),
                 QStringLiteral("No printer is installed. Install a printer and choose it as the "
                                "default printer to print this text."));
        QCOMPARE(form->memoText(), QStringLiteral("ab"));
        QVERIFY(form->isModified());
    }

    void printToPdf_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<bool>("morePages");
        QTest::addRow("a few lines: one page") << 3 << false;
        QTest::addRow("many lines: more pages") << 400 << true;
    }

    void printToPdf() {
        QFETCH(int, lines);
        QFETCH(bool, morePages);
        const QString pdf = path(QStringLiteral("out.pdf"));
        auto form = makeForm();
        QStringList text;
        for (int i = 0; i < lines; ++i)
            text.append(QStringLiteral("line %1").arg(i));
        form->memo()->setPlainText(text.join(QLatin1Char('\n')));
        form->setPrinterSource([pdf] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            return printer;
        });
        action(*form, "PrintMenu")->trigger();
        const QByteArray bytes = readBytes(pdf);
        QVERIFY(bytes.startsWith("%PDF"));
        const qsizetype pages = bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r");
        QCOMPARE(pages > 1, morePages);
        QVERIFY(pages >= 1);
    }

    void printFailureIsReported() {
        auto form = makeForm();
        form->memo()->setPlainText(QStringLiteral("text"));
        const QString unwritable = path(QStringLiteral("missing-folder/out.pdf"));
        form->setPrinterSource([unwritable] {
            auto printer = std::make_unique<QPrinter>();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(unwritable);
            return printer;
        });
        m_prompts.answerButton(QMessageBox::Ok);
        action(*form, "PrintMenu")->trigger();
        QCOMPARE(m_prompts.records().constLast().icon, QMessageBox::Critical);
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(form->memoText(), QStringLiteral("text"));
    }
};

QUILLET_TEST_MAIN(tst_TextViewForm)
#include "tst_textviewform.moc"
