#include "app/startup.h"

#include "app/firstpaintwatcher.h"
#include "app/quilletapplication.h"
#include "app/splash.h"
#include "app/startupdecision.h"
#include "app/testscript.h"
#include "editor/journal/journalrestore.h"
#include "editor/sidepanel/termfile.h"
#include "editor/window/mainform.h"
#include "icons/programimages.h"
#include "platform/desktopshell.h"
#include "platform/errorreport.h"
#include "platform/filenames.h"
#include "platform/helpviewer.h"
#include "platform/installpaths.h"
#include "platform/namedmutex.h"
#include "platform/qtprompts.h"
#include "platform/settingsstore.h"
#include "viewer/textviewform.h"
#include "viewer/viewerrules.h"

#include <QFile>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <optional>

namespace {

void trace(const char *event, const QString &details = QString()) {
    static const bool enabled = qEnvironmentVariableIsSet("QUILLET_STARTUP_TRACE");
    if (!enabled)
        return;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(
                        std::chrono::steady_clock::now().time_since_epoch())
                        .count();
    std::fprintf(stderr, "quillet-startup: %s %lld %s\n", event, static_cast<long long>(ns),
                 qPrintable(details));
    std::fflush(stderr);
}

} // namespace

int runQuillet(int argc, char *argv[]) {
    trace("main");
    // The choice comes first, before any window or the application object exists.
    const bool otherInstance =
        NamedMutex::claim(QStringLiteral("Quillet_Viewer")) == NamedMutex::Claim::AlreadyExisted;
    // A viewer handing its file over counts as a running instance even if it has ended already;
    // the marker is not passed on to programs this process starts.
    const bool handedOver = qEnvironmentVariableIsSet(kHandedOverVariable);
    qunsetenv(kHandedOverVariable);
    const StartupFlags flags = ReadStartupFlags(
        SettingsStore(SettingsStore::userStorePath(), SettingsStore::Access::ReadOnly));
    QStringList arguments;
    QString unusableName;
    for (int i = 1; i < argc; ++i)
        arguments.append(QFile::decodeName(argv[i]));
    // A first argument whose name cannot be opened by its text is refused with its reason, and
    // the editor starts without it.
    if (argc > 1 && !IsUsableFileName(argv[1])) {
        unusableName = arguments.takeFirst();
        arguments.clear();
    }
    const StartWindow choice =
        ChooseStartWindow(arguments, flags.noTV, otherInstance || handedOver);
    const QString file = arguments.value(0);

    // Another editor process holds "Quillet": this one shows no splash window.
    const bool firstEditor =
        choice == StartWindow::Editor &&
        NamedMutex::claim(QStringLiteral("Quillet")) == NamedMutex::Claim::Created;
    trace("decision", QStringLiteral("window=%1 splash=%2")
                          .arg(choice == StartWindow::Editor ? QStringLiteral("editor")
                                                             : QStringLiteral("viewer"),
                               !firstEditor     ? QStringLiteral("none")
                               : flags.noSplash ? QStringLiteral("hidden")
                                                : QStringLiteral("shown")));

    QtPrompts prompts;
    DesktopShell shell;
    QuilletApplication app(argc, argv, prompts);
    QApplication::setWindowIcon(ProgramImages::programIcon());
    // Wayland shells find the launcher, and with it the icon, by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLET_APP_ID));
    HelpViewer help(shell);
    std::optional<SettingsStore> settings;
    std::unique_ptr<TSplash> splash;
    std::unique_ptr<QWidget> mainWindow;
    TMainForm *editor = nullptr;

    const bool created = ErrorReport::run(prompts, nullptr, [&] {
        if (choice == StartWindow::Editor) {
            if (firstEditor) {
                splash = std::make_unique<TSplash>(shell);
                if (!flags.noSplash)
                    splash->showAndPaint();
            }
            QCoreApplication::setApplicationName(QStringLiteral("Quillet Vado"));
            help.setHelpFile(HelpViewer::defaultHelpFile());
            trace("help-file", help.helpFile());
            trace("term-file", TermFile::defaultReadPath());
            trace("converter-folder", InstallPaths::converterFolder(InstallPaths::programFolder()));
            settings.emplace(SettingsStore::userStorePath(), SettingsStore::Access::ReadWrite);
            auto form = std::make_unique<TMainForm>(MainFormContext{
                .prompts = prompts,
                .shell = shell,
                .settings = *settings,
                .help = help,
                .claimMutex = NamedMutex::claim,
                .commandLineFile = file,
                // Hiding the splash window never fails the editor's creation.
                .hideSplash =
                    [&splash] {
                        if (splash)
                            splash->hide();
                    },
            });
            editor = form.get();
            mainWindow = std::move(form);
        } else {
            QCoreApplication::setApplicationName(QStringLiteral("Quillet_Viewer"));
            mainWindow = std::make_unique<TTextViewForm>(prompts, shell, file);
        }
    });
    if (!created || !mainWindow)
        return 1;

    new FirstPaintWatcher(mainWindow.get(), [&app] {
        trace("first-paint");
        if (qEnvironmentVariableIsSet("QUILLET_QUIT_AFTER_SHOW"))
            app.quit();
    });
    mainWindow->show();
    TestScript::startFromEnvironment(*mainWindow);
    // Unsaved work an ended editor left is offered once the window is up.
    if (editor)
        QTimer::singleShot(0, editor, [editor, &prompts] {
            ErrorReport::run(prompts, editor,
                             [editor] { editor->journalRestore().OfferJournals(); });
        });
    if (!unusableName.isEmpty())
        ErrorReport::show(prompts, mainWindow.get(), UnusableFileNameText(unusableName));
    const int code = app.exec();
    mainWindow.reset();
    splash.reset();
    return code;
}
