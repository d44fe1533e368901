#include "editor/frame/toolbarimages.h"

#include "editor/frame/editoractions.h"
#include "icons/programimages.h"

#include <QAction>
#include <QIcon>

TToolbarImages::TToolbarImages(TEditorActions &a) {
    const QString none;
    m_images = {
        {a.NewAction, QStringLiteral("document-new"), QStringLiteral("document-new")},
        {a.OpenAction, QStringLiteral("document-open"), QStringLiteral("document-open")},
        {a.SaveAction, QStringLiteral("document-save"), QStringLiteral("document-save")},
        {a.SaveAsAction, QStringLiteral("document-save-as"), QStringLiteral("document-save-as")},
        {a.Send1, QStringLiteral("mail-send"), QStringLiteral("mail-send")},
        {a.PrinterSetup, QStringLiteral("document-page-setup"),
         QStringLiteral("document-page-setup")},
        {a.PagePreview1, QStringLiteral("document-print-preview"),
         QStringLiteral("document-print-preview")},
        {a.PrintAction, QStringLiteral("document-print"), QStringLiteral("document-print")},
        {a.ExitAction, QStringLiteral("application-exit"), QStringLiteral("application-exit")},
        {a.UndoAction, QStringLiteral("edit-undo"), QStringLiteral("edit-undo")},
        {a.RedoAction, QStringLiteral("edit-redo"), QStringLiteral("edit-redo")},
        {a.CutAction, QStringLiteral("edit-cut"), QStringLiteral("edit-cut")},
        {a.CopyAction, QStringLiteral("edit-copy"), QStringLiteral("edit-copy")},
        {a.PasteAction, QStringLiteral("edit-paste"), QStringLiteral("edit-paste")},
        {a.SelectAllAction, QStringLiteral("edit-select-all"), QStringLiteral("edit-select-all")},
        {a.PoPCut, QStringLiteral("edit-cut"), QStringLiteral("edit-cut")},
        {a.PoPCopy, QStringLiteral("edit-copy"), QStringLiteral("edit-copy")},
        {a.PoPPaste, QStringLiteral("edit-paste"), QStringLiteral("edit-paste")},
        {a.PoPSelectAll, QStringLiteral("edit-select-all"), QStringLiteral("edit-select-all")},
        {a.FindAction, QStringLiteral("edit-find"), QStringLiteral("edit-find")},
        {a.ReplaceAction, QStringLiteral("edit-find-replace"), QStringLiteral("edit-find-replace")},
        {a.Last, QStringLiteral("go-previous"), QStringLiteral("go-previous")},
        {a.Next, QStringLiteral("go-next"), QStringLiteral("go-next")},
        {a.StayTopAction, none, QStringLiteral("stay-on-top")},
        {a.DateBut, QStringLiteral("x-office-calendar"), QStringLiteral("x-office-calendar")},
        {a.InsTimeAction, none, QStringLiteral("clock")},
        {a.AddTxtFileAction, QStringLiteral("insert-text"), QStringLiteral("insert-text")},
        {a.InsPicAction, QStringLiteral("insert-image"), QStringLiteral("insert-image")},
        {a.SpellAction, QStringLiteral("tools-check-spelling"),
         QStringLiteral("tools-check-spelling")},
        {a.WWAction, none, QStringLiteral("word-wrap")},
        {a.BoldAction, QStringLiteral("format-text-bold"), QStringLiteral("format-text-bold")},
        {a.ItalicAction, QStringLiteral("format-text-italic"),
         QStringLiteral("format-text-italic")},
        {a.UnderscoreAction, QStringLiteral("format-text-underline"),
         QStringLiteral("format-text-underline")},
        {a.StrikeAction, QStringLiteral("format-text-strikethrough"),
         QStringLiteral("format-text-strikethrough")},
        {a.BulletAction, QStringLiteral("format-list-unordered"),
         QStringLiteral("format-list-unordered")},
        {a.LeftAction, QStringLiteral("format-justify-left"),
         QStringLiteral("format-justify-left")},
        {a.CenterAction, QStringLiteral("format-justify-center"),
         QStringLiteral("format-justify-center")},
        {a.RightAction, QStringLiteral("format-justify-right"),
         QStringLiteral("format-justify-right")},
        {a.JustifyAction, QStringLiteral("format-justify-fill"),
         QStringLiteral("format-justify-fill")},
        {a.IncIndentAction, QStringLiteral("format-indent-more"),
         QStringLiteral("format-indent-more")},
        {a.DecIndentAction, QStringLiteral("format-indent-less"),
         QStringLiteral("format-indent-less")},
        {a.FontAction, QStringLiteral("preferences-desktop-font"),
         QStringLiteral("preferences-desktop-font")},
        // Theme pictures for case changes show an arrow on arbitrary letters; ours say it plainly.
        {a.UpperAction, none, QStringLiteral("text-uppercase")},
        {a.LowerAction, none, QStringLiteral("text-lowercase")},
        {a.SuperscriptAction, QStringLiteral("format-text-superscript"),
         QStringLiteral("format-text-superscript")},
        {a.SubscriptAction, QStringLiteral("format-text-subscript"),
         QStringLiteral("format-text-subscript")},
        {a.FontColorAction, QStringLiteral("format-text-color"),
         QStringLiteral("format-text-color")},
        {a.BackColorAction, QStringLiteral("format-fill-color"),
         QStringLiteral("format-fill-color")},
        {a.HelpAbout, QStringLiteral("help-about"), QStringLiteral("help-about")},
        {a.HelpMenu, QStringLiteral("help-contents"), QStringLiteral("help-contents")},
    };
    // Run locations 1 to 6 in slot order; the buttons hinted "Run Program 5" and "Run Program 6"
    // start locations 6 and 5, so their slots cross.
    m_slots = {a.OpencurrentfilewithEditor11,
               a.OpencurrentfilewithEditor1,
               a.ToolButton7,
               a.ToolButton8,
               a.PaintAction,
               a.CharMapAction};
    for (int location = 1; location <= m_slots.size(); ++location)
        m_images.append(
            {m_slots[location - 1], none, QStringLiteral("run-location-%1").arg(location)});

    for (const Image &entry : m_images)
        entry.command->setIcon(ProgramImages::commandImage(entry.themeName, entry.image));
}

QAction *TToolbarImages::slotCommand(int slot) const {
    if (slot < FirstRunLocationSlot || slot > LastRunLocationSlot)
        return nullptr;
    return m_slots.value(slot - FirstRunLocationSlot);
}

bool TToolbarImages::setSlotImage(int slot, const QIcon &icon) {
    QAction *command = slotCommand(slot);
    if (!command || icon.isNull())
        return false;
    command->setIcon(icon);
    return true;
}
