#include "editor/sidepanel/sidepanelwindowhost.h"

#include "editor/document/documentstate.h"
#include "editor/document/modeflags.h"
#include "richtext/rxrichedit.h"

TSidePanelWindowHost::TSidePanelWindowHost(TDocumentState &document, TRxRichEdit &memo,
                                           const TModeFlags &mode)
    : m_document(document)
    , m_memo(memo)
    , m_mode(mode) {}

QString TSidePanelWindowHost::documentName() const {
    return m_document.DocumentName;
}

QString TSidePanelWindowHost::documentFolder() const {
    return m_document.DocumentFolder;
}

bool TSidePanelWindowHost::isModified() const {
    return m_memo.Modified();
}

bool TSidePanelWindowHost::isEditing() const {
    return m_mode.RTFMode || m_mode.TextMode;
}

QString TSidePanelWindowHost::selectedText() const {
    return m_memo.SelText();
}

void TSidePanelWindowHost::replaceSelection(const QString &text) {
    m_memo.SetSelText(text);
}

void TSidePanelWindowHost::focusMemo() {
    if (m_memo.isEnabled() && m_memo.isVisible())
        m_memo.setFocus();
}

bool TSidePanelWindowHost::askSaveChanges() {
    return AskSaveChanges ? AskSaveChanges() : true;
}

void TSidePanelWindowHost::openFile(const QString &path) {
    if (OpenFile)
        OpenFile(path);
}
