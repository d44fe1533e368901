#include "platform/errorreport.h"

#include "platform/prompts.h"
#include "platform/usererror.h"

#include <QGuiApplication>
#include <exception>
#include <new>

namespace ErrorReport {

void show(Prompts &prompts, QWidget *parent, const QString &text) {
    prompts.error(parent, QGuiApplication::applicationDisplayName(), text);
}

bool run(Prompts &prompts, QWidget *parent, const std::function<void()> &handler) {
    QString text;
    try {
        handler();
        return true;
    } catch (const UserError &e) {
        text = e.text();
    } catch (const std::bad_alloc &) {
        text = QStringLiteral("Out of memory");
    } catch (const std::exception &e) {
        text = QString::fromLocal8Bit(e.what());
    } catch (...) {
        text = QStringLiteral("An unknown error occurred");
    }
    // Shown outside the catch block so that a second error while showing it is not nested.
    show(prompts, parent, text);
    return false;
}

} // namespace ErrorReport
