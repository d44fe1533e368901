#include "convert/rtfconvert.h"
#include "testenvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

namespace {

bool writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString run(const QString &program, const QStringList &arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QStringLiteral("<failed: %1>")
            .arg(QString::fromUtf8(process.readAllStandardError()));
    return QString::fromUtf8(process.readAllStandardOutput());
}

int pageCount(const QString &pdf) {
    const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                   QRegularExpression::MultilineOption);
    return pages.match(run(QStringLiteral("pdfinfo"), {pdf})).captured(1).toInt();
}

// The text of one page, without the direction marks pdftotext puts around right-to-left runs.
QString pageText(const QString &pdf, int page) {
    const QString n = QString::number(page);
    QString text = run(QStringLiteral("pdftotext"), {QStringLiteral("-f"), n, QStringLiteral("-l"),
                                                     n, pdf, QStringLiteral("-")});
    text.removeIf([](QChar c) { return c.category() == QChar::Other_Format; });
    return text;
}

int convert(const QStringList &arguments, QString *messages = nullptr) {
    QString errors;
    QTextStream err(&errors);
    const int code = RtfConvert::run(arguments, err, false);
    err.flush();
    if (messages)
        *messages = errors;
    return code;
}

} // namespace

// Documents printed to PDF by quillet-convert through the print component, read back with
// poppler's tools: pages, footers, text order, page breaks, paper and margins.
class tst_PrintPdf : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void longDocumentPagesInOrder();
    void pageBreaksStartPages_data();
    void pageBreaksStartPages();
    void paperAndMargins_data();
    void paperAndMargins();
    void optionErrors_data();
    void optionErrors();
    void corpusDocuments_data();
    void corpusDocuments();

private:
    QTemporaryDir m_dir;
};

void tst_PrintPdf::initTestCase() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty())
        QSKIP("poppler-utils (pdftotext, pdfinfo) are not installed");
    QVERIFY(m_dir.isValid());
}

void tst_PrintPdf::longDocumentPagesInOrder() {
    QByteArray rtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Liberation Serif;}}\\f0\\fs24 ");
    for (int i = 1; i <= 400; ++i)
        rtf += "Paragraph " + QByteArray::number(i) + " of the long document.\\par ";
    rtf += "}";
    const QString in = m_dir.filePath(QStringLiteral("long.rtf"));
    const QString out = m_dir.filePath(QStringLiteral("long.pdf"));
    QVERIFY(writeFile(in, rtf));
    QCOMPARE(convert({in, out}), 0);
    const int pages = pageCount(out);
    QVERIFY2(pages >= 5, qPrintable(QString::number(pages)));
    int expected = 1;
    for (int page = 1; page <= pages; ++page) {
        const QString text = pageText(out, page);
        QVERIFY2(text.contains(QStringLiteral("Page %1\n").arg(page)), qPrintable(text));
        const QRegularExpression paragraph(QStringLiteral("Paragraph (\\d+) of"));
        for (auto it = paragraph.globalMatch(text); it.hasNext();)
            QCOMPARE(it.next().captured(1).toInt(), expected++);
    }
    QCOMPARE(expected, 401);
}

void tst_PrintPdf::pageBreaksStartPages_data() {
    QTest::addColumn<QByteArray>("rtf");
    QTest::addColumn<QStringList>("pages");
    QTest::addRow("page control word")
        << QByteArray("{\\rtf1 First\\par\\page Second\\par Third\\par}")
        << QStringList{QStringLiteral("First"), QStringLiteral("Second\nThird")};
    QTest::addRow("protected marker")
        << QByteArray("{\\rtf1 One\\par {\\protect <<Page Break>>}\\par Two\\par}")
        << QStringList{QStringLiteral("One\n<<Page Break>>"), QStringLiteral("Two")};
    QTest::addRow("unprotected marker text")
        << QByteArray("{\\rtf1 One\\par <<Page Break>>\\par Two\\par}")
        << QStringList{QStringLiteral("One\n<<Page Break>>\nTwo")};
    QTest::addRow("empty document") << QByteArray("{\\rtf1 }") << QStringList{QString()};
}

void tst_PrintPdf::pageBreaksStartPages() {
    QFETCH(QByteArray, rtf);
    QFETCH(QStringList, pages);
    const QString in = m_dir.filePath(QStringLiteral("breaks.rtf"));
    const QString out = m_dir.filePath(QStringLiteral("breaks.pdf"));
    QVERIFY(writeFile(in, rtf));
    QCOMPARE(convert({in, out}), 0);
    QCOMPARE(pageCount(out), int(pages.size()));
    for (int page = 1; page <= pages.size(); ++page) {
        QString body = pageText(out, page).trimmed();
        // The footer closes every page.
        const QString footer = QStringLiteral("Page %1").arg(page);
        QVERIFY2(body.endsWith(footer), qPrintable(body));
        body = body.chopped(footer.size()).trimmed();
        QCOMPARE(body.replace(QLatin1String("\n\n"), QLatin1String("\n")), pages[page - 1]);
    }
}

void tst_PrintPdf::paperAndMargins_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("size");
    QTest::addColumn<double>("leftMm");
    QTest::addRow("defaults") << QStringList() << "595 x 842 pts (A4)" << 15.0;
    QTest::addRow("letter") << QStringList{QStringLiteral("--paper"), QStringLiteral("letter")}
                            << "612 x 792 pts (letter)" << 15.0;
    QTest::addRow("margins") << QStringList{QStringLiteral("--margins"), QStringLiteral("40"),
                                            QStringLiteral("--paper"), QStringLiteral("A4")}
                             << "595 x 842 pts (A4)" << 40.0;
}

