#include "editor/document/editormodes.h"

#include "editor/document/editlayout.h"
#include "editor/document/modeflags.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/mainmenu.h"
#include "editor/frame/toolbars.h"
#include "platform/prompts.h"
#include "richtext/rxrichedit.h"

#include <QAction>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QToolBar>
#include <algorithm>

namespace {
// Lines of a plain-text document never break unless Word Wrap asks for it.
constexpr int UnbrokenLineTwips = 100000;
} // namespace

TEditorModes::TEditorModes(EditorModesContext context, QObject *parent)
    : QObject(parent)
    , m(context) {
    TEditorActions &a = m.actions;
    a.route(a.MenuPlainRTF, this, &TEditorModes::MenuPlainRTFClick);
    a.route(a.MenuPlainText, this, &TEditorModes::MenuPlainTextClick);
    a.route(a.HTMLPictureMode1, this, &TEditorModes::HTMLPictureMode1Click);
}

void TEditorModes::StartInRTFMode() {
    m.flags = TModeFlags{};
    switchRTFon();
}

void TEditorModes::switchRTFon() {
    m.flags.PlainLayout = false;
    if (m.flags.RTFMode)
        return;
    m.flags.RTFMode = true;
    m.flags.TextMode = false;
    TEditorActions &a = m.actions;
    if (a.MenuPlainText->isChecked()) {
        a.MenuPlainText->setChecked(false);
        a.MenuPlainRTF->setChecked(true);
    }
    setFormatting(true);
    a.setAllowed(a.WWAction, false);
    setEditing(true);
    a.setAllowed(a.CopyAction, true);
    showRuler(true);
    bringToFront(m.Memo);
    m.window.update();
}

void TEditorModes::switchRTFoff() {
    if (m.flags.TextMode)
        return;
    m.flags.RTFMode = false;
    m.flags.TextMode = true;
    m.flags.PlainLayout = true;
    TEditorActions &a = m.actions;
    if (a.MenuPlainRTF->isChecked()) {
        a.MenuPlainRTF->setChecked(false);
        a.MenuPlainText->setChecked(true);
    }
    setFormatting(false);
    a.setAllowed(a.WWAction, true);
    showRuler(false);
    bringToFront(m.Memo);
}

void TEditorModes::switchHTML() {
    m.ListBoxT.setEnabled(false);
    switchRTFoff();
    TEditorActions &a = m.actions;
    setFormatting(false);
    a.setAllowed(a.WWAction, true);
    a.WWAction->setChecked(false);
    setEditing(false);
    setViewerExtras(false);
    showRuler(false);
    bringToFront(m.htmlLite1);
    m.flags.HTMLMode = true;
    m.flags.RTFMode = false;
    m.flags.TextMode = false;
}

void TEditorModes::switchText() {
    m.ListBoxT.setEnabled(true);
    switchRTFon();
    TEditorActions &a = m.actions;
    setFormatting(true);
    a.setAllowed(a.WWAction, false);
    a.WWAction->setChecked(true);
    setEditing(true);
    a.setAllowed(a.CopyAction, true);
    setViewerExtras(true);
    showRuler(true);
    bringToFront(m.Memo);
    m.flags.RTFMode = true;
    m.flags.HTMLMode = false;
    m.flags.TextMode = false;
}

void TEditorModes::setFormatting(bool on) {
    TEditorActions &a = m.actions;
    for (QAction *command : {a.BoldAction, a.ItalicAction, a.UnderscoreAction, a.LeftAction,
                             a.CenterAction, a.RightAction, a.BulletAction, a.MenuLetterStyle})
        a.setAllowed(command, on);
    TMainMenu::setMenuEnabled(m.menus.Adjusments1, on);
    m.toolBars.ToolBFormat1->setEnabled(on);
    m.toolBars.ToolBFormat2->setEnabled(on);
}

void TEditorModes::setEditing(bool on) {
    TEditorActions &a = m.actions;
    TMainMenu::setMenuEnabled(m.menus.EditMenu, on);
    TMainMenu::setMenuEnabled(m.menus.Insert1, on);
    for (QAction *command : {a.PrintAction, a.CutAction, a.PasteAction})
        a.setAllowed(command, on);
}

void TEditorModes::setViewerExtras(bool on) {
    TEditorActions &a = m.actions;
    for (QAction *command : {a.UndoAction, a.RedoAction, a.StrikeAction, a.PoPPaste, a.PasteSpecial,
                             a.PagePreview1, a.PrinterSetup})
        a.setAllowed(command, on);
    m.toolBars.ToolBInsert->setEnabled(on);
}

void TEditorModes::showRuler(bool on) {
    m.RulerPanel.setVisible(on);
    for (QWidget *ruler : m.RulerPanel.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        ruler->setVisible(on);
}

void TEditorModes::bringToFront(QWidget &control) {
    m.EditPanel.setCurrentWidget(&control);
}

void TEditorModes::SetTextMode() {
    // The caret's line and column are worked out once, in the text mode's line width: in the
    // old width they would lay the whole text out for nothing.
    m.Memo.HoldNotifications();
    try {
        m.Memo.SetPlainText(true);
        m.Memo.SetTargetLineWidth(UnbrokenLineTwips);
        switchRTFoff();
        m.layout.SetEditRect();
        m.actions.MenuPlainText->setChecked(true);
    } catch (...) {
        m.Memo.ReleaseNotifications();
        throw;
    }
    m.Memo.ReleaseNotifications();
}

void TEditorModes::SetRTFMode() {
    if (m.flags.HTMLMode)
        switchText();
    const int start = m.Memo.SelStart();
    const int length = m.Memo.SelLength();
    m.actions.MenuPlainRTF->setChecked(true);
    m.actions.MenuPlainText->setChecked(false);
    m.Memo.SetPlainText(false);
    switchRTFon();
    m.layout.SetEditRect();
    restoreCaret(start, length);
}

bool TEditorModes::HasFormatting() {
    // Read over the whole text without selecting it: a selection reaching the end would have the
    // view lay out the whole text, and the caller's selection stays as it is.
    const auto uniform = m.Memo.SelAttributes().ConsistentBetween(0, m.Memo.TextLength());
    using A = TRxTextAttributes;
    // Face and strike-out do not count: a document bold throughout is not "formatted".
    const auto counted = A::caBold | A::caItalic | A::caSize | A::caUnderline | A::caColor;
    return (uniform & counted) != counted;
}

QMessageBox::StandardButton TEditorModes::TextWarning() {
    return m.prompts.message(
        &m.window, QStringLiteral("Switch Text?"),
        QStringLiteral("If you switch the editor into text modus, you will lose all format "
                       "information!\r\nDo you really want to proceed?"),
        QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes);
}

void TEditorModes::MenuPlainRTFClick() {
    SetRTFMode();
}

void TEditorModes::MenuPlainTextClick() {
    if (m.flags.HTMLMode)
        switchText();
    const int start = m.Memo.SelStart();
    const int length = m.Memo.SelLength();
    if (!HasFormatting()) {
        SetTextMode();
    } else if (TextWarning() == QMessageBox::Yes) {
        SetTextMode();
        m.actions.MenuPlainRTF->setChecked(false);
        m.actions.MenuPlainText->setChecked(true);
    }
    restoreCaret(start, length);
}

void TEditorModes::HTMLPictureMode1Click() {
    if (!m.flags.HTMLMode)
        switchHTML();
}

void TEditorModes::restoreCaret(int start, int length) {
    const int caret = std::max(start - length, 0);
    m.Memo.SelectRange(caret, caret, true);
}
