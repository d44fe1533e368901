#include "app/testscript.h"

#include "platform/savefile.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QTimer>
#include <cstdio>

namespace {

constexpr int PollMs = 50;
constexpr int WaitLimitMs = 30000;

void complain(const QString &text) {
    std::fprintf(stderr, "quillet-test-script: %s\n", qPrintable(text));
    std::fflush(stderr);
}

QString unescape(const QString &text) {
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
            ++i;
            out += text[i] == QLatin1Char('n') ? QLatin1Char('\n') : text[i];
        } else {
            out += text[i];
        }
    }
    return out;
}

QWidget *shownWidget(const QString &name) {
    for (QWidget *top : QApplication::topLevelWidgets()) {
        if (!top->isVisible())
            continue;
        if (top->objectName() == name)
            return top;
        for (QWidget *child : top->findChildren<QWidget *>(name)) {
            if (child->isVisible())
                return child;
        }
    }
    return nullptr;
}

void typeInto(QWidget *target, QChar c) {
    const bool newline = c == QLatin1Char('\n');
    const int key = newline ? int(Qt::Key_Return) : int(c.toUpper().unicode());
    const QString text = newline ? QStringLiteral("\r") : QString(c);
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

} // namespace

void TestScript::startFromEnvironment(QWidget &window) {
    const QString path = qEnvironmentVariable("QUILLET_TEST_SCRIPT");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        complain(QStringLiteral("cannot read %1").arg(path));
        return;
    }
    QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    lines.removeAll(QString());
    auto *script = new TestScript(window, lines);
    QTimer::singleShot(0, script, &TestScript::next);
}

TestScript::TestScript(QWidget &window, QStringList lines)
    : QObject(&window)
    , m_window(&window)
    , m_lines(std::move(lines)) {}

void TestScript::next() {
    while (!m_lines.isEmpty()) {
        const QString line = m_lines.first();
        const qsizetype blank = line.indexOf(QLatin1Char(' '));
        const QString command = blank < 0 ? line : line.left(blank);
        const QString argument = blank < 0 ? QString() : line.mid(blank + 1);
        if (!run(command, argument)) {
            m_waitedMs += PollMs;
            if (m_waitedMs < WaitLimitMs) {
                QTimer::singleShot(PollMs, this, &TestScript::next);
                return;
            }
            complain(QStringLiteral("gave up waiting: %1").arg(line));
        }
        m_waitedMs = 0;
        m_lines.removeFirst();
        if (command == QLatin1String("wait")) {
            QTimer::singleShot(argument.toInt(), this, &TestScript::next);
            return;
        }
        // Each command in its own turn of the event loop, as a user's would be.
        QTimer::singleShot(0, this, &TestScript::next);
        return;
    }
}

bool TestScript::run(const QString &command, const QString &argument) {
    if (!m_window)
        return true;
    if (command == QLatin1String("wait"))
        return true;
    if (command == QLatin1String("waitfor"))
        return shownWidget(argument) != nullptr;
    if (command == QLatin1String("type")) {
        QWidget *target = QApplication::focusWidget();
        if (!target)
            target = m_window->findChild<QWidget *>(QStringLiteral("Memo"));
        if (!target) {
            complain(QStringLiteral("nothing to type into"));
            return true;
        }
        for (const QChar c : unescape(argument))
            typeInto(target, c);
        return true;
    }
    if (command == QLatin1String("shortcut")) {
        const QKeySequence keys = QKeySequence::fromString(argument);
        for (QAction *action : m_window->findChildren<QAction *>()) {
            if (action->shortcut() == keys && action->isEnabled()) {
                // Later, so that a dialog the command shows does not hold up the script.
                QTimer::singleShot(0, action, &QAction::trigger);
                return true;
            }
        }
        complain(QStringLiteral("no enabled action for %1").arg(argument));
        return true;
    }
    if (command == QLatin1String("click")) {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return false;
        for (QAbstractButton *button : dialog->findChildren<QAbstractButton *>()) {
            if (button->text().remove(QLatin1Char('&')) == argument && button->isEnabled()) {
                QTimer::singleShot(0, button, &QAbstractButton::click);
                return true;
            }
        }
        return false;
    }
    if (command == QLatin1String("dump")) {
        QString text;
        bool modified = false;
        if (auto *rich = m_window->findChild<QTextEdit *>(QStringLiteral("Memo"))) {
            text = rich->toPlainText();
            modified = rich->document()->isModified();
        } else if (auto *plain = m_window->findChild<QPlainTextEdit *>(QStringLiteral("Memo"))) {
            text = plain->toPlainText();
            modified = plain->document()->isModified();
        }
        const QWidget *modal = QApplication::activeModalWidget();
        const QByteArray report =
            m_window->windowTitle().toUtf8() + "\nmodified: " + (modified ? "1" : "0") +
            "\nmodal: " + (modal ? modal->objectName().toUtf8() : QByteArray("none")) + "\n" +
            text.toUtf8();
        if (const std::optional<QString> reason = saveFileAtomically(argument, report))
            complain(QStringLiteral("cannot write %1: %2").arg(argument, *reason));
        return true;
    }
    if (command == QLatin1String("close")) {
        QTimer::singleShot(0, m_window, &QWidget::close);
        return true;
    }
    complain(QStringLiteral("unknown command %1").arg(command));
    return true;
}
