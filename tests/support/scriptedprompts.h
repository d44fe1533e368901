#pragma once

#include "platform/prompts.h"

#include <QList>
#include <QVariant>
#include <functional>

// A Prompts implementation for tests: answers come from a script queued in advance, and every
// prompt shown is recorded with its kind, caption, text, icon and buttons. A prompt with no
// answer left is recorded as unexpected and answered as if the user dismissed it.
class ScriptedPrompts : public Prompts {
public:
    enum class Kind {
        Message,
        Input,
        OpenFile,
        SaveFile,
        Folder,
        Color,
        Font,
        Print,
        PageSetup,
        Dialog
    };

    struct Record {
        Kind kind = Kind::Message;
        QString caption;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QStringList filters;
        QString initial;
        int minPage = 0; // the print dialog's page limits, 0 when it was given none
        int maxPage = 0;
    };

    // One scripted answer. For Dialog, `dialogScript` may fill the dialog before it "closes".
    struct Answer {
        Kind kind = Kind::Message;
        QMessageBox::StandardButton button = QMessageBox::Ok;
        std::optional<QString> text;
        QStringList files;
        int filterIndex = -1;
        std::optional<QColor> color;
        std::optional<QFont> font;
        bool accepted = true;
        std::function<void(QDialog &)> dialogScript;
        int fromPage = 0; // print dialog: a page range, 0 for all pages
        int toPage = 0;
        QString outputFile; // print dialog: print into this file
    };

    void answerButton(QMessageBox::StandardButton button);
    void answerInput(std::optional<QString> text);
    void answerOpen(QStringList files, int filterIndex = -1);
    void answerSave(QString file, int filterIndex = -1);
    void answerFolder(QString folder);
    void answerColor(std::optional<QColor> color);
    void answerFont(std::optional<QFont> font);
    // The print dialog's answer; a range `from`-`to` (all pages when 0) printed into
    // `outputFile` when one is given.
    void answerPrint(bool accepted, int from = 0, int to = 0, const QString &outputFile = {});
    void answerPageSetup(bool accepted);
    void answerDialog(bool accepted, std::function<void(QDialog &)> script = {});

    const QList<Record> &records() const { return m_records; }
    QStringList texts() const;
    int unexpectedCount() const { return m_unexpected; }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear();

    QMessageBox::StandardButton message(QWidget *parent, const QString &caption,
                                        const QString &text, QMessageBox::Icon icon,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    std::optional<QString> inputBox(QWidget *parent, const QString &caption, const QString &prompt,
                                    const QString &initial) override;
    QStringList openFileNames(QWidget *parent, const QString &caption, const QString &folder,
                              const QStringList &filters, int *filterIndex, bool multiple) override;
    QString saveFileName(QWidget *parent, const QString &caption, const QString &initialPath,
                         const QStringList &filters, int *filterIndex) override;
    QString folder(QWidget *parent, const QString &caption, const QString &initial) override;
    std::optional<QColor> color(QWidget *parent, const QColor &initial) override;
    std::optional<QFont> font(QWidget *parent, const QFont &initial) override;
    bool printDialog(QWidget *parent, QPrinter &printer) override;
    bool printPagesDialog(QWidget *parent, QPrinter &printer, int minPage, int maxPage) override;
    bool pageSetupDialog(QWidget *parent, QPrinter &printer) override;
    int exec(QDialog &dialog) override;

private:
    std::optional<Answer> take(Kind kind, Record record);

    QList<Answer> m_answers;
    QList<Record> m_records;
    int m_unexpected = 0;
};
