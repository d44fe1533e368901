#include "platform/usererror.h"
#include "richtext/richtextlinks.h"
#include "richtext/rtf/richtextformat.h"
#include "richtext/rtf/rtfformatproperties.h"
#include "richtext/rxrichedit.h"
#include "testenvironment.h"

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QFile>
#include <QHelpEvent>
#include <QImage>
#include <QMimeData>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolTip>
#include <memory>

// Loading and saving through Lines, the clipboard's rich text, links, the display settings and
// the page drawing used for printing.
class TestRxRichEditIo : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void plainTextFileRoundTripsByteForByte_data();
    void plainTextFileRoundTripsByteForByte();
    void loadPutsCaretAtZeroAndForgetsHistory();
    void rtfFileLoadsFormatAndSavesBack();
    void numberedParagraphsFromRtfReadTheirIndents();
    void failedLoadAndSaveRaiseTheirTextsAndKeepEverything();
    void streamFormatDecidesForStreams();
    void copyAndPasteKeepUnderlineTypesAndProtection();
    void copyKeyOnALargeSelectionOffersTheRichText();
    void pasteInPlainTextTakesTextOnly();

    void noteTextShowsOverItsMark();
    void paragraphAfterAHeadingIsNoHeading();
    void urlAtFindsLinks_data();
    void urlAtFindsLinks();
    void clickOnLinkReportsIt();

    void targetLineWidthAndWordWrap();
    void formatRectSetsTheTextArea();
    void formatRangePaginatesToTheEnd();

private:
    QString write(const QString &name, const QByteArray &bytes);

    std::unique_ptr<TRxRichEdit> m_edit;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestRxRichEditIo::init() {
    m_edit = std::make_unique<TRxRichEdit>();
    m_edit->resize(500, 300);
    m_dir = std::make_unique<QTemporaryDir>();
}

void TestRxRichEditIo::cleanup() {
    m_edit.reset();
    m_dir.reset();
}

QString TestRxRichEditIo::write(const QString &name, const QByteArray &bytes) {
    const QString path = m_dir->filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the fixture %s", qPrintable(path));
    return path;
}

void TestRxRichEditIo::plainTextFileRoundTripsByteForByte_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addRow("utf-8 with lf")
        << QByteArray("caf\xC3\xA9\nline two\n") << "café\r\nline two\r\n";
    QTest::addRow("windows-1252 with cr lf")
        << QByteArray("caf\xE9 \x80\r\nend") << QString::fromUtf8("café €\r\nend");
    QTest::addRow("old mac cr") << QByteArray("a\rb\r") << "a\r\nb\r\n";
    QTest::addRow("no final break") << QByteArray("single") << "single";
}

void TestRxRichEditIo::plainTextFileRoundTripsByteForByte() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = write(QStringLiteral("plain.txt"), bytes);
    m_edit->Lines().LoadFromFile(path);
    QCOMPARE(m_edit->Text(), text);
    const QString copy = m_dir->filePath(QStringLiteral("copy.txt"));
    m_edit->Lines().SaveToFile(copy);
    QFile saved(copy);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QCOMPARE(saved.readAll(), bytes);
}

void TestRxRichEditIo::loadPutsCaretAtZeroAndForgetsHistory() {
    m_edit->SetText(QStringLiteral("old text"));
    m_edit->SelectRange(3, 8);
    m_edit->SetSelText(QStringLiteral("changed"));
    QVERIFY(m_edit->CanUndo());
    m_edit->Lines().LoadFromFile(write(QStringLiteral("new.txt"), "new\ntext"));
    QCOMPARE(m_edit->SelStart(), 0);
    QCOMPARE(m_edit->SelLength(), 0);
    QVERIFY(!m_edit->Modified());
    QVERIFY(!m_edit->CanUndo());
    QCOMPARE(m_edit->Lines().Count(), 2);
}

