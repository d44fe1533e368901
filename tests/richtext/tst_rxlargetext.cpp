#include "plaintext/plaintextview.h"
#include "richtext/rtf/documentio.h"
#include "richtext/rxlargetext.h"
#include "richtext/rxpagerenderer.h"
#include "richtext/rxrichedit.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

// Plain text of many lines held outside the rich text control's document: loading it, the
// control's interface answered from it, saving it byte for byte, and taking it back into the
// document when formats are wanted.
class TestRxLargeText : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadsOnlyManyLinesOfPlainTextOutside_data();
    void loadsOnlyManyLinesOfPlainTextOutside();
    void savesTheBytesBackWithTheirLineBreaks_data();
    void savesTheBytesBackWithTheirLineBreaks();
    void answersTheControlsInterface();
    void findAndReplace();
    void keysSentToTheControlEditTheText();
    void richTextModeTakesTheTextBack();
    void printsAndWritesRtfAsTheDocumentWould();

private:
    // `lines` lines "line N", each ended by `lineBreak`.
    static QByteArray numberedLines(int lines, const QByteArray &lineBreak);
    void loadBytes(const QByteArray &bytes);

    QTemporaryDir m_dir;
    std::unique_ptr<TRxRichEdit> m_memo;
};

QByteArray TestRxLargeText::numberedLines(int lines, const QByteArray &lineBreak) {
    QByteArray bytes;
    for (int i = 0; i < lines; ++i)
        bytes += "line " + QByteArray::number(i) + lineBreak;
    return bytes;
}

void TestRxLargeText::loadBytes(const QByteArray &bytes) {
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    m_memo->Lines().LoadFromStream(buffer);
}

void TestRxLargeText::init() {
    m_memo = std::make_unique<TRxRichEdit>();
    m_memo->resize(400, 300);
    m_memo->SetPlainText(true);
    m_memo->show();
}

void TestRxLargeText::cleanup() {
    m_memo.reset();
}

void TestRxLargeText::loadsOnlyManyLinesOfPlainTextOutside_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("plainText");
    QTest::addColumn<bool>("outside");
    const int many = TRxLargeText::MinimumLines;
    QTest::newRow("many LF lines") << numberedLines(many, "\n") << true << true;
    QTest::newRow("bare CRs") << QByteArray(many, '\r') << true << true;
    QTest::newRow("one line short") << QByteArray(many - 2, '\n') << true << false;
    QTest::newRow("CR LF counts once") << numberedLines(many / 2 + 1, "\r\n") << true << false;
    QTest::newRow("rich text mode") << numberedLines(many, "\n") << false << false;
}

void TestRxLargeText::loadsOnlyManyLinesOfPlainTextOutside() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, plainText);
    QFETCH(bool, outside);
    m_memo->SetPlainText(plainText);
    QSignalSpy changed(m_memo.get(), &TRxRichEdit::OnChange);
    loadBytes(bytes);
    QCOMPARE(m_memo->HoldsLargeText(), outside);
    QVERIFY(changed.count() > 0);
    // Whoever holds it, the control answers the same.
    QString text = QString::fromLatin1(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const qsizetype breaks = text.count(QLatin1Char('\n'));
    QCOMPARE(m_memo->TextLength(), text.size());
    QCOMPARE(m_memo->GetTextLen(), text.size() + breaks);
    QCOMPARE(m_memo->Lines().Count(), breaks);
    QCOMPARE(m_memo->Lines().Strings(3), text.section(QLatin1Char('\n'), 3, 3));
    QCOMPARE(m_memo->Text(), QString(text).replace(QLatin1String("\n"), QLatin1String("\r\n")));
    QCOMPARE(m_memo->TextRange(0, 7),
             text.left(7).replace(QLatin1String("\n"), QLatin1String("\r\n")));
    QCOMPARE(m_memo->SelStart(), 0);
    QVERIFY(!m_memo->Modified());
    QVERIFY(!m_memo->CanUndo());
    // Loading something small puts the text back into the document.
    m_memo->SetText(QStringLiteral("small"));
    QVERIFY(!m_memo->HoldsLargeText());
    QCOMPARE(m_memo->Text(), QStringLiteral("small"));
}

