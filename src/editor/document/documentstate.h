#pragma once

#include "editor/file/filedialog.h"

#include <QString>

class QWidget;
class TStatusPanels;

// The document the window shows: its name and folder, the data-file mark, and the three file
// dialogs whose folder follows the document. SetDocumentName is the one routine that shows a new
// name in the caption and the status bar. The modified flag lives in the editing area.
class TDocumentState {
public:
    static const QString Untitled;
    static const QString ApplicationTitle;

    TDocumentState(QWidget &window, TStatusPanels &status);

    // The full path of the file last opened, saved or viewed, or "Untitled".
    QString DocumentName;
    // The folder part of DocumentName with its closing "/", empty for a name without folder.
    QString DocumentFolder;
    // Loaded from a file holding a NUL byte; saving it over is refused.
    bool DataFile = false;

    TFileDialog OpenDialog;
    TFileDialog OpenPictureDialog;
    TFileDialog SaveDialog;

    void SetDocumentName(const QString &name);

    // The name part of a path (after the last "/") and its folder part (up to and including it).
    static QString namePart(const QString &path);
    static QString folderPart(const QString &path);

private:
    QWidget &m_window;
    TStatusPanels &m_status;
};
