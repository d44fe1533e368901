#include "convert/converterdiscovery.h"
#include "convert/isolatedconverters.h"
#include "editor/convert/convertcommands.h"
#include "editor/document/documentstate.h"
#include "editor/document/editormodes.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/statuspanels.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using Convert::Direction;

namespace {

const QByteArray SmallRtf = "{\\rtf1\\ansi Converted {\\b text}\\par}";

QByteArray readBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// The File menu's Import and Export over a scripted machine store and the test converter.
class tst_ConvertCommands : public QObject {
    Q_OBJECT

private slots:
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store = SettingsStore::machineStorePath();
        QFile::remove(m_store);
        QFile::remove(SettingsStore::userStorePath());
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_services = std::make_unique<EditorServices>();
        for (const char *name : {"QUILLET_TESTCONV_CRASH", "QUILLET_TESTCONV_HANG"})
            qunsetenv(name);
        MainFormContext context = m_services->context(*m_prompts);
        context.converterHost = QStringLiteral(QUILLET_CONVERTER_HOST);
        m_form = std::make_unique<TMainForm>(context);
        m_form->show();
    }
    void cleanup() {
        m_form.reset();
        QFile::remove(m_store);
        QCOMPARE(m_prompts->unexpectedCount(), 0);
        QCOMPARE(m_prompts->pendingAnswers(), 0);
    }

    void importRichTextLoadsWithoutAConverter();
    void importThroughTheConverterOfTheChosenEntry();
    void importPreselectsTheFourthEntry();
    void importAsksBeforeReplacingAModifiedDocument();
    void failedImportSaysWhy();
    void exportRichTextSavesWithATrailingBlank();
    void exportThroughTheConverter();
    void failedExportSaysWhyAndKeepsTheFile();
    void aFaultyConverterEndsOnlyTheConversion_data();
    void aFaultyConverterEndsOnlyTheConversion();

private:
    void registerConverter(Direction direction, const QString &subKey, const QString &name,
                           const QString &path) {
        SettingsStore store(m_store, SettingsStore::Access::ReadWrite);
        const QString key = Convert::directionKey(direction) + QLatin1Char('\\') + subKey;
        store.writeString(key, QStringLiteral("Name"), name);
        store.writeString(key, QStringLiteral("Extensions"), QStringLiteral("tst"));
        store.writeString(key, QStringLiteral("Path"), path);
    }
    QString path(const QString &name) const { return m_dir->filePath(name); }
    TRxRichEdit &memo() const { return m_form->Memo(); }
    QString comments() const { return m_form->status().text(TStatusPanels::Comments); }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_store;
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;
};

void tst_ConvertCommands::importRichTextLoadsWithoutAConverter() {
    const QString file = path(QStringLiteral("in.rtf"));
    writeBytes(file, SmallRtf);
    const QStringList openFilter = m_form->document().OpenDialog.Filter;
    m_prompts->answerOpen({file}, 0);
    m_form->actions().mmopen1->trigger();
    QCOMPARE(m_prompts->records().last().filters,
             QStringList{QStringLiteral("Rich Text Format (*.rtf *.RTF)")});
    QCOMPARE(memo().Text(), QStringLiteral("Converted text"));
    QCOMPARE(comments(), QStringLiteral("Done"));
    QCOMPARE(m_form->status().width(TStatusPanels::Comments), 7 * 4);
    // The Open dialog has its own filter back; the document keeps its name.
    QCOMPARE(m_form->document().OpenDialog.Filter, openFilter);
    QCOMPARE(m_form->document().DocumentName, TDocumentState::Untitled);
    QVERIFY(memo().Modified());
}

