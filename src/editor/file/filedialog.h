#pragma once

#include <QString>
#include <QStringList>

// What the window keeps of one of its file dialogs between uses: the folder it opens in, its
// filter and the entry chosen last. The dialog itself is shown through Prompts.
struct TFileDialog {
    QString InitialDir;
    // Qt filter strings ("Text Files (*.txt)"), see qtFileFilters().
    QStringList Filter;
    // 1-based, as the filter entries are numbered.
    int FilterIndex = 1;
};

// Turns a filter in the "description|patterns|description|patterns" form into Qt filter strings.
// Patterns may be separated by ";" or ","; each is offered in lower and upper case too, since
// file names on this platform are case-sensitive and the filters were written for one that is
// not. An entry without patterns is dropped.
QStringList qtFileFilters(const QString &filter);
