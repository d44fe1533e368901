#include "editor/document/documentstate.h"
#include "editor/frame/editoractions.h"
#include "editor/insert/insertcommands.h"
#include "editor/insert/inserttext.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QImageWriter>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QtTest>
#include <memory>

using InsertText::DateItem;

// The Insert menu's commands through the editor window, and the texts they generate.
class tst_InsertCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;
    QTemporaryDir m_dir;

    TRxRichEdit &memo() { return m_form->Memo(); }
    TEditorActions &actions() { return m_form->actions(); }
    TInsertCommands &insert() { return m_form->insertCommands(); }

    QString writeFile(const QString &name, const QByteArray &bytes) {
        const QString path = m_dir.filePath(name);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            return {};
        return path;
    }

    QString writePicture(const QString &name, const char *format) {
        QImage image(8, 4, QImage::Format_RGB32);
        image.fill(Qt::green);
        const QString path = m_dir.filePath(name);
        return image.save(path, format) ? path : QString();
    }

    QByteArray fixture(const char *name) {
        QFile file(QStringLiteral(QUILLET_TEST_DATA "/editor/") + QLatin1String(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The format of the first embedded picture in the text.
    QTextCharFormat pictureFormat() {
        for (QTextBlock block = memo().document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                if (it.fragment().charFormat().isImageFormat())
                    return it.fragment().charFormat();
            }
        }
        return {};
    }

    // The number of embedded pictures in the text.
    int pictures() {
        return int(memo().document()->toRawText().count(QChar::ObjectReplacementCharacter));
    }

private slots:
    void init() {
        QVERIFY(m_dir.isValid());
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_services = std::make_unique<EditorServices>();
        m_form = std::make_unique<TMainForm>(m_services->context(*m_prompts));
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
        insert().locale = QLocale(QLocale::English, QLocale::UnitedStates);
    }

    void cleanup() {
        m_form.reset();
        QCOMPARE(m_prompts->unexpectedCount(), 0);
        m_prompts.reset();
    }

    void dateTexts_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("item");
        QTest::addColumn<QString>("text");
        const QDate saturday(2001, 10, 13);
        QTest::addRow("mm.yy") << saturday << int(DateItem::MonthYear) << "10.01";
        QTest::addRow("mmmm yyyy") << saturday << int(DateItem::LongMonthYear) << "October 2001";
        QTest::addRow("dd.mm.yy") << saturday << int(DateItem::DayMonthYear) << "13.10.01";
        QTest::addRow("dd.mmm.yy") << saturday << int(DateItem::DayShortMonthYear) << "13.Oct.01";
        QTest::addRow("dd.mm.yyyy") << saturday << int(DateItem::DayMonthLongYear) << "13.10.2001";
        QTest::addRow("mmm ddth yyyy") << saturday << int(DateItem::MonthDayTh) << "Oct 13th 2001";
        QTest::addRow("th whatever the day")
            << QDate(2001, 10, 2) << int(DateItem::MonthDayTh) << "Oct 02th 2001";
        QTest::addRow("dd.mmm.yyyy")
            << saturday << int(DateItem::DayShortMonthLongYear) << "13.Oct.2001";
        QTest::addRow("ddd d mmmm yyyy")
            << saturday << int(DateItem::ShortDayName) << "Sat 13 October 2001";
        QTest::addRow("dddd d mmmmm yyyy")
            << saturday << int(DateItem::LongDayName) << "Saturday 13 October 2001";
        QTest::addRow("single-digit day")
            << QDate(2009, 1, 5) << int(DateItem::ShortDayName) << "Mon 5 January 2009";
        QTest::addRow("two-digit year of 2000")
            << QDate(2000, 3, 1) << int(DateItem::DayMonthYear) << "01.03.00";
    }

    void dateTexts() {
        QFETCH(QDate, date);
        QFETCH(int, item);
        QFETCH(QString, text);
        QCOMPARE(InsertText::DateText(DateItem(item), date, QLocale(QLocale::English)), text);
    }

    void dateCommandsReplaceTheSelectionAndPutTheCaretAtTheEnd_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("inserted");
        QTest::addRow("01.01") << "N01011"
                               << " 10.01 ";
        QTest::addRow("Oct 13th 2001") << "Oct13th20011"
                                       << " Oct 02th 2001 ";
        QTest::addRow("tool button") << "DateBut"
                                     << " Tue 2 October 2001 ";
        QTest::addRow("long day name") << "Mo1thJanuary20011"
                                       << " Tuesday 2 October 2001 ";
    }

    void dateCommandsReplaceTheSelectionAndPutTheCaretAtTheEnd() {
        QFETCH(QString, command);
        QFETCH(QString, inserted);
        insert().clock = [] { return QDateTime(QDate(2001, 10, 2), QTime(9, 5, 7)); };
        memo().SetText(QStringLiteral("one XX two\nlast line"));
        memo().SelectRange(4, 6, false);
        QAction *action = command == QLatin1String("N01011")         ? actions().N01011
                          : command == QLatin1String("Oct13th20011") ? actions().Oct13th20011
                          : command == QLatin1String("DateBut")      ? actions().DateBut
                                                                     : actions().Mo1thJanuary20011;
        QVERIFY(action->isEnabled());
        action->trigger();
        QCOMPARE(memo().Text(),
                 QStringLiteral("one ") + inserted + QStringLiteral(" two\r\nlast line"));
        QCOMPARE(memo().SelStart(), memo().TextLength());
        QCOMPARE(memo().SelLength(), 0);
    }

    void timeIsInsertedWithoutTimeZone() {
        insert().clock = [] { return QDateTime(QDate(2001, 10, 2), QTime(21, 5, 7)); };
        memo().SetText(QString());
        actions().InsTimeAction->trigger();
        const QString text = memo().Text();
        QVERIFY2(text.startsWith(QLatin1String(" 9:05:07 PM")), qPrintable(text));
        QVERIFY(text.endsWith(QLatin1Char(' ')));
        QCOMPARE(text, QStringLiteral(" 9:05:07 PM "));
    }

    void fileNameCommands_data() {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("name"); // %1: the folder with its closing "/"
        QTest::addRow("FileName") << true << "FileName5"
                                  << "%1letter.txt";
        QTest::addRow("FileName 8_3") << true << "FileName831"
                                      << "letter.txt";
        QTest::addRow("FilePath") << true << "FilePath1"
                                  << "%1";
        QTest::addRow("FilePath 8_3") << true << "FilePath831"
                                      << "%1letter.txt";
        QTest::addRow("FileName unsaved") << false << "FileName5"
                                          << "Untitled";
        QTest::addRow("FileName 8_3 unsaved") << false << "FileName831"
                                              << "";
        QTest::addRow("FilePath 8_3 unsaved") << false << "FilePath831"
                                              << "";
        QTest::addRow("FilePath unsaved") << false << "FilePath1"
                                          << "";
    }

    void fileNameCommands() {
        QFETCH(bool, saved);
        QFETCH(QString, command);
        QFETCH(QString, name);
        const QString folder = m_dir.path() + QLatin1Char('/');
        if (saved) {
            const QString path = writeFile(QStringLiteral("letter.txt"), "x");
            QVERIFY(!path.isEmpty());
            m_form->document().SetDocumentName(path);
        }
        memo().SetText(QStringLiteral("ab\ncd"));
        memo().SelectRange(0, 2, false);
        QAction *action = command == QLatin1String("FileName5")     ? actions().FileName5
                          : command == QLatin1String("FileName831") ? actions().FileName831
                          : command == QLatin1String("FilePath1")   ? actions().FilePath1
                                                                    : actions().FilePath831;
        action->trigger();
        // The selected characters stay in front of the name.
        QCOMPARE(memo().Text(),
                 QStringLiteral("ab ") + name.arg(folder) + QStringLiteral(" \r\ncd"));
        QCOMPARE(memo().SelStart(), memo().TextLength());
    }

    void addedFileText_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::addRow("no final line break") << QByteArray("one\ntwo") << "one\r\ntwo\r\n";
        QTest::addRow("final line break") << QByteArray("one\r\ntwo\r\n") << "one\r\ntwo\r\n";
        QTest::addRow("every kind of break")
            << QByteArray("a\rb\nc\r\n\r\nd") << "a\r\nb\r\nc\r\n\r\nd\r\n";
        QTest::addRow("zero byte ends the text")
            << QByteArray("keep\nthis\0gone\n", 15) << "keep\r\nthis\r\n";
        QTest::addRow("zero byte first") << QByteArray("\0all gone", 9) << "";
        QTest::addRow("empty") << QByteArray() << "";
        QTest::addRow("Windows-1252") << QByteArray("caf\xe9") << QString::fromUtf8("café\r\n");
        QTest::addRow("UTF-8") << QByteArray("caf\xc3\xa9") << QString::fromUtf8("café\r\n");
    }

    void addedFileText() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(InsertText::AddedFileText(bytes), text);
    }

    void addTextFileInsertsAfterTheSelection() {
        const QString path =
            writeFile(QStringLiteral("add.txt"), QByteArray("new\nlines\0junk", 14));
        memo().SetText(QStringLiteral("start end"));
        memo().SelectRange(0, 5, false);
        const QString name = m_form->document().DocumentName;
        m_prompts->answerOpen({path});
        actions().AddTxtFileAction->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("startnew\r\nlines\r\n end"));
        // The caret sits right behind the inserted text, nothing selected.
        QCOMPARE(memo().SelStart(), 15);
        QCOMPARE(memo().SelLength(), 0);
        QCOMPARE(m_form->document().DocumentName, name);
        QVERIFY(!QApplication::overrideCursor());
    }

    void addTextFileErrorsLeaveTheDocumentAlone_data() {
        QTest::addColumn<QString>("file");
        QTest::addRow("missing") << "missing.txt";
        QTest::addRow("a folder") << "";
    }

    void addTextFileErrorsLeaveTheDocumentAlone() {
        QFETCH(QString, file);
        const QString path = file.isEmpty() ? m_dir.path() : m_dir.filePath(file);
        memo().SetText(QStringLiteral("unchanged"));
        m_prompts->answerOpen({path});
        m_prompts->answerButton(QMessageBox::Ok);
        actions().AddTxtFileAction->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("unchanged"));
        QVERIFY(m_prompts->texts().last().startsWith(QStringLiteral("Cannot open file \"") + path));
        QVERIFY(!QApplication::overrideCursor());
        // Cancel asks nothing further and changes nothing.
        m_prompts->clear();
        m_prompts->answerOpen({});
        actions().AddTxtFileAction->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("unchanged"));
    }

    void insertPicture_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("format"); // empty: the file holds `bytes`, else "data"
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error"); // empty: inserted
        const QByteArray emf = fixture("rectangle.emf");
        const QByteArray wmf = fixture("rectangle.wmf");
        QTest::addRow("bitmap") << "p.bmp" << QByteArray("BMP") << QByteArray() << "";
        QTest::addRow("PNG") << "p.png" << QByteArray("PNG") << QByteArray() << "";
        QTest::addRow("upper-case extension") << "P.BMP" << QByteArray("BMP") << QByteArray() << "";
        QTest::addRow("enhanced metafile") << "p.emf" << QByteArray() << emf << "";
        QTest::addRow("metafile") << "p.wmf" << QByteArray() << wmf << "";
        QTest::addRow("upper-case metafile") << "P.WMF" << QByteArray() << wmf << "";
        QTest::addRow("icon") << "p.ico" << QByteArray() << QByteArray()
                              << "Clipboard does not support Icons";
        QTest::addRow("unknown extension")
            << "p.tif" << QByteArray() << QByteArray() << "Unknown picture file extension (.tif)";
        QTest::addRow("broken JPEG")
            << "p.jpg" << QByteArray() << QByteArray() << "is not a valid picture";
        QTest::addRow("truncated enhanced metafile")
            << "p.emf" << QByteArray() << emf.left(emf.size() / 2) << "is not a valid picture";
        QTest::addRow("truncated metafile")
            << "p.wmf" << QByteArray() << wmf.chopped(6) << "is not a valid picture";
        QTest::addRow("garbage enhanced metafile")
            << "p.emf" << QByteArray() << QByteArray(200, '\x5A') << "is not a valid picture";
        QTest::addRow("garbage metafile")
            << "p.wmf" << QByteArray() << QByteArray("data") << "is not a valid picture";
        QTest::addRow("enhanced metafile named .wmf") << "p.wmf" << QByteArray() << emf << "";
    }

    void insertPicture() {
        QFETCH(QString, name);
        QFETCH(QByteArray, format);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        const QString path = !format.isEmpty() ? writePicture(name, format.constData())
                                               : writeFile(name, bytes.isEmpty() ? "data" : bytes);
        QVERIFY(!path.isEmpty());
        memo().SetText(QStringLiteral("ab"));
        memo().SelectRange(1, 1, false);
        m_prompts->answerOpen({path});
        if (!error.isEmpty())
            m_prompts->answerButton(QMessageBox::Ok);
        actions().InsPicAction->trigger();
        QVERIFY(m_prompts->records().first().filters.first().startsWith(
            QStringLiteral("Picture Files (*.jpg")));
        if (error.isEmpty()) {
            QCOMPARE(pictures(), 1);
            QVERIFY(QApplication::clipboard()->mimeData()->hasImage());
        } else {
            QCOMPARE(pictures(), 0);
            QCOMPARE(memo().Text(), QStringLiteral("ab"));
            QVERIFY2(m_prompts->texts().last().contains(error),
                     qPrintable(m_prompts->texts().last()));
        }
    }

    // A metafile becomes an embedded picture of its own size (the fixtures ask for 48 x 24
    // pixels), filled with its rectangle's colour.
    void insertMetafileAtItsOwnSize_data() {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QColor>("colour");
        QTest::addRow("enhanced metafile") << "rectangle.emf" << QColor(0x20, 0x80, 0xE0);
        QTest::addRow("metafile") << "rectangle.wmf" << QColor(0xE0, 0x20, 0x40);
    }
    void insertMetafileAtItsOwnSize() {
        QFETCH(QString, fixture);
        QFETCH(QColor, colour);
        const QString path = writeFile(fixture, this->fixture(fixture.toLatin1().constData()));
        memo().SetText(QStringLiteral("ab"));
        memo().SelectRange(1, 1, false);
        m_prompts->answerOpen({path});
        actions().InsPicAction->trigger();
        QCOMPARE(memo().Text().size(), 3);
        const QTextCharFormat format = pictureFormat();
        QVERIFY(format.isImageFormat());
        const QTextImageFormat image = format.toImageFormat();
        QCOMPARE(QSizeF(image.width(), image.height()), QSizeF(48, 24));
        const QImage picture = qvariant_cast<QImage>(
            memo().document()->resource(QTextDocument::ImageResource, QUrl(image.name())));
        QCOMPARE(picture.size(), QSize(48, 24));
        QCOMPARE(QColor(picture.pixel(24, 12)), colour);
    }

    void insertJpegThroughLibjpeg() {
        if (!QImageWriter::supportedImageFormats().contains("jpeg"))
            QSKIP("Qt cannot write a JPEG to test with");
        const QString path = writePicture(QStringLiteral("photo.jpeg"), "JPEG");
        memo().SetText(QString());
        m_prompts->answerOpen({path});
        actions().InsPicAction->trigger();
        QCOMPARE(pictures(), 1);
    }

    void insertPictureInTextModeInsertsNothing() {
        const QString path = writePicture(QStringLiteral("p.png"), "PNG");
        actions().MenuPlainText->trigger();
        memo().SetText(QStringLiteral("plain"));
        m_prompts->answerOpen({path});
        actions().InsPicAction->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("plain"));
    }

    void pageBreakMarker() {
        memo().SetText(QStringLiteral("before after"));
        memo().SelectRange(7, 7, false);
        actions().PageBreakAction->trigger();
        QCOMPARE(memo().Text(), QStringLiteral("before <<Page Break>>after"));
        QCOMPARE(memo().SelText(), TInsertCommands::PageBreakMarker);
        QVERIFY(memo().SelAttributes().Protected());

        // Delete beside the marker with nothing selected touches it and is refused silently.
        memo().setFocus();
        memo().SelectRange(21, 21, false);
        QTest::keyClick(&memo(), Qt::Key_Backspace);
        QCOMPARE(memo().Text(), QStringLiteral("before <<Page Break>>after"));

        // Exactly the marker selected: the question; No keeps it.
        memo().SelectRange(7, 21, false);
        m_prompts->answerButton(QMessageBox::No);
        QTest::keyClick(&memo(), Qt::Key_Delete);
        QCOMPARE(memo().Text(), QStringLiteral("before <<Page Break>>after"));
        QCOMPARE(m_prompts->texts().last(), QStringLiteral("You wan't to delete the PageBreak?"));
        QCOMPARE(m_prompts->records().last().buttons, QMessageBox::Yes | QMessageBox::No);

        // Yes removes it and leaves it on the clipboard.
        memo().SelectRange(7, 21, false);
        m_prompts->answerButton(QMessageBox::Yes);
        QTest::keyClick(&memo(), Qt::Key_Delete);
        QCOMPARE(memo().Text(), QStringLiteral("before after"));
        QCOMPARE(QApplication::clipboard()->text(), TInsertCommands::PageBreakMarker);

        // Protected text that is not the marker is refused without a question.
        memo().SetText(QStringLiteral("guarded"));
        memo().SelectRange(0, 7, false);
        memo().SelAttributes().SetProtected(true);
        const qsizetype asked = m_prompts->records().size();
        QTest::keyClick(&memo(), Qt::Key_Delete);
        QCOMPARE(memo().Text(), QStringLiteral("guarded"));
        QCOMPARE(m_prompts->records().size(), asked);
    }

    void insertingNeedsAnEditingMode() {
        actions().HTMLPictureMode1->trigger();
        memo().SetText(QStringLiteral("kept"));
        insert().DateButClick();
        insert().PageBreakActionExecute();
        QCOMPARE(memo().Text(), QStringLiteral("kept"));
    }
};

QUILLET_TEST_MAIN(tst_InsertCommands)
#include "tst_insertcommands.moc"
