#include "editor/frame/editoractions.h"
#include "editor/print/printcommands.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "print/richprinter.h"
#include "print/richprntprogdlg.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The editor's "&Print" and "Page Dialog" through the window, with its `RichPrinter1`.
class tst_PrintCommands : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;
    QTemporaryDir m_dir;

    TRichPrinter &printer() { return m_form->RichPrinter1(); }
    TEditorActions &actions() { return m_form->actions(); }

private slots:
    void init();
    void cleanup();
    void editorSettings();
    void printsToTheChosenFile();
    void cancelledPrintDialogPrintsNothing();
    void printWithoutPrinterReportsOnce();
    void pageDialogRoundsMarginsAndStoresNothing_data();
    void pageDialogRoundsMarginsAndStoresNothing();
    void pageDialogStoresMarginsWhenAsked();
};

void tst_PrintCommands::init() {
    m_prompts = std::make_unique<ScriptedPrompts>();
    m_services = std::make_unique<EditorServices>();
    m_form = std::make_unique<TMainForm>(m_services->context(*m_prompts));
    m_prompts->clear();
}

void tst_PrintCommands::cleanup() {
    m_form.reset();
    m_services.reset();
    QFile::remove(SettingsStore::userStorePath());
}

void tst_PrintCommands::editorSettings() {
    TRichPrinter &p = printer();
    QCOMPARE(p.MarginTop(), 15.0);
    QCOMPARE(p.MarginBottom(), 16.5805555555555);
    QCOMPARE(p.MarginLeft(), 15.0);
    QCOMPARE(p.MarginRight(), 15.0);
    QCOMPARE(p.Header(), QStringLiteral("{$TITLE}"));
    QCOMPARE(p.Footer(), QStringLiteral("Page {$PAGE}"));
    QCOMPARE(p.FooterFormat(), QStringLiteral(">100"));
    QCOMPARE(p.Options_Dialog(), TPageSetupFlags(poMargins));
    QVERIFY(!p.SaveMargins());
    QVERIFY(p.ShowProgress());
    QVERIFY(actions().PrintAction->isEnabled());
    QVERIFY(actions().PrinterSetup->isEnabled());
    QCOMPARE(actions().PrintAction->shortcut(), QKeySequence(QStringLiteral("Ctrl+P")));
}

void tst_PrintCommands::printsToTheChosenFile() {
    const QString pdf = m_dir.filePath(QStringLiteral("printed.pdf"));
    m_form->Memo().SetText(QStringLiteral("First line\r\nSecond line"));
    // What the print dialog's file output leaves in the printer.
    printer().qprinter()->setOutputFileName(pdf);
    m_prompts->answerPrint(true);
    actions().PrintAction->trigger();
    QCOMPARE(m_prompts->unexpectedCount(), 0);
    QCOMPARE(m_prompts->records().size(), 1);
    QCOMPARE(m_prompts->records()[0].kind, ScriptedPrompts::Kind::Print);
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(file.read(5) == "%PDF-");
    QCOMPARE(printer().PageNumber(), 1);
    QVERIFY(!printer().ProgressWindow());
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<TRichPrntProgDlg *>(widget));
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        QSKIP("pdftotext is not installed to read the page back");
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    QVERIFY2(printed.contains(QLatin1String("First line\nSecond line")), qPrintable(printed));
    QVERIFY(printed.contains(QLatin1String("Page 1\n")));
}

void tst_PrintCommands::cancelledPrintDialogPrintsNothing() {
    const QString pdf = m_dir.filePath(QStringLiteral("cancelled.pdf"));
    printer().qprinter()->setOutputFileName(pdf);
    m_prompts->answerPrint(false);
    actions().PrintAction->trigger();
    QCOMPARE(m_prompts->records().size(), 1);
    QVERIFY(!QFile::exists(pdf));
}

void tst_PrintCommands::printWithoutPrinterReportsOnce() {
    if (!QPrinterInfo::availablePrinters().isEmpty())
        QSKIP("a printer is installed; this checks the machine without one");
    QVERIFY(printer().qprinter()->outputFileName().isEmpty());
    m_prompts->answerPrint(true);
    m_prompts->answerButton(QMessageBox::Ok);
    actions().PrintAction->trigger();
    QStringList messages;
    for (const ScriptedPrompts::Record &record : m_prompts->records())
        if (record.kind == ScriptedPrompts::Kind::Message)
            messages << record.text;
    QCOMPARE(messages, QStringList{QStringLiteral("Not be able to start the printing.")});
    QVERIFY(!printer().ProgressWindow());
    QVERIFY(!printer().Printing());
}

void tst_PrintCommands::pageDialogRoundsMarginsAndStoresNothing_data() {
    QTest::addColumn<bool>("accepted");
    QTest::addRow("cancelled") << false;
    QTest::addRow("confirmed") << true;
}

void tst_PrintCommands::pageDialogRoundsMarginsAndStoresNothing() {
    QFETCH(bool, accepted);
    int setMargins = 0;
    m_form->printCommands().SetMargin = [&setMargins] { ++setMargins; };
    printer().SetMarginLeft(15.126);
    printer().SetMarginBottom(16.5805555555555);
    m_prompts->answerPageSetup(accepted);
    actions().PrinterSetup->trigger();
    QCOMPARE(m_prompts->unexpectedCount(), 0);
    QCOMPARE(setMargins, 1);
    QCOMPARE(printer().MarginLeft(), 15.13);
    QCOMPARE(printer().MarginBottom(), 16.58);
    QCOMPARE(printer().MarginTop(), 15.0);
    // The editor keeps no margins in the store.
    m_services->settings.reload();
    QVERIFY(!m_services->settings.keyExists(QStringLiteral("RichPrint.Settings\\Marges")));
}

void tst_PrintCommands::pageDialogStoresMarginsWhenAsked() {
    printer().SetSaveMargins(true);
    printer().SetMeasureUnit(muInches);
    printer().SetMarginLeft(0.7777);
    m_prompts->answerPageSetup(false);
    actions().PrinterSetup->trigger();
    QCOMPARE(printer().MarginLeft(), 0.778);
    SettingsStore &store = m_services->settings;
    store.reload();
    const QString marges = QStringLiteral("RichPrint.Settings\\Marges");
    QCOMPARE(store.readString(marges, QStringLiteral("CodeMeasurement")), QStringLiteral("0"));
    QCOMPARE(store.readString(marges, QStringLiteral("CodeDirection")), QStringLiteral("1"));
    QCOMPARE(store.readBinary(marges, QStringLiteral("MarginLeft")).size(), 8);
}

QUILLET_TEST_MAIN(tst_PrintCommands)
#include "tst_printcommands.moc"
