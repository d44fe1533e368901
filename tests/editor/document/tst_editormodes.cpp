#include "editor/document/editormodes.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/mainmenu.h"
#include "editor/frame/toolbars.h"
#include "editor/htmlview/htmlview.h"
#include "editor/sidepanel/filelistbox.h"
#include "editor/sidepanel/termlistbox.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "richtext/rxrichedit.h"
#include "scriptedprompts.h"
#include "testenvironment.h"

#include <QAction>
#include <QBuffer>
#include <QListWidget>
#include <QStackedWidget>
#include <QToolBar>
#include <QtTest>
#include <memory>

namespace {

enum class Mode { RTF, Text, HTML };

// What the switching routines set, read back from the window.
struct Snapshot {
    bool RTFMode = false;
    bool TextMode = false;
    bool HTMLMode = false;
    bool PlainLayout = false;
    bool textModusChecked = false;
    bool rtfModeChecked = false;
    bool htmlModeChecked = false;
    bool formatting = false; // Bold .. Bullet, "Letter Style", Format menu, both format bars
    bool wordWrapAllowed = false;
    bool wordWrapChecked = false;
    // Cut, Copy, Paste, Undo, Redo and Paste Special are left out: after every switch the
    // selection tracker and the clipboard set them from the selection, the undo history and what
    // the clipboard holds.
    bool editing = false;      // Edit and Insert menus, Print
    bool viewerExtras = false; // Strike, insert bar, Page Preview, Page Dialog
    bool rulerShown = false;
    bool memoInFront = false;
    bool termListEnabled = false;

    bool operator==(const Snapshot &) const = default;
};

QString describe(const Snapshot &s) {
    return QStringLiteral("RTF=%1 Text=%2 HTML=%3 Plain=%4 marks=%5%6%7 fmt=%8 ww=%9/%10 "
                          "edit=%11 extras=%12 ruler=%13 memoFront=%14 terms=%15")
        .arg(s.RTFMode)
        .arg(s.TextMode)
        .arg(s.HTMLMode)
        .arg(s.PlainLayout)
        .arg(s.textModusChecked)
        .arg(s.rtfModeChecked)
        .arg(s.htmlModeChecked)
        .arg(s.formatting)
        .arg(s.wordWrapAllowed)
        .arg(s.wordWrapChecked)
        .arg(s.editing)
        .arg(s.viewerExtras)
        .arg(s.rulerShown)
        .arg(s.memoInFront)
        .arg(s.termListEnabled);
}

// All members of a group must agree; a group half switched is reported as a failure.
bool uniform(const QList<bool> &values, bool *result) {
    *result = values.first();
    return !values.contains(!*result);
}

Snapshot snapshot(TMainForm &form) {
    TEditorActions &a = form.actions();
    TMainMenu &m = form.menus();
    TToolBars &t = form.toolBars();
    Snapshot s;
    s.RTFMode = form.mode().RTFMode;
    s.TextMode = form.mode().TextMode;
    s.HTMLMode = form.mode().HTMLMode;
    s.PlainLayout = form.mode().PlainLayout;
    s.textModusChecked = a.MenuPlainText->isChecked();
    s.rtfModeChecked = a.MenuPlainRTF->isChecked();
    s.htmlModeChecked = a.HTMLPictureMode1->isChecked();
    const bool formattingUniform = uniform(
        {a.isAllowed(a.BoldAction), a.isAllowed(a.ItalicAction), a.isAllowed(a.UnderscoreAction),
         a.isAllowed(a.LeftAction), a.isAllowed(a.CenterAction), a.isAllowed(a.RightAction),
         a.isAllowed(a.BulletAction), a.isAllowed(a.MenuLetterStyle),
         TMainMenu::isMenuEnabled(m.Adjusments1), t.ToolBFormat1->isEnabled(),
         t.ToolBFormat2->isEnabled()},
        &s.formatting);
    const bool editingUniform =
        uniform({TMainMenu::isMenuEnabled(m.EditMenu), TMainMenu::isMenuEnabled(m.Insert1),
                 a.isAllowed(a.PrintAction)},
                &s.editing);
    const bool extrasUniform = uniform({a.isAllowed(a.StrikeAction), t.ToolBInsert->isEnabled(),
                                        a.isAllowed(a.PagePreview1), a.isAllowed(a.PrinterSetup)},
                                       &s.viewerExtras);
    if (!formattingUniform || !editingUniform || !extrasUniform)
        qWarning("a command group is switched only in part");
    s.wordWrapAllowed = a.isAllowed(a.WWAction);
    s.wordWrapChecked = a.WWAction->isChecked();
    s.rulerShown = !form.RulerPanel().isHidden();
    s.memoInFront = form.EditPanel().currentWidget() == &form.Memo();
    s.termListEnabled = form.ListBoxT().isEnabled();
    return s;
}

Snapshot rtfState(bool wordWrapChecked) {
    Snapshot s;
    s.RTFMode = true;
    s.rtfModeChecked = true;
    s.formatting = true;
    s.wordWrapChecked = wordWrapChecked;
    s.editing = true;
    s.viewerExtras = true;
    s.rulerShown = true;
    s.memoInFront = true;
    s.termListEnabled = true;
    return s;
}

Snapshot textState(bool wordWrapChecked) {
    Snapshot s;
    s.TextMode = true;
    s.PlainLayout = true;
    s.textModusChecked = true;
    s.wordWrapAllowed = true;
    s.wordWrapChecked = wordWrapChecked;
    s.editing = true;
    s.viewerExtras = true;
    s.memoInFront = true;
    s.termListEnabled = true;
    return s;
}

Snapshot htmlState() {
    Snapshot s;
    s.HTMLMode = true;
    s.PlainLayout = true;
    s.textModusChecked = true;
    s.wordWrapAllowed = true;
    return s;
}

} // namespace

