#pragma once

#include <QString>

class Shell;

// The application's help file, an HTML page, shown in the desktop's browser. The start-up points
// it at the page beside the program; the Help command may point it elsewhere.
class HelpViewer {
public:
    explicit HelpViewer(Shell &shell)
        : m_shell(shell) {}

    // "Quillet.html" beside the running program, or in its data folder when installed.
    static QString defaultHelpFile();

    void setHelpFile(const QString &path) { m_helpFile = path; }
    const QString &helpFile() const { return m_helpFile; }

    // Opens the page; false when there is no help file or nothing could show it.
    bool showContents();
    // Opens the page at the topic of a help context number (the anchor "context-<number>").
    bool showTopic(int context);

private:
    bool open(const QString &fragment);

    Shell &m_shell;
    QString m_helpFile;
};
