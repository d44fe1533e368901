#pragma once

#include <QString>

// The editor window as the side panel sees it: the document, the editing area's selection, and
// the file commands it hands files to.
class SidePanelHost {
public:
    virtual ~SidePanelHost() = default;

    // The full path of the document ("Untitled" for a new one) and its folder with the closing
    // separator (empty for "Untitled").
    virtual QString documentName() const = 0;
    virtual QString documentFolder() const = 0;
    virtual bool isModified() const = 0;
    // RTF or text mode (not HTML and picture mode).
    virtual bool isEditing() const = 0;

    // The editing area's selected text, paragraph breaks as CR LF.
    virtual QString selectedText() const = 0;
    // Replaces the editing area's selection; the inserted text is left selected.
    virtual void replaceSelection(const QString &text) = 0;
    // Gives the editing area the keyboard focus when it can take it.
    virtual void focusMemo() = 0;

    // The save question before the document is replaced; false when the user cancelled.
    virtual bool askSaveChanges() = 0;
    // The one loader every way of opening a file goes through.
    virtual void openFile(const QString &path) = 0;
};