void TestRxLargeText::savesTheBytesBackWithTheirLineBreaks_data() {
    QTest::addColumn<QByteArray>("bytes");
    const int many = TRxLargeText::MinimumLines;
    QTest::newRow("LF") << numberedLines(many, "\n");
    QTest::newRow("CR LF, no last break") << numberedLines(many, "\r\n") + "end";
    QTest::newRow("bare CR") << QByteArray(many, '\r');
    QTest::newRow("UTF-8 with BOM") << "\xEF\xBB\xBF" + numberedLines(many, "\n") + "\xC3\xA9";
    QTest::newRow("Windows-1252") << numberedLines(many, "\r\n") + "caf\xE9";
}

void TestRxLargeText::savesTheBytesBackWithTheirLineBreaks() {
    QFETCH(QByteArray, bytes);
    const QString in = m_dir.filePath(QStringLiteral("in.txt"));
    const QString out = m_dir.filePath(QStringLiteral("out.txt"));
    QFile file(in);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();
    m_memo->Lines().LoadFromFile(in);
    QVERIFY(m_memo->HoldsLargeText());
    QVERIFY(!m_memo->WriteFile(out));
    QFile written(out);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), bytes);
    // An edit comes out in the file's own line breaks.
    m_memo->SelectRange(0, 0);
    m_memo->SetSelText(QStringLiteral("new\r\n"));
    m_memo->Lines().SaveToFile(out);
    // Saved through a new file renamed over the old one.
    written.close();
    QVERIFY(written.open(QIODevice::ReadOnly));
    const TextFormat format = detectPlainTextFormat(bytes);
    const QByteArray lineBreak = format.lineBreak == LineBreak::CRLF ? "\r\n"
                                 : format.lineBreak == LineBreak::CR ? "\r"
                                                                     : "\n";
    const QByteArray bom = format.byteOrderMark ? "\xEF\xBB\xBF" : "";
    QCOMPARE(written.readAll(), bom + "new" + lineBreak + bytes.mid(bom.size()));
    // A write that cannot happen says why and leaves nothing behind.
    QVERIFY(m_memo->WriteFile(m_dir.filePath(QStringLiteral("no/such/folder.txt"))));
}

void TestRxLargeText::answersTheControlsInterface() {
    loadBytes(numberedLines(TRxLargeText::MinimumLines, "\n"));
    TRxRichEdit &memo = *m_memo;
    QSignalSpy changed(&memo, &TRxRichEdit::OnChange);
    QSignalSpy selection(&memo, &TRxRichEdit::OnSelectionChange);
    QSignalSpy modified(memo.document(), &QTextDocument::modificationChanged);
    // The caret's line and column are those of the selection's end, whichever way it runs.
    memo.SelectRange(8, 6);
    QCOMPARE(memo.SelStart(), 6);
    QCOMPARE(memo.SelLength(), 2);
    QCOMPARE(memo.SelText(), QStringLiteral("\r\nl"));
    QCOMPARE(memo.CaretLine(), 1);
    QCOMPARE(memo.CaretColumn(), 1);
    QCOMPARE(selection.count(), 1);
    memo.SetSelText(QStringLiteral("+\r\n+"));
    QCOMPARE(memo.SelText(), QStringLiteral("+\r\n+"));
    QCOMPARE(memo.TextRange(0, 12), QStringLiteral("line 0+\r\n+ine"));
    QCOMPARE(changed.count(), 1);
    QVERIFY(memo.Modified());
    // The document's flag follows, for whoever watches it (the save command, the journal).
    QVERIFY(memo.document()->isModified());
    QCOMPARE(modified.count(), 1);
    QVERIFY(memo.CanUndo());
    memo.Undo();
    QCOMPARE(memo.TextRange(0, 13), QStringLiteral("line 0\r\nline 1"));
    memo.Redo();
    QCOMPARE(memo.TextRange(0, 12), QStringLiteral("line 0+\r\n+ine"));
    memo.SetModified(false);
    QVERIFY(!memo.document()->isModified());

    memo.HoldNotifications();
    memo.SelectRange(0, 4);
    memo.ClearSelection();
    QCOMPARE(changed.count(), 3);
    memo.ReleaseNotifications();
    QCOMPARE(changed.count(), 4);
    QCOMPARE(memo.Lines().Strings(0), QStringLiteral(" 0+"));

    memo.Lines().Add(QStringLiteral("added"));
    QCOMPARE(memo.Lines().Strings(memo.Lines().Count() - 1), QStringLiteral("added"));
    memo.SelectAll();
    QCOMPARE(memo.SelLength(), memo.TextLength());
    memo.SetUndoLimit(0);
    QVERIFY(!memo.CanUndo());
}

