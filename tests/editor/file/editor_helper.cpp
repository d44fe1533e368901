// An editor process for the tests: creates the editor window as the program does, prints
// "ready <n> <recent files>" and then follows commands read from its input, one a line:
//   add <path>   puts a path on the recent files
//   close        closes the window, which writes the settings, and ends the process
#include "editor/file/filecommands.h"
#include "editor/window/mainform.h"
#include "editorservices.h"
#include "recordingshell.h"
#include "scriptedprompts.h"

#include <QApplication>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

int main(int argc, char *argv[]) {
    QApplication app(argc, argv);
    ScriptedPrompts prompts;
    EditorServices services;
    auto form = std::make_unique<TMainForm>(services.context(prompts));
    form->show();
    QApplication::processEvents();

    const TRecentFiles &recent = form->fileCommands().recentFiles();
    QStringList listed;
    for (int slot = 0; slot < TRecentFiles::Count; ++slot)
        if (recent.isUsed(slot))
            listed.append(recent.path(slot));
    std::printf("ready %d %s\n", int(listed.size()), qPrintable(listed.join(QLatin1Char(' '))));
    std::fflush(stdout);

    std::string line;
    while (std::getline(std::cin, line)) {
        const QString command = QString::fromStdString(line);
        if (command.startsWith(QLatin1String("add ")))
            form->fileCommands().AddRecentFile(command.mid(4));
        else if (command == QLatin1String("close"))
            break;
    }
    form->close();
    form.reset();
    return prompts.unexpectedCount() == 0 ? 0 : 2;
}