void TestRxRichEditIo::rtfFileLoadsFormatAndSavesBack() {
    QUILLET_REQUIRE_CORPUS();
    m_edit->Lines().LoadFromFile(QStringLiteral(QUILLET_CORPUS "/rtf/pandoc-formatting.rtf"));
    const QString text = m_edit->Text();
    const int bold = text.indexOf(QLatin1String("bold"));
    QVERIFY(bold > 0);
    m_edit->SelectRange(bold, bold + 4);
    QVERIFY(m_edit->SelAttributes().Style().testFlag(TRxTextAttributes::fsBold));
    m_edit->SelectAll();
    QVERIFY(!m_edit->SelAttributes().Consistent().testFlag(TRxTextAttributes::caBold));

    const QString path = m_dir->filePath(QStringLiteral("again.RTF"));
    m_edit->Lines().SaveToFile(path);
    TRxRichEdit other;
    other.Lines().LoadFromFile(path);
    QCOMPARE(other.Text(), text);
    other.SelectRange(bold, bold + 4);
    QVERIFY(other.SelAttributes().Style().testFlag(TRxTextAttributes::fsBold));
}

void TestRxRichEditIo::numberedParagraphsFromRtfReadTheirIndents() {
    QUILLET_REQUIRE_CORPUS();
    m_edit->Lines().LoadFromFile(QStringLiteral(QUILLET_CORPUS "/rtf/pandoc-list_legacy.rtf"));
    m_edit->SelectRange(0, 0);
    QCOMPARE(m_edit->Paragraph().Numbering(), int(TRxParaAttributes::nsArabicNumbers));
    QCOMPARE(m_edit->Paragraph().FirstIndent(), 0);
    QCOMPARE(m_edit->Paragraph().LeftIndent(), 18);
    const int bulleted = m_edit->Text().indexOf(QLatin1String("Bulleted"));
    m_edit->SelectRange(bulleted, bulleted);
    QCOMPARE(m_edit->Paragraph().Numbering(), int(TRxParaAttributes::nsBullet));
}

void TestRxRichEditIo::failedLoadAndSaveRaiseTheirTextsAndKeepEverything() {
    m_edit->SetText(QStringLiteral("keep me"));
    m_edit->SetModified(true);
    try {
        m_edit->Lines().LoadFromFile(m_dir->filePath(QStringLiteral("missing.txt")));
        QFAIL("a missing file loaded");
    } catch (const UserError &error) {
        QCOMPARE(error.text(), QStringLiteral("Failed to Load Stream"));
    }
    QCOMPARE(m_edit->Text(), QStringLiteral("keep me"));
    QVERIFY(m_edit->Modified());

    try {
        m_edit->Lines().SaveToFile(m_dir->filePath(QStringLiteral("no/such/folder/x.txt")));
        QFAIL("a save into a missing folder succeeded");
    } catch (const UserError &error) {
        QCOMPARE(error.text(), QStringLiteral("Failed to Save Stream"));
    }
    QBuffer closed;
    try {
        m_edit->Lines().SaveToStream(closed);
        QFAIL("a save to a closed stream succeeded");
    } catch (const UserError &error) {
        QCOMPARE(error.text(), QStringLiteral("Failed to Save Stream"));
    }
}

void TestRxRichEditIo::streamFormatDecidesForStreams() {
    const QByteArray rtf("{\\rtf1\\ansi {\\b bold} plain}");
    QBuffer buffer;
    buffer.setData(rtf);
    buffer.open(QIODevice::ReadOnly);
    // Plain text mode with the default format shows the RTF source as text.
    m_edit->SetPlainText(true);
    m_edit->Lines().LoadFromStream(buffer);
    QCOMPARE(m_edit->Text(), QString::fromLatin1(rtf));

    m_edit->SetPlainText(false);
    buffer.seek(0);
    m_edit->Lines().LoadFromStream(buffer);
    QCOMPARE(m_edit->Text(), QStringLiteral("bold plain"));

    m_edit->SetStreamFormat(TRxRichEdit::sfPlainText);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    m_edit->Lines().SaveToStream(out);
    QCOMPARE(out.data(), QByteArray("bold plain"));
    m_edit->SetStreamFormat(TRxRichEdit::sfRichText);
    QBuffer rich;
    rich.open(QIODevice::WriteOnly);
    m_edit->Lines().SaveToStream(rich);
    QVERIFY(rich.data().startsWith("{\\rtf1"));
}

