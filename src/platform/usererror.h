#pragma once

#include <QString>
#include <exception>

// An error meant for the user: a command that raises it ends, and the program's general error
// report shows its text in a message box. Header-only so that leaf libraries can raise it.
class UserError : public std::exception {
public:
    explicit UserError(QString text)
        : m_text(std::move(text))
        , m_utf8(m_text.toUtf8()) {}

    const QString &text() const { return m_text; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_text;
    QByteArray m_utf8;
};