void TestRxLargeText::findAndReplace() {
    loadBytes(numberedLines(TRxLargeText::MinimumLines, "\n"));
    TRxRichEdit &memo = *m_memo;
    QSignalSpy notFound(&memo, &TRxRichEdit::OnTextNotFound);
    QCOMPARE(memo.FindText(QStringLiteral("LINE 99999"), 0, -1, {}), memo.TextLength() - 11);
    QCOMPARE(memo.FindText(QStringLiteral("LINE 99999"), 0, -1, TRxRichEdit::stMatchCase), -1);
    QCOMPARE(memo.FindText(QStringLiteral("line 1"), 0, -1, TRxRichEdit::stWholeWord), 7);
    QCOMPARE(memo.FindText(QStringLiteral("line 1"), 0, 100, TRxRichEdit::stWholeWord, true), 7);
    QVERIFY(memo.FindNext(QStringLiteral("line 5"), {}));
    QCOMPARE(memo.SelStart(), 35);
    QVERIFY(memo.FindNext(QStringLiteral("line 5"), {}));
    QCOMPARE(memo.SelText(), QStringLiteral("line 5"));
    QCOMPARE(memo.CaretLine(), 50);
    QVERIFY(!memo.FindNext(QStringLiteral("nowhere"), {}));
    QCOMPARE(notFound.count(), 1);

    memo.SelectRange(0, 0);
    QSignalSpy changed(&memo, &TRxRichEdit::OnChange);
    QCOMPARE(
        memo.ReplaceAll(QStringLiteral("line 9999"), QStringLiteral("L"), TRxRichEdit::stWholeWord),
        1);
    // From the selection's end: the first replacement is left selected.
    QCOMPARE(
        memo.ReplaceAll(QStringLiteral("line 4"), QStringLiteral("L"), TRxRichEdit::stWholeWord),
        0);
    memo.SelectRange(0, 0);
    QCOMPARE(memo.ReplaceAll(QStringLiteral("line 999"), QStringLiteral("L"), {}), 110);
    QCOMPARE(changed.count(), 2);
    QCOMPARE(notFound.count(), 2);
    QCOMPARE(memo.Lines().Strings(999), QStringLiteral("L"));
    QCOMPARE(memo.Lines().Strings(99999), QStringLiteral("L99"));
    // One replace-all is one undo step.
    memo.Undo();
    QCOMPARE(memo.Lines().Strings(999), QStringLiteral("line 999"));
    QCOMPARE(memo.Lines().Strings(9999), QStringLiteral("L"));
}