void tst_PrintPdf::paperAndMargins() {
    QFETCH(QStringList, options);
    QFETCH(QString, size);
    QFETCH(double, leftMm);
    const QString in = m_dir.filePath(QStringLiteral("margins.rtf"));
    const QString out = m_dir.filePath(QStringLiteral("margins.pdf"));
    QVERIFY(writeFile(in, "{\\rtf1 Word\\par}"));
    QCOMPARE(convert(options + QStringList{in, out}), 0);
    QVERIFY(run(QStringLiteral("pdfinfo"), {out}).contains(size));
    const QString boxes =
        run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), out, QStringLiteral("-")});
    const QRegularExpression word(
        QStringLiteral("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>Word<"));
    const QRegularExpressionMatch match = word.match(boxes);
    QVERIFY2(match.hasMatch(), qPrintable(boxes));
    const double leftPt = leftMm / 25.4 * 72;
    QVERIFY2(qAbs(match.captured(1).toDouble() - leftPt) < 2, qPrintable(match.captured(1)));
}

void tst_PrintPdf::optionErrors_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::addRow("unknown paper")
        << QStringList{QStringLiteral("--paper"), QStringLiteral("b5"), QStringLiteral("%1/in.rtf"),
                       QStringLiteral("%1/out.pdf")}
        << "quillet-convert: --paper must be letter or a4, not b5\n";
    QTest::addRow("margins no number")
        << QStringList{QStringLiteral("--margins"), QStringLiteral("wide"),
                       QStringLiteral("%1/in.rtf"), QStringLiteral("%1/out.pdf")}
        << "quillet-convert: --margins needs a number of millimetres, not wide\n";
    QTest::addRow("negative margins")
        << QStringList{QStringLiteral("%1/in.rtf"), QStringLiteral("%1/out.pdf"),
                       QStringLiteral("--margins"), QStringLiteral("-5")}
        << "quillet-convert: --margins needs a number of millimetres, not -5\n";
    QTest::addRow("option without value")
        << QStringList{QStringLiteral("%1/in.rtf"), QStringLiteral("%1/out.pdf"),
                       QStringLiteral("--paper")}
        << "quillet-convert: --paper needs a value\n";
    QTest::addRow("page options for text")
        << QStringList{QStringLiteral("--paper"), QStringLiteral("a4"), QStringLiteral("%1/in.rtf"),
                       QStringLiteral("%1/out.txt")}
        << "quillet-convert: --paper and --margins apply to a .pdf output only\n";
}

void tst_PrintPdf::optionErrors() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    QVERIFY(writeFile(m_dir.filePath(QStringLiteral("in.rtf")), "{\\rtf1 x\\par}"));
    for (QString &argument : arguments)
        if (argument.contains(QLatin1String("%1")))
            argument = argument.arg(m_dir.path());
    QString messages;
    QCOMPARE(convert(arguments, &messages), int(RtfConvert::Usage));
    QVERIFY2(messages.startsWith(message), qPrintable(messages));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("out.pdf"))));
    QVERIFY(!QFile::exists(m_dir.filePath(QStringLiteral("out.txt"))));
}

void tst_PrintPdf::corpusDocuments_data() {
    QTest::addColumn<QString>("file");
    if (QStringLiteral(QUILLET_CORPUS).isEmpty())
        return;
    const QDir corpus(QStringLiteral(QUILLET_CORPUS "/rtf"));
    for (const QString &name : corpus.entryList({QStringLiteral("*.rtf")}, QDir::Files))
        QTest::addRow("%s", qPrintable(name)) << corpus.filePath(name);
}

// Every corpus document prints, each page with its footer, its text in the document's order.
void tst_PrintPdf::corpusDocuments() {
    QUILLET_REQUIRE_CORPUS();
    QFETCH(QString, file);
    const QString out = m_dir.filePath(QStringLiteral("corpus.pdf"));
    const QString txt = m_dir.filePath(QStringLiteral("corpus.txt"));
    QString messages;
    const int code = convert({file, out}, &messages);
    if (code == RtfConvert::InputFailed)
        QSKIP("the document does not load");
    QCOMPARE(code, 0);
    const int pages = pageCount(out);
    QVERIFY(pages >= 1);
    for (int page = 1; page <= pages; ++page)
        QVERIFY(pageText(out, page).contains(QStringLiteral("Page %1\n").arg(page)));
    // The words of the text, as plain text would have them, come in the same order.
    QCOMPARE(convert({file, txt}), 0);
    QFile plain(txt);
    QVERIFY(plain.open(QIODevice::ReadOnly));
    const QStringList words =
        QString::fromUtf8(plain.readAll())
            .split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)
            .mid(0, 12);
    QString printed = run(QStringLiteral("pdftotext"), {out, QStringLiteral("-")});
    qsizetype at = 0;
    // pdftotext spells some words apart (ligatures, small capitals): those are passed over.
    const QRegularExpression plainWord(QStringLiteral("^[A-Za-z]{4,}$"));
    int candidates = 0;
    int found = 0;
    for (const QString &word : words) {
        if (!plainWord.match(word).hasMatch())
            continue;
        ++candidates;
        const qsizetype next = printed.indexOf(word, at);
        if (next < 0) {
            QVERIFY2(printed.indexOf(word) < 0, qPrintable(word + QStringLiteral(" out of order")));
            continue;
        }
        ++found;
        at = next;
    }
    QVERIFY(found * 2 >= candidates);
}

QUILLET_TEST_MAIN(tst_PrintPdf)
#include "tst_printpdf.moc"