void tst_ConvertCommands::importThroughTheConverterOfTheChosenEntry() {
    registerConverter(Direction::Import, QStringLiteral("a"), QStringLiteral("Test Format"),
                      QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    const QString file = path(QStringLiteral("in.tst"));
    writeBytes(file, SmallRtf);
    m_prompts->answerOpen({file}, 1);
    m_form->actions().mmopen1->trigger();
    QCOMPARE(m_prompts->records().last().caption, QStringLiteral("Import"));
    QCOMPARE(memo().Text(), QStringLiteral("Converted text"));
    QCOMPARE(comments(), QStringLiteral("Succesfully imported: ") + file);
    QVERIFY(memo().Modified());
}

void tst_ConvertCommands::importPreselectsTheFourthEntry() {
    registerConverter(Direction::Import, QStringLiteral("a"), QStringLiteral("A"),
                      QStringLiteral("/nonexistent/a.so"));
    registerConverter(Direction::Import, QStringLiteral("b"), QStringLiteral("B"),
                      QStringLiteral("/nonexistent/b.so"));
    registerConverter(Direction::Import, QStringLiteral("c"), QStringLiteral("C"),
                      QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    const QString file = path(QStringLiteral("in.tst"));
    writeBytes(file, SmallRtf);
    m_prompts->answerOpen({file}); // the user keeps the preselected entry
    m_form->actions().mmopen1->trigger();
    QCOMPARE(m_prompts->records().last().filters.size(), 4);
    QCOMPARE(comments(), QStringLiteral("Succesfully imported: ") + file);
}

void tst_ConvertCommands::importAsksBeforeReplacingAModifiedDocument() {
    memo().SetText(QStringLiteral("unsaved work"));
    memo().SetModified(true);
    m_prompts->answerButton(QMessageBox::Cancel);
    m_form->actions().mmopen1->trigger();
    QCOMPARE(m_prompts->records().size(), 1);
    QCOMPARE(m_prompts->records().first().kind, ScriptedPrompts::Kind::Message);
    QCOMPARE(memo().Text(), QStringLiteral("unsaved work"));
    QVERIFY(memo().Modified());
}

void tst_ConvertCommands::failedImportSaysWhy() {
    registerConverter(Direction::Import, QStringLiteral("a"), QStringLiteral("Test Format"),
                      QStringLiteral("/nonexistent/conv.so"));
    memo().SetText(QStringLiteral("kept"));
    const QString file = path(QStringLiteral("in.tst"));
    writeBytes(file, SmallRtf);
    m_prompts->answerOpen({file}, 1);
    m_form->actions().mmopen1->trigger();
    QVERIFY2(comments().startsWith(QStringLiteral("Import failed: cannot load the converter")),
             qPrintable(comments()));
    QCOMPARE(memo().Text(), QStringLiteral("kept"));
}

void tst_ConvertCommands::exportRichTextSavesWithATrailingBlank() {
    memo().SetText(QStringLiteral("to be saved"));
    const QString file = path(QStringLiteral("out.rtf"));
    m_prompts->answerSave(file, 0);
    m_form->actions().mmsave1->trigger();
    QCOMPARE(m_prompts->records().last().caption, QStringLiteral("Export"));
    QCOMPARE(comments(), QStringLiteral("Done "));
    QVERIFY(readBytes(file).startsWith("{\\rtf1"));
}

void tst_ConvertCommands::exportThroughTheConverter() {
    registerConverter(Direction::Export, QStringLiteral("a"), QStringLiteral("Test Format"),
                      QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    memo().SetText(QStringLiteral("exported words"));
    const QString file = path(QStringLiteral("out.tst"));
    m_prompts->answerSave(file, 1);
    m_form->actions().mmsave1->trigger();
    QCOMPARE(m_prompts->records().last().filters.size(), 2);
    QCOMPARE(comments(), QStringLiteral("Succesfully exported: ") + file);
    QVERIFY(readBytes(file).contains("exported words"));
    // The dialog's choice stays for the next Export.
    QCOMPARE(m_form->document().SaveDialog.FilterIndex, 2);
}

void tst_ConvertCommands::failedExportSaysWhyAndKeepsTheFile() {
    registerConverter(Direction::Export, QStringLiteral("a"), QStringLiteral("Test Format"),
                      QStringLiteral(QUILLET_TESTCONVERTER_NOEXPORT));
    const QString file = path(QStringLiteral("out.tst"));
    writeBytes(file, "old");
    m_prompts->answerSave(file, 1);
    m_prompts->answerButton(QMessageBox::Ok);
    m_form->actions().mmsave1->trigger();
    QCOMPARE(m_prompts->texts().last(), QStringLiteral("Coult not export document"));
    QCOMPARE(comments(), QStringLiteral("Export failed: Coult not export document"));
    QCOMPARE(readBytes(file), QByteArray("old"));
}

void tst_ConvertCommands::aFaultyConverterEndsOnlyTheConversion_data() {
    QTest::addColumn<QByteArray>("fault");
    QTest::addColumn<bool>("import");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("comment");
    const QString crashed =
        QStringLiteral("The converter \"Test Format\" stopped unexpectedly; %1.");
    const QString hung = QStringLiteral(
        "The converter \"Test Format\" did not finish in 1 seconds and was stopped; %1.");
    const QString unchanged = QStringLiteral("the document is unchanged");
    const QString notWritten = QStringLiteral("no file was written");
    QTest::addRow("import crashes")
        << QByteArray("QUILLET_TESTCONV_CRASH") << true << crashed.arg(unchanged)
        << QStringLiteral("Import failed: the converter stopped unexpectedly");
    QTest::addRow("import hangs") << QByteArray("QUILLET_TESTCONV_HANG") << true
                                  << hung.arg(unchanged)
                                  << QStringLiteral(
                                         "Import failed: the converter did not finish and was "
                                         "stopped");
    QTest::addRow("export crashes")
        << QByteArray("QUILLET_TESTCONV_CRASH") << false << crashed.arg(notWritten)
        << QStringLiteral("Export failed: the converter stopped unexpectedly");
    QTest::addRow("export hangs") << QByteArray("QUILLET_TESTCONV_HANG") << false
                                  << hung.arg(notWritten)
                                  << QStringLiteral(
                                         "Export failed: the converter did not finish and was "
                                         "stopped");
}

void tst_ConvertCommands::aFaultyConverterEndsOnlyTheConversion() {
    QFETCH(QByteArray, fault);
    QFETCH(bool, import);
    QFETCH(QString, message);
    QFETCH(QString, comment);
    registerConverter(import ? Direction::Import : Direction::Export, QStringLiteral("a"),
                      QStringLiteral("Test Format"), QStringLiteral(QUILLET_TESTCONVERTER_FULL));
    qputenv(fault.constData(), "1");
    m_form->converters().setTimeout(1000);
    memo().SetText(QStringLiteral("unsaved work"));
    memo().SetModified(true);
    const QString file = path(QStringLiteral("file.tst"));
    writeBytes(file, import ? SmallRtf : QByteArray("old"));
    if (import) {
        m_prompts->answerButton(QMessageBox::No); // keep the changes unsaved
        m_prompts->answerOpen({file}, 1);
    } else {
        m_prompts->answerSave(file, 1);
    }
    m_prompts->answerButton(QMessageBox::Ok);
    (import ? m_form->actions().mmopen1 : m_form->actions().mmsave1)->trigger();
    QCOMPARE(m_prompts->texts().last(), message);
    QCOMPARE(comments(), comment);
    QCOMPARE(memo().Text(), QStringLiteral("unsaved work"));
    QVERIFY(memo().Modified());
    QCOMPARE(readBytes(file), import ? SmallRtf : QByteArray("old"));
}

QUILLET_TEST_MAIN(tst_ConvertCommands)
#include "tst_convertcommands.moc"