void TestRxLargeText::keysSentToTheControlEditTheText() {
    loadBytes(numberedLines(TRxLargeText::MinimumLines, "\n"));
    TRxRichEdit &memo = *m_memo;
    QSignalSpy keyDown(&memo, &TRxRichEdit::OnKeyDown);
    QSignalSpy keyUp(&memo, &TRxRichEdit::OnKeyUp);
    // A handler may swallow a character or type another.
    connect(&memo, &TRxRichEdit::OnKeyPress, this, [](QChar &key) {
        if (key == QLatin1Char('q'))
            key = QChar();
        else if (key == QLatin1Char('a'))
            key = QLatin1Char('A');
    });
    QTest::keyClicks(&memo, QStringLiteral("qab"));
    QTest::keyClick(&memo, Qt::Key_Return);
    QCOMPARE(memo.Lines().Strings(0), QStringLiteral("Ab"));
    QCOMPARE(memo.Lines().Strings(1), QStringLiteral("line 0"));
    QCOMPARE(keyDown.count(), 4);
    QCOMPARE(keyUp.count(), 4);
    QVERIFY(memo.Modified());
    // The focus goes to the view; the control counts as focused.
    memo.activateWindow();
    memo.setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&memo));
    QVERIFY(memo.hasFocus());
    QSignalSpy mouseDown(&memo, &TRxRichEdit::OnMouseDown);
    QWidget *area = memo.findChild<PlainTextView *>()->viewport();
    QTest::mouseClick(area, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(mouseDown.count(), 1);
    QCOMPARE(memo.SelStart(), 0);
}

void TestRxLargeText::richTextModeTakesTheTextBack() {
    loadBytes(numberedLines(TRxLargeText::MinimumLines, "\n"));
    TRxRichEdit &memo = *m_memo;
    memo.SelectRange(7, 8);
    memo.SetSelText(QStringLiteral("L"));
    memo.SetPlainText(false);
    QVERIFY(!memo.HoldsLargeText());
    QVERIFY(memo.findChild<PlainTextView *>() == nullptr);
    QCOMPARE(memo.document()->blockCount(), TRxLargeText::MinimumLines + 1);
    QCOMPARE(memo.Lines().Strings(1), QStringLiteral("Line 1"));
    QCOMPARE(memo.SelStart(), 7);
    QCOMPARE(memo.SelLength(), 1);
    QVERIFY(memo.Modified());
}

void TestRxLargeText::printsAndWritesRtfAsTheDocumentWould() {
    const QByteArray bytes = numberedLines(TRxLargeText::MinimumLines, "\n") + "{caf\xC3\xA9}";
    loadBytes(bytes);
    TRxRichEdit &memo = *m_memo;
    QTextDocument document;
    document.setDefaultFont(memo.document()->defaultFont());
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    loadDocument(buffer, document, StreamFormat::PlainText, true);
    QCOMPARE(memo.RtfBytes(), rtfFromDocument(document));
    const QString rtf = m_dir.filePath(QStringLiteral("out.rtf"));
    QVERIFY(!memo.WriteFile(rtf));
    QFile written(rtf);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.readAll(), rtfFromDocument(document));

    // Pages break where they break for the document, a page after the lines it was laid out
    // from included; a null range releases.
    TRxPageRenderer whole(document);
    QImage page(800, 1000, QImage::Format_RGB32);
    QPainter painter(&page);
    TFormatRange range;
    range.painter = &painter;
    range.rc = range.rcPage = QRect(0, 0, 11000, 14000);
    TFormatRange expected = range;
    for (int pageNumber = 0; pageNumber < 12; ++pageNumber) {
        const int next = memo.FormatRange(&range, true);
        QCOMPARE(next, whole.formatRange(expected, false));
        QVERIFY(next > range.cpMin);
        range.cpMin = expected.cpMin = next;
    }
    // The last page ends at the end of the text.
    range.cpMin = expected.cpMin = memo.TextLength() - 20;
    QCOMPARE(memo.FormatRange(&range, false), memo.TextLength());
    QCOMPARE(memo.FormatRange(nullptr, false), 0);
}

QUILLET_TEST_MAIN(TestRxLargeText)
#include "tst_rxlargetext.moc"
