#pragma once

#include "editor/sidepanelhost.h"

#include <functional>

class TDocumentState;
class TRxRichEdit;
struct TModeFlags;

// The editor window as the side panel sees it: the document state, the editing area and the
// mode flags, with the file commands' loader and save question handed in as calls.
class TSidePanelWindowHost : public SidePanelHost {
public:
    TSidePanelWindowHost(TDocumentState &document, TRxRichEdit &memo, const TModeFlags &mode,
                         std::function<bool()> askSaveChanges,
                         std::function<void(const QString &)> openFile);

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
    std::function<bool()> m_askSaveChanges;
    std::function<void(const QString &)> m_openFile;
};