Q_DECLARE_METATYPE(Snapshot)
Q_DECLARE_METATYPE(Mode)

// The three editor modes and their two View menu commands, driven through the window's commands
// with scripted answers.
class tst_EditorModes : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ScriptedPrompts> m_prompts;
    std::unique_ptr<EditorServices> m_services;
    std::unique_ptr<TMainForm> m_form;

    TRxRichEdit &memo() { return m_form->Memo(); }
    TEditorActions &actions() { return m_form->actions(); }

    void trigger(const QString &command) {
        TEditorActions &a = actions();
        QAction *action = command == QLatin1String("Text Modus") ? a.MenuPlainText
                          : command == QLatin1String("RTF Mode") ? a.MenuPlainRTF
                                                                 : a.HTMLPictureMode1;
        QCOMPARE(action->text(), command);
        QVERIFY2(action->isEnabled(), qPrintable(command));
        action->trigger();
    }

    void reach(Mode mode) {
        if (mode == Mode::Text)
            trigger(QStringLiteral("Text Modus"));
        else if (mode == Mode::HTML)
            trigger(QStringLiteral("HTML & Picture Mode"));
    }

    // Makes characters [start, end) carry a style.
    void style(int start, int end, TRxTextAttributes::FontStyles styles) {
        memo().SelectRange(start, end, false);
        memo().SelAttributes().SetStyle(styles);
    }

    bool styleAt(int position, TRxTextAttributes::FontStyle which) {
        memo().SelectRange(position, position + 1, false);
        return memo().SelAttributes().Style().testFlag(which);
    }

