#include "editor/document/editormodes.h"

#include "editor/document/editlayout.h"
#include "editor/document/modeflags.h"
#include "editor/frame/editoractions.h"
#include "editor/frame/mainmenu.h"
#include "editor/frame/toolbars.h"
#include "platform/prompts.h"
#include "richtext/rtf/documentio.h"
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
    , m_context(context) {
    TEditorActions &a = m_context.actions;
    a.route(a.MenuPlainRTF, this, &TEditorModes::MenuPlainRTFClick);
    a.route(a.MenuPlainText, this, &TEditorModes::MenuPlainTextClick);
    a.route(a.HTMLPictureMode1, this, &TEditorModes::HTMLPictureMode1Click);
}

void TEditorModes::StartInRTFMode() {
    m_context.flags = TModeFlags{};
    switchRTFon();
}

void TEditorModes::switchRTFon() {
    m_context.flags.PlainLayout = false;
    if (m_context.flags.RTFMode)
        return;
    m_context.flags.RTFMode = true;
    m_context.flags.TextMode = false;
    TEditorActions &a = m_context.actions;
    if (a.MenuPlainText->isChecked()) {
        a.MenuPlainText->setChecked(false);
        a.MenuPlainRTF->setChecked(true);
    }
    setFormatting(true);
    a.setAllowed(a.WWAction, false);
    setEditing(true);
    a.setAllowed(a.CopyAction, true);
    showRuler(true);
    bringToFront(m_context.Memo);
    m_context.window.update();
}

void TEditorModes::switchRTFoff() {
    if (m_context.flags.TextMode)
        return;
    m_context.flags.RTFMode = false;
    m_context.flags.TextMode = true;
    m_context.flags.PlainLayout = true;
    TEditorActions &a = m_context.actions;
    if (a.MenuPlainRTF->isChecked()) {
        a.MenuPlainRTF->setChecked(false);
        a.MenuPlainText->setChecked(true);
    }
    setFormatting(false);
    a.setAllowed(a.WWAction, true);
    showRuler(false);
    bringToFront(m_context.Memo);
}

void TEditorModes::switchHTML() {
    m_context.ListBoxT.setEnabled(false);
    switchRTFoff();
    TEditorActions &a = m_context.actions;
    setFormatting(false);
    a.setAllowed(a.WWAction, true);
    a.WWAction->setChecked(false);
    setEditing(false);
    setViewerExtras(false);
    showRuler(false);
    bringToFront(m_context.htmlLite1);
    m_context.flags.HTMLMode = true;
    m_context.flags.RTFMode = false;
    m_context.flags.TextMode = false;
}

void TEditorModes::switchText() {
    m_context.ListBoxT.setEnabled(true);
    switchRTFon();
    TEditorActions &a = m_context.actions;
    setFormatting(true);
    a.setAllowed(a.WWAction, false);
    a.WWAction->setChecked(true);
    setEditing(true);
    a.setAllowed(a.CopyAction, true);
    setViewerExtras(true);
    showRuler(true);
    bringToFront(m_context.Memo);
    m_context.flags.RTFMode = true;
    m_context.flags.HTMLMode = false;
    m_context.flags.TextMode = false;
}

void TEditorModes::setFormatting(bool on) {
    TEditorActions &a = m_context.actions;
    for (QAction *command : {a.BoldAction, a.ItalicAction, a.UnderscoreAction, a.LeftAction,
                             a.CenterAction, a.RightAction, a.BulletAction, a.MenuLetterStyle})
        a.setAllowed(command, on);
    TMainMenu::setMenuEnabled(m_context.menus.Adjusments1, on);
    m_context.toolBars.ToolBFormat1->setEnabled(on);
    m_context.toolBars.ToolBFormat2->setEnabled(on);
}

void TEditorModes::setEditing(bool on) {
    TEditorActions &a = m_context.actions;
    TMainMenu::setMenuEnabled(m_context.menus.EditMenu, on);
    TMainMenu::setMenuEnabled(m_context.menus.Insert1, on);
    for (QAction *command : {a.PrintAction, a.CutAction, a.PasteAction})
        a.setAllowed(command, on);
}

