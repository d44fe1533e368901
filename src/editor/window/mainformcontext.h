#pragma once

#include "platform/namedmutex.h"

#include <QString>
#include <functional>

class HelpViewer;
class Prompts;
class SettingsStore;
class Shell;

// What the process start-up hands the editor window: the services it builds and the window uses
// without owning them, and the little it knows about this run. Every reference must outlive the
// window.
struct MainFormContext {
    Prompts &prompts;
    // Starts programs, opens documents and links, plays sounds.
    Shell &shell;
    // The per-user store the window reads its settings from and writes them to.
    SettingsStore &settings;
    // The help page and the desktop's way of showing it.
    HelpViewer &help;
    // Claims a system-wide name. Tests pass one per simulated process.
    std::function<NamedMutex::Claim(const QString &)> claimMutex;
    // The first command-line argument, empty when the process was started without one.
    QString commandLineFile = {};
    // Hides the splash window if one is shown; may be empty. Its errors are the caller's.
    std::function<void()> hideSplash = {};
    // Blocks for the given milliseconds; empty means sleeping. Tests pass one that records.
    std::function<void(int)> wait = {};
    // The folder of the program's own file, where the term file lives; empty: the executable's.
    QString programFolder = {};
    // The converter helper process (quillet-converter-host); empty: the one beside the program.
    QString converterHost = {};
};