private slots:
    void init() {
        m_prompts = std::make_unique<ScriptedPrompts>();
        m_services = std::make_unique<EditorServices>();
        m_form = std::make_unique<TMainForm>(m_services->context(*m_prompts));
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    }

    void cleanup() {
        QCOMPARE(m_prompts->unexpectedCount(), 0);
        QCOMPARE(m_prompts->pendingAnswers(), 0);
        m_form.reset();
        m_prompts.reset();
    }

    void switchingTable_data() {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<Snapshot>("expected");
        QTest::addRow("start") << QStringList{} << rtfState(false);
        QTest::addRow("RTF to text") << QStringList{"Text Modus"} << textState(false);
        QTest::addRow("text to RTF") << QStringList{"Text Modus", "RTF Mode"} << rtfState(false);
        QTest::addRow("RTF to HTML") << QStringList{"HTML & Picture Mode"} << htmlState();
        QTest::addRow("text to HTML")
            << QStringList{"Text Modus", "HTML & Picture Mode"} << htmlState();
        QTest::addRow("HTML chosen twice")
            << QStringList{"HTML & Picture Mode", "HTML & Picture Mode"} << htmlState();
        // Leaving HTML & picture mode runs switchText, which checks Word Wrap.
        QTest::addRow("HTML to RTF")
            << QStringList{"HTML & Picture Mode", "RTF Mode"} << rtfState(true);
        QTest::addRow("HTML to text")
            << QStringList{"HTML & Picture Mode", "Text Modus"} << textState(true);
        QTest::addRow("text, HTML, RTF")
            << QStringList{"Text Modus", "HTML & Picture Mode", "RTF Mode"} << rtfState(true);
    }

    void switchingTable() {
        QFETCH(QStringList, commands);
        QFETCH(Snapshot, expected);
        memo().SetText(QStringLiteral("plain words"));
        for (const QString &command : commands)
            trigger(command);
        const Snapshot actual = snapshot(*m_form);
        QVERIFY2(actual == expected, qPrintable(QStringLiteral("\nactual:   %1\nexpected: %2")
                                                    .arg(describe(actual), describe(expected))));
        QVERIFY(m_prompts->records().isEmpty());
    }

    void htmlModeKeepsDocumentBehindViewer() {
        memo().SetText(QStringLiteral("kept text"));
        style(0, 4, TRxTextAttributes::fsItalic);
        trigger(QStringLiteral("HTML & Picture Mode"));
        QCOMPARE(m_form->EditPanel().currentWidget(), &m_form->htmlLite1());
        // Nothing typed can reach the editing area while its commands are off.
        QVERIFY(!memo().isVisible());
        QCOMPARE(memo().Text(), QStringLiteral("kept text"));
        trigger(QStringLiteral("RTF Mode"));
        QCOMPARE(m_form->EditPanel().currentWidget(), &memo());
        QVERIFY(styleAt(0, TRxTextAttributes::fsItalic));
    }

    void textModusAsksBeforeDroppingFormat_data() {
        QTest::addColumn<QString>("formatting");
        QTest::addColumn<int>("answer"); // 0: no question expected
        QTest::addColumn<bool>("switches");

        QTest::addRow("one italic word, No") << "italic word" << int(QMessageBox::No) << false;
        QTest::addRow("one italic word, Cancel")
            << "italic word" << int(QMessageBox::Cancel) << false;
        QTest::addRow("one italic word, Yes") << "italic word" << int(QMessageBox::Yes) << true;
        QTest::addRow("bold throughout") << "bold throughout" << 0 << true;
        QTest::addRow("no formatting") << "none" << 0 << true;
        QTest::addRow("one struck-out word") << "struck word" << 0 << true;
        QTest::addRow("one word in another face") << "face" << 0 << true;
        QTest::addRow("one larger word, No") << "size" << int(QMessageBox::No) << false;
        QTest::addRow("one red word, No") << "colour" << int(QMessageBox::No) << false;
        QTest::addRow("page setup and header of the file, No")
            << "kept" << int(QMessageBox::No) << false;
    }

    void textModusAsksBeforeDroppingFormat() {
        QFETCH(QString, formatting);
        QFETCH(int, answer);
        QFETCH(bool, switches);

        memo().SetText(QStringLiteral("one two three"));
        const int wordStart = 4, wordEnd = 7;
        TRxTextAttributes::FontStyle styleChecked = TRxTextAttributes::fsItalic;
        if (formatting == QLatin1String("italic word")) {
            style(wordStart, wordEnd, TRxTextAttributes::fsItalic);
        } else if (formatting == QLatin1String("bold throughout")) {
            style(0, memo().TextLength(), TRxTextAttributes::fsBold);
            styleChecked = TRxTextAttributes::fsBold;
        } else if (formatting == QLatin1String("struck word")) {
            style(wordStart, wordEnd, TRxTextAttributes::fsStrikeOut);
            styleChecked = TRxTextAttributes::fsStrikeOut;
        } else if (formatting == QLatin1String("face")) {
            memo().SelectRange(wordStart, wordEnd, false);
            memo().SelAttributes().SetName(QStringLiteral("DejaVu Serif"));
        } else if (formatting == QLatin1String("size")) {
            memo().SelectRange(wordStart, wordEnd, false);
            memo().SelAttributes().SetSize(memo().SelAttributes().Size() + 6);
        } else if (formatting == QLatin1String("colour")) {
            memo().SelectRange(wordStart, wordEnd, false);
            memo().SelAttributes().SetColor(Qt::red);
        } else if (formatting == QLatin1String("kept")) {
            QBuffer file;
            file.setData("{\\rtf1\\ansi{\\header \\pard H\\par}\\paperw11906 one two three\\par}");
            file.open(QIODevice::ReadOnly);
            memo().Lines().LoadFromStream(file);
        }
        const bool styled =
            formatting != QLatin1String("none") && formatting != QLatin1String("face") &&
            formatting != QLatin1String("size") && formatting != QLatin1String("colour") &&
            formatting != QLatin1String("kept");
        memo().SelectRange(0, 0, false);
        if (answer)
            m_prompts->answerButton(QMessageBox::StandardButton(answer));

        trigger(QStringLiteral("Text Modus"));

        if (answer) {
            QCOMPARE(m_prompts->records().size(), 1);
            const ScriptedPrompts::Record &asked = m_prompts->records().first();
            QCOMPARE(asked.caption, QStringLiteral("Switch Text?"));
            QCOMPARE(asked.text,
                     QStringLiteral("If you switch the editor into text modus, you will lose all "
                                    "format information!\r\nDo you really want to proceed?"));
            QCOMPARE(asked.icon, QMessageBox::NoIcon);
            QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        } else {
            QVERIFY(m_prompts->records().isEmpty());
        }
        QCOMPARE(m_form->mode().TextMode, switches);
        QCOMPARE(m_form->mode().RTFMode, !switches);
        QCOMPARE(actions().MenuPlainText->isChecked(), switches);
        QCOMPARE(actions().MenuPlainRTF->isChecked(), !switches);
        QCOMPARE(memo().PlainText(), switches);
        QCOMPARE(memo().Text(), QStringLiteral("one two three"));
        if (styled)
            QCOMPARE(styleAt(wordStart, styleChecked), !switches);
    }

    void rtfModeAfterTextModusKeepsTextAndAsksNothing() {
        memo().SetText(QStringLiteral("first line\r\nsecond line"));
        trigger(QStringLiteral("Text Modus"));
        QVERIFY(m_form->RulerPanel().isHidden());
        trigger(QStringLiteral("RTF Mode"));
        QVERIFY(m_prompts->records().isEmpty());
        QCOMPARE(memo().Text(), QStringLiteral("first line\r\nsecond line"));
        QVERIFY(!memo().PlainText());
        QVERIFY(TMainMenu::isMenuEnabled(m_form->menus().Adjusments1));
        QVERIFY(!m_form->RulerPanel().isHidden());
    }

    void caretGoesToStartMinusLength_data() {
        QTest::addColumn<Mode>("from");
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("caret");
        for (const QString &command : {QStringLiteral("Text Modus"), QStringLiteral("RTF Mode")}) {
            for (Mode from : {Mode::RTF, Mode::Text}) {
                const char *fromName = from == Mode::RTF ? "from RTF" : "from text";
                const QByteArray c = command.toLatin1();
                QTest::addRow("%s %s, caret 10", c.constData(), fromName)
                    << from << command << 10 << 0 << 10;
                QTest::addRow("%s %s, 10 to 14 selected", c.constData(), fromName)
                    << from << command << 10 << 5 << 5;
                QTest::addRow("%s %s, longer than start", c.constData(), fromName)
                    << from << command << 3 << 5 << 0;
            }
        }
    }

    void caretGoesToStartMinusLength() {
        QFETCH(Mode, from);
        QFETCH(QString, command);
        QFETCH(int, start);
        QFETCH(int, length);
        QFETCH(int, caret);
        memo().SetText(QStringLiteral("0123456789abcdefghij"));
        reach(from);
        memo().SelectRange(start, start + length, false);
        trigger(command);
        QCOMPARE(memo().SelStart(), caret);
        QCOMPARE(memo().SelLength(), 0);
    }

    void textModusFromHtmlLeavesTheViewer() {
        memo().SetText(QStringLiteral("plain"));
        trigger(QStringLiteral("HTML & Picture Mode"));
        QVERIFY(!m_form->ListBoxT().isEnabled());
        trigger(QStringLiteral("Text Modus"));
        QVERIFY(m_form->mode().TextMode);
        QVERIFY(!m_form->mode().HTMLMode);
        QVERIFY(m_form->ListBoxT().isEnabled());
        QCOMPARE(m_form->EditPanel().currentWidget(), &memo());
    }
};

QUILLET_TEST_MAIN(tst_EditorModes)
#include "tst_editormodes.moc"
