#pragma once

#include "platform/namedmutex.h"

#include <QString>
#include <functional>

class Prompts;
class Shell;

// What the process start-up hands the editor window: services it does not own and the little
// it knows about this run. Every reference must outlive the window.
struct MainFormContext {
    Prompts &prompts;
    // The first command-line argument, empty when the process was started without one.
    QString commandLineFile;
    // Hides the splash window if one is shown; may be empty. Its errors are the caller's.
    std::function<void()> hideSplash;
    // Blocks for the given milliseconds; empty means sleeping. Tests pass one that records.
    std::function<void(int)> wait;
    // Starts programs, opens documents, plays sounds; null: the desktop's shell.
    Shell *shell = nullptr;
    // Claims a system-wide name; empty: NamedMutex::claim. Tests pass one per simulated process.
    std::function<NamedMutex::Claim(const QString &)> claimMutex = {};
    // The folder of the program's own file, where the term file lives; empty: the executable's.
    QString programFolder = {};
};
