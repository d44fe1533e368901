#pragma once

#include "editor/window/mainformcontext.h"
#include "platform/helpviewer.h"
#include "platform/settingsstore.h"
#include "recordingshell.h"

// What the start-up builds for the editor window, as tests and benchmarks build it: a shell that
// only records, the per-user store of the isolated config folder, the help page, and named
// mutexes claimed for real (set `claim` to simulate other processes). Create it after the test
// environment, and keep it alive as long as the window.
struct EditorServices {
    RecordingShell shell;
    SettingsStore settings{SettingsStore::userStorePath(), SettingsStore::Access::ReadWrite};
    HelpViewer help{shell};
    std::function<NamedMutex::Claim(const QString &)> claim = NamedMutex::claim;

    // A window context on these services that never waits.
    MainFormContext context(Prompts &prompts) {
        return MainFormContext{.prompts = prompts,
                               .shell = shell,
                               .settings = settings,
                               .help = help,
                               .claimMutex = claim,
                               .wait = [](int) {}};
    }
};
