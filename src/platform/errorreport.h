#pragma once

#include <QString>
#include <functional>

class Prompts;
class QWidget;

// The program's general error report. Every command handler (menu item, tool button, shortcut,
// dropped file, control notification) runs inside ErrorReport::run: an error that the handler
// does not handle itself ends the handler, its text is shown in a message box (caption: the
// application's title, error icon, OK), and the program goes on.
//
//   connect(OpenAction, &QAction::triggered, this,
//           ErrorReport::guard(m_prompts, this, [this] { OpenActionExecute(); }));
//
// Raise UserError (platform/usererror.h) for errors meant for the user; any other std::exception
// shows its what() text. Qt does not carry exceptions through its event loop, so a handler must
// never let one escape except into run() (the application's event dispatch catches strays only as
// a last resort, with the same report).
namespace ErrorReport {

// Runs the handler; answers false when it ended with an error (which has then been shown).
bool run(Prompts &prompts, QWidget *parent, const std::function<void()> &handler);

// Shows an error text the way run() does.
void show(Prompts &prompts, QWidget *parent, const QString &text);

// A slot that runs `handler` inside run(); `prompts` and `parent` must outlive the connection.
template <typename Handler>
auto guard(Prompts &prompts, QWidget *parent, Handler handler) {
    return [&prompts, parent, handler = std::move(handler)]() mutable {
        run(prompts, parent, handler);
    };
}

} // namespace ErrorReport
