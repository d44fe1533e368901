#pragma once

#include "platform/textfile.h"
#include "viewer/plaintextprint.h"

#include <QMainWindow>
#include <QStringList>

class JournalWriter;
class Prompts;
class Shell;
class QAction;
class QMenu;
class QMimeData;
class QPlainTextEdit;

// The light window for small plain text files: shows one file in a plain text area, edits,
// saves, searches and prints it, protects data files from being saved over, and hands the file
// over to the editor window of a new process. It is the only window of a viewer process.
class TTextViewForm : public QMainWindow {
    Q_OBJECT

public:
    // Shows `file` (the first command-line argument; empty: none). The hand-over starts the new
    // process through `shell`. `prompts` and `shell` must outlive the window.
    TTextViewForm(Prompts &prompts, Shell &shell, const QString &file = QString(),
                  QWidget *parent = nullptr);

    // Replaces the printer Print uses (the system's default printer).
    void setPrinterSource(PrinterSource source) { m_printerSource = std::move(source); }
    // How long the hand-over waits for the new process to find this one running.
    void setHandOverWait(int milliseconds) { m_handOverWaitMs = milliseconds; }

    QString currentFileName() const { return m_currentFile; }
    bool isDataFile() const { return m_dataFile; }
    TextFormat textFormat() const { return m_format; }
    bool isModified() const;
    // The whole text as the text area holds it, one "\n" per line break.
    QString memoText() const;
    QPlainTextEdit *memo() const { return m_memo; }
    // Keeps the crash journal of the modified text.
    JournalWriter &journal() const { return *m_journal; }

public slots:
    void NewMenuClick();
    void Open1Click();
    void SaveMenuClick();
    void SaveAsMenuClick();
    void PrintMenuClick();
    void Exit1Click();
    void WordWrapMenuClick();
    void FindMenuClick();
    void StartinQuillet1Click();
    // Files dropped from the shell onto the window; only the first counts.
    void WMDropFiles(const QStringList &files);
    void HandOverToEditor();
    // Asks whether to save the modified text; false when the command that asks is to stop.
    bool AskToSave();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createMemo();
    void createActions();
    void createMenus();
    void createJournal();
    void FormCreate(const QString &file);
    bool FormCloseQuery();

    // Reads the file and, only when that worked, shows it as the current document.
    void loadFile(const QString &file);
    // Writes the whole text to the file in the document's format; false after an error report.
    bool writeTextFile(const QString &file);
    // Runs the Save As dialog and writes; false when cancelled or the write failed.
    bool saveAs();
    // Starts a new process of the program on the file, waits for it to choose the editor and
    // closes this window.
    void handOver(const QString &file);
    void findNext();
    // Selects the first occurrence of the search text in `text` at or after `from` and answers
    // the position after it; with none, collapses the selection and answers -1.
    qsizetype selectOccurrence(const QString &text, qsizetype from);
    void setModified(bool modified);
    void reportError(const QString &text);
    QStringList droppedFiles(const QMimeData *mime) const;

    Prompts &m_prompts;
    Shell &m_shell;
    QPlainTextEdit *m_memo = nullptr;
    QMenu *m_contextMenu = nullptr;
    QAction *m_newAction = nullptr;
    QAction *m_openAction = nullptr;
    QAction *m_saveAction = nullptr;
    QAction *m_saveAsAction = nullptr;
    QAction *m_printAction = nullptr;
    QAction *m_exitAction = nullptr;
    QAction *m_cutAction = nullptr;
    QAction *m_copyAction = nullptr;
    QAction *m_pasteAction = nullptr;
    QAction *m_undoAction = nullptr;
    QAction *m_selectAllAction = nullptr;
    QAction *m_wordWrapAction = nullptr;
    QAction *m_findAction = nullptr;
    QAction *m_findNextAction = nullptr;
    QAction *m_showInQuilletAction = nullptr;

    QString m_currentFile;
    bool m_dataFile = false;
    TextFormat m_format;
    // A data file's bytes as read, so that an unedited one goes back byte for byte.
    QByteArray m_loadedBytes;
    QString m_searchText;
    bool m_acceptFileDrops = true;
    int m_handOverWaitMs = 800;
    PrinterSource m_printerSource;
    JournalWriter *m_journal = nullptr;
};