void TestRxRichEditIo::copyAndPasteKeepUnderlineTypesAndProtection() {
    m_edit->SetText(QStringLiteral("wave marker plain"));
    m_edit->SelectRange(0, 4);
    m_edit->SelAttributes().SetUnderlineType(RichTextFormat::utWave);
    m_edit->SelectRange(5, 11);
    m_edit->SelAttributes().SetProtected(true);
    m_edit->SelAttributes().SetUnderlineType(RichTextFormat::utWord);
    m_edit->SelectRange(0, 11);
    m_edit->CopyToClipboard();
    const QMimeData *offered = QApplication::clipboard()->mimeData();
    QVERIFY(offered->hasFormat(QStringLiteral("text/rtf")));
    // HTML knows no words-only underline: programs reading it get a full one, not none.
    QTextDocument html;
    html.setHtml(offered->html());
    QTextCursor marker(&html);
    marker.setPosition(6);
    QVERIFY(marker.charFormat().fontUnderline());
    m_edit->SelectRange(5, 11);
    QCOMPARE(m_edit->SelAttributes().UnderlineType(), int(RichTextFormat::utWord));

    TRxRichEdit other;
    other.SetText(QStringLiteral("|"));
    other.SelectRange(1, 1);
    other.PasteFromClipboard();
    QCOMPARE(other.Text(), QStringLiteral("|wave marker"));
    other.SelectRange(1, 5);
    QCOMPARE(other.SelAttributes().UnderlineType(), int(RichTextFormat::utWave));
    other.SelectRange(6, 12);
    QVERIFY(other.SelAttributes().Protected());
    QCOMPARE(other.SelAttributes().UnderlineType(), int(RichTextFormat::utWord));
}

