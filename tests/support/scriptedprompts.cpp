#include "scriptedprompts.h"

#include <QDialog>
#include <QPrinter>

void ScriptedPrompts::answerButton(QMessageBox::StandardButton button) {
    Answer a;
    a.kind = Kind::Message;
    a.button = button;
    m_answers.append(a);
}

void ScriptedPrompts::answerInput(std::optional<QString> text) {
    Answer a;
    a.kind = Kind::Input;
    a.text = std::move(text);
    m_answers.append(a);
}

void ScriptedPrompts::answerOpen(QStringList files, int filterIndex) {
    Answer a;
    a.kind = Kind::OpenFile;
    a.files = std::move(files);
    a.filterIndex = filterIndex;
    m_answers.append(a);
}

void ScriptedPrompts::answerSave(QString file, int filterIndex) {
    Answer a;
    a.kind = Kind::SaveFile;
    a.files = QStringList{std::move(file)};
    a.filterIndex = filterIndex;
    m_answers.append(a);
}

void ScriptedPrompts::answerFolder(QString folder) {
    Answer a;
    a.kind = Kind::Folder;
    a.files = QStringList{std::move(folder)};
    m_answers.append(a);
}

void ScriptedPrompts::answerColor(std::optional<QColor> color) {
    Answer a;
    a.kind = Kind::Color;
    a.color = color;
    m_answers.append(a);
}

void ScriptedPrompts::answerFont(std::optional<QFont> font) {
    Answer a;
    a.kind = Kind::Font;
    a.font = std::move(font);
    m_answers.append(a);
}

void ScriptedPrompts::answerPrint(bool accepted, int from, int to, const QString &outputFile) {
    Answer a;
    a.kind = Kind::Print;
    a.accepted = accepted;
    a.fromPage = from;
    a.toPage = to;
    a.outputFile = outputFile;
    m_answers.append(a);
}

void ScriptedPrompts::answerPageSetup(bool accepted) {
    Answer a;
    a.kind = Kind::PageSetup;
    a.accepted = accepted;
    m_answers.append(a);
}

void ScriptedPrompts::answerDialog(bool accepted, std::function<void(QDialog &)> script) {
    Answer a;
    a.kind = Kind::Dialog;
    a.accepted = accepted;
    a.dialogScript = std::move(script);
    m_answers.append(a);
}

QStringList ScriptedPrompts::texts() const {
    QStringList result;
    for (const Record &r : m_records)
        result.append(r.text);
    return result;
}

void ScriptedPrompts::clear() {
    m_answers.clear();
    m_records.clear();
    m_unexpected = 0;
}

std::optional<ScriptedPrompts::Answer> ScriptedPrompts::take(Kind kind, Record record) {
    record.kind = kind;
    m_records.append(record);
    if (m_answers.isEmpty() || m_answers.first().kind != kind) {
        ++m_unexpected;
        return std::nullopt;
    }
    return m_answers.takeFirst();
}

QMessageBox::StandardButton ScriptedPrompts::message(QWidget *, const QString &caption,
                                                     const QString &text, QMessageBox::Icon icon,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton) {
    Record r;
    r.caption = caption;
    r.text = text;
    r.icon = icon;
    r.buttons = buttons;
    r.defaultButton = defaultButton;
    const auto answer = take(Kind::Message, r);
    if (answer)
        return answer->button;
    // Dismissed: the escape button of a standard box.
    if (buttons.testFlag(QMessageBox::Cancel))
        return QMessageBox::Cancel;
    if (buttons.testFlag(QMessageBox::No))
        return QMessageBox::No;
    return QMessageBox::Ok;
}

std::optional<QString> ScriptedPrompts::inputBox(QWidget *, const QString &caption,
                                                 const QString &prompt, const QString &initial) {
    Record r;
    r.caption = caption;
    r.text = prompt;
    r.initial = initial;
    const auto answer = take(Kind::Input, r);
    return answer ? answer->text : std::nullopt;
}

QStringList ScriptedPrompts::openFileNames(QWidget *, const QString &caption, const QString &folder,
                                           const QStringList &filters, int *filterIndex, bool) {
    Record r;
    r.caption = caption;
    r.initial = folder;
    r.filters = filters;
    const auto answer = take(Kind::OpenFile, r);
    if (!answer)
        return {};
    if (filterIndex && answer->filterIndex >= 0)
        *filterIndex = answer->filterIndex;
    return answer->files;
}

QString ScriptedPrompts::saveFileName(QWidget *, const QString &caption, const QString &initialPath,
                                      const QStringList &filters, int *filterIndex) {
    Record r;
    r.caption = caption;
    r.initial = initialPath;
    r.filters = filters;
    const auto answer = take(Kind::SaveFile, r);
    if (!answer)
        return {};
    if (filterIndex && answer->filterIndex >= 0)
        *filterIndex = answer->filterIndex;
    return answer->files.value(0);
}

QString ScriptedPrompts::folder(QWidget *, const QString &caption, const QString &initial) {
    Record r;
    r.caption = caption;
    r.initial = initial;
    const auto answer = take(Kind::Folder, r);
    return answer ? answer->files.value(0) : QString();
}

std::optional<QColor> ScriptedPrompts::color(QWidget *, const QColor &initial) {
    Record r;
    r.initial = initial.name();
    const auto answer = take(Kind::Color, r);
    return answer ? answer->color : std::nullopt;
}

std::optional<QFont> ScriptedPrompts::font(QWidget *, const QFont &initial) {
    Record r;
    r.initial = initial.toString();
    const auto answer = take(Kind::Font, r);
    return answer ? answer->font : std::nullopt;
}

bool ScriptedPrompts::printDialog(QWidget *parent, QPrinter &printer) {
    return printPagesDialog(parent, printer, 0, 0);
}

bool ScriptedPrompts::printPagesDialog(QWidget *, QPrinter &printer, int minPage, int maxPage) {
    Record r;
    r.minPage = minPage;
    r.maxPage = maxPage;
    const auto answer = take(Kind::Print, r);
    if (!answer || !answer->accepted)
        return false;
    if (answer->fromPage > 0) {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(answer->fromPage, answer->toPage);
    }
    if (!answer->outputFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(answer->outputFile);
    }
    return true;
}

bool ScriptedPrompts::pageSetupDialog(QWidget *, QPrinter &) {
    const auto answer = take(Kind::PageSetup, Record{});
    return answer && answer->accepted;
}

int ScriptedPrompts::exec(QDialog &dialog) {
    Record r;
    r.caption = dialog.windowTitle();
    const auto answer = take(Kind::Dialog, r);
    if (!answer)
        return QDialog::Rejected;
    if (answer->dialogScript)
        answer->dialogScript(dialog);
    return answer->accepted ? QDialog::Accepted : QDialog::Rejected;
}
