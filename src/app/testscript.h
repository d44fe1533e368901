#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

class QWidget;

// Drives the real program for process tests: when QUILLET_TEST_SCRIPT names a file, its lines
// run one after the other against the shown main window, also while a modal dialog is up.
//
//   wait <ms>              pause
//   waitfor <objectName>   until a shown widget of that name exists (a dialog, the window)
//   type <text>            key presses into the focused widget; "\n" is Return, "\\" a backslash
//   shortcut <keys>        triggers the window's enabled action with that shortcut ("Ctrl+S")
//   click <text>           clicks the button with that text in the active modal dialog
//   dump <path>            writes the caption, "modified: 0|1", "modal: <name>|none" and the
//                          text area's text
//   close                  closes the main window as the user would
//
// A command that cannot be done is reported on stderr and the script goes on.
class TestScript : public QObject {
    Q_OBJECT

public:
    static void startFromEnvironment(QWidget &window);

private:
    TestScript(QWidget &window, QStringList lines);
    void next();
    // False while the command waits and is to be tried again.
    bool run(const QString &command, const QString &argument);

    QPointer<QWidget> m_window;
    QStringList m_lines;
    int m_waitedMs = 0;
};