// Keys that select offer a large selection to the primary selection as plain text only (a
// document copy of a million paragraphs stopped the window for most of a minute); Copy still
// offers everything.
void TestRxRichEditIo::copyKeyOnALargeSelectionOffersTheRichText() {
    const QString line = QStringLiteral("Line of text, long enough to fill a large selection.\r\n");
    m_edit->SetText(line.repeated(3000) + QStringLiteral("end"));
    m_edit->show();
    m_edit->setFocus();
    QTest::keyClick(m_edit.get(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(m_edit.get(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData *offered = QApplication::clipboard()->mimeData();
    QVERIFY(offered->hasFormat(QStringLiteral("text/rtf")));
    QVERIFY(offered->hasHtml());
    QVERIFY(offered->text().endsWith(QStringLiteral("\nend")));
    QCOMPARE(offered->text().count(QLatin1Char('\n')), 3000);
}

void TestRxRichEditIo::pasteInPlainTextTakesTextOnly() {
    auto *data = new QMimeData;
    data->setHtml(QStringLiteral("<b>bold</b>"));
    data->setText(QStringLiteral("bold\nline"));
    data->setImageData(QImage(4, 4, QImage::Format_RGB32));
    QApplication::clipboard()->setMimeData(data);
    m_edit->SetPlainText(true);
    QVERIFY(m_edit->CanPaste());
    QVERIFY(m_edit->CanPasteFormat(QStringLiteral("text/plain")));
    QVERIFY(!m_edit->CanPasteFormat(QStringLiteral("image/png")));
    m_edit->PasteFromClipboard();
    QCOMPARE(m_edit->Text(), QStringLiteral("bold\r\nline"));
    m_edit->SelectAll();
    QVERIFY(!m_edit->SelAttributes().Style().testFlag(TRxTextAttributes::fsBold));
    m_edit->SetPlainText(false);
    QVERIFY(m_edit->CanPasteFormat(QStringLiteral("image/png")));
    QVERIFY(m_edit->CanPasteFormat(QStringLiteral("text/rtf")) ||
            !m_edit->CanPasteFormat(QStringLiteral("application/x-unknown")));
}

void TestRxRichEditIo::urlAtFindsLinks_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("url");
    QTest::addRow("web address") << "see http://example.org/a?b=1 now" << 10
                                 << "http://example.org/a?b=1";
    QTest::addRow("closing full stop is not part")
        << "go to www.example.org." << 8 << "www.example.org";
    QTest::addRow("mail") << "mailto:someone@example.org" << 0 << "mailto:someone@example.org";
    QTest::addRow("in brackets") << "(https://x.org)" << 3 << "https://x.org";
    QTest::addRow("blank beside it") << "http://x.org y" << 12 << "";
    QTest::addRow("plain word") << "httpx://nothing" << 2 << "";
    QTest::addRow("scheme alone") << "http:// " << 1 << "";
}

void TestRxRichEditIo::urlAtFindsLinks() {
    QFETCH(QString, text);
    QFETCH(int, offset);
    QFETCH(QString, url);
    QCOMPARE(RichTextLinks::urlAt(text, offset), url);
}

void TestRxRichEditIo::noteTextShowsOverItsMark() {
    m_edit->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_edit.get()));
    QBuffer buffer;
    buffer.setData("{\\rtf1\\ansi Text{\\super\\chftn}{\\footnote \\pard\\plain{\\super\\chftn} "
                   "The note.} and more text\\par}");
    buffer.open(QIODevice::ReadOnly);
    m_edit->Lines().LoadFromStream(buffer);
    QTextCursor at(m_edit->document());
    const auto toolTipAt = [this, &at](int position) {
        at.setPosition(position);
        const QPoint point = m_edit->cursorRect(at).center() + QPoint(2, 0);
        QHelpEvent help(QEvent::ToolTip, point, m_edit->viewport()->mapToGlobal(point));
        QApplication::sendEvent(m_edit->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    };
    QCOMPARE(toolTipAt(4), QStringLiteral("The note."));
    QTRY_COMPARE(toolTipAt(10), QString());
}

void TestRxRichEditIo::paragraphAfterAHeadingIsNoHeading() {
    QBuffer buffer;
    buffer.setData("{\\rtf1\\ansi{\\stylesheet{\\s1\\keepn\\outlinelevel0\\sb240\\b heading 1;}}"
                   "\\pard\\s1 Title\\par\\pard Body\\par}");
    buffer.open(QIODevice::ReadOnly);
    m_edit->Lines().LoadFromStream(buffer);
    m_edit->SelectRange(5, 5, false);
    QTest::keyClick(m_edit.get(), Qt::Key_Return);
    const QTextBlock heading = m_edit->document()->begin();
    const QTextBlock typed = heading.next();
    QCOMPARE(heading.blockFormat().intProperty(RtfFormatProperty::OutlineLevel), 0);
    QVERIFY(!typed.blockFormat().hasProperty(RtfFormatProperty::OutlineLevel));
    QVERIFY(!typed.blockFormat().hasProperty(RtfFormatProperty::StyleNumber));
    QVERIFY(!typed.blockFormat().boolProperty(RtfFormatProperty::KeepWithNext));
    // Split inside the heading, both halves stay headings.
    m_edit->SelectRange(2, 2, false);
    QTest::keyClick(m_edit.get(), Qt::Key_Return);
    QCOMPARE(m_edit->document()->begin().next().blockFormat().intProperty(
                 RtfFormatProperty::StyleNumber),
             1);
}

void TestRxRichEditIo::clickOnLinkReportsIt() {
    m_edit->show();
    m_edit->SetText(QStringLiteral("visit https://example.org today"));
    QSignalSpy clicks(m_edit.get(), &TRxRichEdit::OnURLClick);
    QTextCursor at(m_edit->document());
    at.setPosition(12);
    const QPoint onLink = m_edit->cursorRect(at).center() + QPoint(2, 0);
    QTest::mouseClick(m_edit->viewport(), Qt::LeftButton, {}, onLink);
    QCOMPARE(clicks.count(), 1);
    QCOMPARE(clicks.at(0).at(0).toString(), QStringLiteral("https://example.org"));
    QCOMPARE(clicks.at(0).at(1).value<Qt::MouseButton>(), Qt::LeftButton);
    at.setPosition(2);
    QTest::mouseClick(m_edit->viewport(), Qt::LeftButton, {}, m_edit->cursorRect(at).center());
    QCOMPARE(clicks.count(), 1);
}

void TestRxRichEditIo::targetLineWidthAndWordWrap() {
    m_edit->SetWordWrap(false);
    QCOMPARE(m_edit->lineWrapMode(), QTextEdit::NoWrap);
    // 1440 twips are one inch, 96 units.
    m_edit->SetTargetLineWidth(1440);
    QCOMPARE(m_edit->lineWrapMode(), QTextEdit::FixedPixelWidth);
    QCOMPARE(m_edit->lineWrapColumnOrWidth(), 96);
    QVERIFY(!m_edit->WordWrap());
    m_edit->SetWordWrap(true);
    QCOMPARE(m_edit->TargetLineWidth(), 0);
    QCOMPARE(m_edit->lineWrapMode(), QTextEdit::WidgetWidth);
    m_edit->SetScrollBars(TRxRichEdit::ssVertical);
    QCOMPARE(m_edit->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    QCOMPARE(m_edit->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
}

void TestRxRichEditIo::formatRectSetsTheTextArea() {
    m_edit->show();
    const QRect client = m_edit->contentsRect();
    m_edit->SetFormatRect(QRect(QPoint(6, 0), QPoint(client.width() - 7, client.height() - 1)));
    QCOMPARE(m_edit->viewport()->geometry().left() - client.left(), 6);
    QCOMPARE(client.right() - m_edit->viewport()->geometry().right(), 6);
    // A rectangle wider than the window is cut at its edge.
    m_edit->SetFormatRect(QRect(10, 0, 5000, client.height()));
    QCOMPARE(m_edit->viewport()->geometry().right(), client.right());
    m_edit->SetFormatRect(QRect());
    QCOMPARE(m_edit->viewport()->geometry(), client);
}

void TestRxRichEditIo::formatRangePaginatesToTheEnd() {
    QStringList lines;
    for (int i = 0; i < 300; ++i)
        lines << QStringLiteral("Line %1 of the printed text").arg(i);
    m_edit->SetText(lines.join(QStringLiteral("\r\n")));
    QImage page(850, 1100, QImage::Format_RGB32);
    page.setDotsPerMeterX(100 * 39.37);
    page.setDotsPerMeterY(100 * 39.37);
    TFormatRange range;
    range.rc = QRect(1440, 1440, 6 * 1440, 9 * 1440);
    range.rcPage = range.rc;
    QList<int> starts;
    int start = 0;
    const int length = m_edit->TextLength();
    while (start < length) {
        page.fill(Qt::white);
        QPainter painter(&page);
        range.painter = &painter;
        range.cpMin = start;
        const int next = m_edit->FormatRange(&range, true);
        range.cpMin = next;
        range.painter = nullptr;
        range.target = &page;
        const int measured = next < length ? m_edit->FormatRange(&range, false) : length;
        range.target = nullptr;
        QVERIFY(next > start);
        QVERIFY(measured > next || next == length);
        starts << start;
        start = next;
        // Ink lies only inside the body rectangle.
        QVERIFY(page.copy(0, 0, 850, 95).allGray());
        QCOMPARE(page.pixelColor(0, 0), QColor(Qt::white));
    }
    QVERIFY(starts.size() > 3);
    // Every page starts at the beginning of a paragraph here (no line wraps).
    for (int s : starts)
        QCOMPARE(m_edit->TextRange(s, s + 5), QStringLiteral("Line "));
    QCOMPARE(m_edit->FormatRange(nullptr, false), 0);
}

QUILLET_TEST_MAIN(TestRxRichEditIo)
#include "tst_rxrichedit_io.moc"
