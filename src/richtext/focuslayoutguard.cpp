#include "richtext/focuslayoutguard.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>

namespace {

bool laidOut(const QTextBlock &block) {
    return block.layout() && block.layout()->lineCount() > 0;
}

} // namespace

FocusLayoutGuard::FocusLayoutGuard(QTextEdit *edit)
    : QObject(edit)
    , m_edit(edit) {
    m_retry.setInterval(100);
    connect(&m_retry, &QTimer::timeout, this, &FocusLayoutGuard::deliverHeldBack);
    edit->installEventFilter(this);
}

bool FocusLayoutGuard::wouldLayOutAll() const {
    const QTextCursor cursor = m_edit->textCursor();
    const QTextDocument *doc = m_edit->document();
    if (!cursor.hasSelection() || doc->pageSize().isNull() || laidOut(doc->lastBlock()))
        return false;
    const QTextBlock start = doc->findBlock(cursor.selectionStart());
    const QTextBlock end = doc->findBlock(cursor.selectionEnd());
    return start != end || !laidOut(start);
}

bool FocusLayoutGuard::eventFilter(QObject *watched, QEvent *event) {
    const bool focusChange = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
    if (watched != m_edit || !focusChange || m_delivering)
        return QObject::eventFilter(watched, event);
    if (wouldLayOutAll()) {
        m_retry.start();
        return true;
    }
    m_retry.stop();
    m_controlFocused = event->type() == QEvent::FocusIn;
    return false;
}

void FocusLayoutGuard::deliverHeldBack() {
    if (wouldLayOutAll())
        return;
    m_retry.stop();
    const bool focused = m_edit->hasFocus();
    if (focused == m_controlFocused)
        return;
    QFocusEvent change(focused ? QEvent::FocusIn : QEvent::FocusOut, Qt::OtherFocusReason);
    m_delivering = true;
    QCoreApplication::sendEvent(m_edit, &change);
    m_delivering = false;
    m_controlFocused = focused;
}