void TEditorModes::setViewerExtras(bool on) {
    TEditorActions &a = m_context.actions;
    for (QAction *command : {a.UndoAction, a.RedoAction, a.StrikeAction, a.PoPPaste, a.PasteSpecial,
                             a.PagePreview1, a.PrinterSetup})
        a.setAllowed(command, on);
    m_context.toolBars.ToolBInsert->setEnabled(on);
}

void TEditorModes::showRuler(bool on) {
    m_context.RulerPanel.setVisible(on);
    for (QWidget *ruler : m_context.RulerPanel.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        ruler->setVisible(on);
}

void TEditorModes::bringToFront(QWidget &control) {
    m_context.EditPanel.setCurrentWidget(&control);
}

void TEditorModes::SetTextMode() {
    // The caret's line and column are worked out once, in the text mode's line width: in the
    // old width they would lay the whole text out for nothing.
    m_context.Memo.HoldNotifications();
    try {
        m_context.Memo.SetPlainText(true);
        m_context.Memo.SetTargetLineWidth(UnbrokenLineTwips);
        switchRTFoff();
        m_context.layout.SetEditRect();
        m_context.actions.MenuPlainText->setChecked(true);
    } catch (...) {
        m_context.Memo.ReleaseNotifications();
        throw;
    }
    m_context.Memo.ReleaseNotifications();
}

void TEditorModes::SetRTFMode() {
    if (m_context.flags.HTMLMode)
        switchText();
    const int start = m_context.Memo.SelStart();
    const int length = m_context.Memo.SelLength();
    m_context.actions.MenuPlainRTF->setChecked(true);
    m_context.actions.MenuPlainText->setChecked(false);
    m_context.Memo.SetPlainText(false);
    switchRTFon();
    m_context.layout.SetEditRect();
    restoreCaret(start, length);
}

bool TEditorModes::HasFormatting() {
    // Read over the whole text without selecting it: a selection reaching the end would have the
    // view lay out the whole text, and the caller's selection stays as it is.
    const auto uniform =
        m_context.Memo.SelAttributes().ConsistentBetween(0, m_context.Memo.TextLength());
    using A = TRxTextAttributes;
    // Face and strike-out do not count: a document bold throughout is not "formatted".
    const auto counted = A::caBold | A::caItalic | A::caSize | A::caUnderline | A::caColor;
    // What the document keeps of its RTF file (notes, fields, page setup) is lost as well.
    return (uniform & counted) != counted || hasKeptRtf(*m_context.Memo.document());
}

QMessageBox::StandardButton TEditorModes::TextWarning() {
    return m_context.prompts.message(
        &m_context.window, QStringLiteral("Switch Text?"),
        QStringLiteral("If you switch the editor into text modus, you will lose all format "
                       "information!\r\nDo you really want to proceed?"),
        QMessageBox::NoIcon, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
        QMessageBox::Yes);
}

void TEditorModes::MenuPlainRTFClick() {
    SetRTFMode();
}

void TEditorModes::MenuPlainTextClick() {
    if (m_context.flags.HTMLMode)
        switchText();
    const int start = m_context.Memo.SelStart();
    const int length = m_context.Memo.SelLength();
    if (!HasFormatting()) {
        SetTextMode();
    } else if (TextWarning() == QMessageBox::Yes) {
        SetTextMode();
        m_context.actions.MenuPlainRTF->setChecked(false);
        m_context.actions.MenuPlainText->setChecked(true);
    }
    restoreCaret(start, length);
}

void TEditorModes::HTMLPictureMode1Click() {
    if (!m_context.flags.HTMLMode)
        switchHTML();
}

void TEditorModes::restoreCaret(int start, int length) {
    const int caret = std::max(start - length, 0);
    m_context.Memo.SelectRange(caret, caret, true);
}
