#pragma once

#include "editor/sidepanel/sidepanelhost.h"

#include <functional>

class TDocumentState;
class TRxRichEdit;
struct TModeFlags;

// The editor window as the side panel sees it: the document state, the editing area and the
// mode flags, with the file commands' loader and save question handed in as calls.
class TSidePanelWindowHost : public SidePanelHost {
public:
    TSidePanelWindowHost(TDocumentState &document, TRxRichEdit &memo, const TModeFlags &mode);

    // The file commands' save question and loader, set by the window once they exist. Without
    // them no question is asked and opening from the side panel does nothing.
    std::function<bool()> AskSaveChanges;
    std::function<void(const QString &)> OpenFile;

    QString documentName() const override;
    QString documentFolder() const override;
    bool isModified() const override;
    bool isEditing() const override;
    QString selectedText() const override;
    void replaceSelection(const QString &text) override;
    void focusMemo() override;
    bool askSaveChanges() override;
    void openFile(const QString &path) override;

private:
    TDocumentState &m_document;
    TRxRichEdit &m_memo;
    const TModeFlags &m_mode;
};
