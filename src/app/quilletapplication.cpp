#include "app/quilletapplication.h"

#include "platform/errorreport.h"
#include "widgets/lineeditaccessible.h"

#include <exception>

QuilletApplication::QuilletApplication(int &argc, char **argv, Prompts &prompts)
    : QApplication(argc, argv)
    , m_prompts(prompts) {
    LineEditAccessible::install();
}

bool QuilletApplication::notify(QObject *receiver, QEvent *event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const std::exception_ptr error = std::current_exception();
        ErrorReport::run(m_prompts, activeWindow(), [error] { std::rethrow_exception(error); });
        return false;
    }
}
