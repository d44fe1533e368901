#include "editor/texttools/texttoolscommands.h"

#include "editor/texttools/texttools.h"
#include "editor/texttools/texttoolsfinddialog.h"
#include "editor/texttools/texttoolstarget.h"
#include "platform/busycursor.h"
#include "platform/prompts.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>

namespace {

// Redrawing off and the hourglass shown for a pass over the whole text, both restored however
// the pass ends.
class BusyUpdate {
public:
    explicit BusyUpdate(TextToolsTarget &memo)
        : m_memo(memo) {
        m_memo.beginUpdate();
    }
    ~BusyUpdate() { m_memo.endUpdate(); }
    BusyUpdate(const BusyUpdate &) = delete;
    BusyUpdate &operator=(const BusyUpdate &) = delete;

private:
    TextToolsTarget &m_memo;
    BusyCursor m_cursor;
};

// A selection seeds the search text up to its first line break: the field holds one line.
QString firstLine(const QString &text) {
    const qsizetype end = text.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
    return end < 0 ? text : text.left(end);
}

} // namespace

TextToolsCommands::TextToolsCommands(TextToolsTarget &memo, Prompts &prompts, QWidget *window)
    : m_memo(memo)
    , m_prompts(prompts)
    , m_window(window) {
    beep = [] { QApplication::beep(); };
    focusMemo = [] {};
}

TextToolsCommands::~TextToolsCommands() {
    delete m_findDialog;
    delete m_replaceDialog;
}

TextToolsFindDialog *TextToolsCommands::findDialog() const {
    return m_findDialog;
}

TextToolsFindDialog *TextToolsCommands::replaceDialog() const {
    return m_replaceDialog;
}

void TextToolsCommands::Lowercase1Click() {
    const QString selected = m_memo.selText();
    if (!selected.isEmpty())
        m_memo.setSelText(LowercaseAZ(selected));
}

void TextToolsCommands::Uppercase1Click() {
    const QString selected = m_memo.selText();
    if (!selected.isEmpty())
        m_memo.setSelText(UppercaseAZ(selected));
}

void TextToolsCommands::LetterStyle(bool enlarge, const QString &sizeBoxText) {
    const int insertionSize = SizeBoxPoints(sizeBoxText);
    const int caret = LetterStyleCaret(m_memo.selStart(), m_memo.selLength());
    const int delta = enlarge ? LetterStyleStep : -LetterStyleStep;
    {
        BusyUpdate busy(m_memo);
        // Only the capitals are touched; a run of them with one size changes in one step.
        for (const TextRange &run : CapitalRuns(m_memo.text())) {
            m_memo.selectRange(run.start, run.end, false);
            if (m_memo.selSizeUniform()) {
                m_memo.setSelSize(m_memo.selSize() + delta);
                continue;
            }
            for (int i = run.start; i < run.end; ++i) {
                m_memo.selectRange(i, i + 1, false);
                m_memo.setSelSize(m_memo.selSize() + delta);
            }
        }
        m_memo.selectRange(caret, caret, true);
        m_memo.setSelSize(insertionSize);
    }
    m_memo.setModified(true);
}

void TextToolsCommands::MemoKeyPress(QChar key, bool letterStyleChecked) {
    if (!letterStyleChecked)
        return;
    const int delta = LetterStyleKeyDelta(key, m_capsEnlarged);
    if (delta != 0)
        m_memo.setSelSize(m_memo.selSize() + delta);
}

QString TextToolsCommands::WordCount1Click() {
    return WordCountText(WordCount(m_memo.text()));
}

void TextToolsCommands::FindActionExecute() {
    openDialog(false);
}

void TextToolsCommands::ReplaceActionExecute() {
    openDialog(true);
}

TextToolsFindDialog *TextToolsCommands::openDialog(bool replace) {
    QPointer<TextToolsFindDialog> &dialog = replace ? m_replaceDialog : m_findDialog;
    if (!dialog) {
        dialog = new TextToolsFindDialog(replace, m_window);
        if (const TextToolsFindDialog *other = replace ? m_findDialog : m_replaceDialog)
            dialog->setFindText(other->findText());
        TextToolsFindDialog *d = dialog;
        connect(d, &TextToolsFindDialog::findRequested, this, [this, d] { dialogFind(d); });
        connect(d, &TextToolsFindDialog::replaceRequested, this, [this, d] { dialogReplace(d); });
        connect(d, &TextToolsFindDialog::replaceAllRequested, this,
                [this, d] { dialogReplaceAll(d); });
    }
    const QString seed = firstLine(m_memo.selText());
    if (!seed.isEmpty())
        dialog->setFindText(seed);
    dialog->show();
    dialog->activateWindow();
    dialog->findEdit()->setFocus();
    return dialog;
}

void TextToolsCommands::dialogFind(TextToolsFindDialog *dialog) {
    if (dialog->findText().isEmpty())
        return;
    m_lastSearch = dialog;
    if (m_memo.findNext(dialog->findText(), dialog->matchCase(), dialog->wholeWord(),
                        dialog->down()))
        moveOffSelection(dialog);
}

void TextToolsCommands::dialogReplace(TextToolsFindDialog *dialog) {
    if (dialog->findText().isEmpty())
        return;
    m_lastSearch = dialog;
    if (m_memo.replaceNext(dialog->findText(), dialog->replaceText(), dialog->matchCase(),
                           dialog->wholeWord()))
        moveOffSelection(dialog);
}

void TextToolsCommands::dialogReplaceAll(TextToolsFindDialog *dialog) {
    if (dialog->findText().isEmpty())
        return;
    m_lastSearch = dialog;
    if (m_memo.replaceAll(dialog->findText(), dialog->replaceText(), dialog->matchCase(),
                          dialog->wholeWord()) > 0)
        moveOffSelection(dialog);
}

void TextToolsCommands::FindNextActionExecute() {
    if (!m_lastSearch) {
        beep();
    } else if (!m_memo.findNext(m_lastSearch->findText(), m_lastSearch->matchCase(),
                                m_lastSearch->wholeWord(), m_lastSearch->down())) {
        // The area's not-found notification has shown its box by now.
        beep();
    }
    focusMemo();
}

void TextToolsCommands::MemoTextNotFound(const QString &findText) {
    m_prompts.message(m_window, QStringLiteral("Warning"), NotFoundText(findText),
                      QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
}

void TextToolsCommands::moveOffSelection(TextToolsFindDialog *dialog) {
    const QScreen *screen = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const int start = m_memo.selStart();
    const QRect frame = dialog->frameGeometry();
    const std::optional<int> top = DialogTopOffMatch(
        frame, m_memo.screenPointAt(start), m_memo.screenPointAt(start + m_memo.selLength()),
        screen->availableGeometry());
    if (top)
        dialog->move(frame.left(), *top);
}
