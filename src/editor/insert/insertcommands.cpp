#include "editor/insert/insertcommands.h"

#include "editor/document/documentstate.h"
#include "editor/document/modeflags.h"
#include "editor/file/filedialog.h"
#include "editor/frame/editoractions.h"
#include "picture/picturefile.h"
#include "platform/busycursor.h"
#include "platform/prompts.h"
#include "platform/textfile.h"
#include "platform/usererror.h"
#include "richtext/rxrichedit.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>

namespace {

// The hourglass and the control's update bracket, both ended on every way out.
class BusyUpdate {
public:
    explicit BusyUpdate(TRxRichEdit &memo)
        : m_memo(memo) {}
    ~BusyUpdate() {
        if (m_updating)
            m_memo.Lines().EndUpdate();
    }
    void beginUpdate() {
        m_memo.Lines().BeginUpdate();
        m_updating = true;
    }
    BusyUpdate(const BusyUpdate &) = delete;
    BusyUpdate &operator=(const BusyUpdate &) = delete;

private:
    TRxRichEdit &m_memo;
    bool m_updating = false;
    BusyCursor m_cursor;
};

QByteArray readTextFile(const QString &path) {
    QString reason;
    std::optional<QByteArray> bytes = readWholeFile(path, &reason);
    if (!bytes)
        throw UserError(QStringLiteral("Cannot open file \"%1\". %2").arg(path, reason));
    return *std::move(bytes);
}

} // namespace

const QString TInsertCommands::PageBreakMarker = QStringLiteral("<<Page Break>>");

TInsertCommands::TInsertCommands(InsertCommandsContext context, QObject *parent)
    : QObject(parent)
    , m_context(context) {
    TEditorActions &a = m_context.actions;
    a.route(a.N01011, this, &TInsertCommands::N01011Click);
    a.route(a.Jan20002, this, &TInsertCommands::Jan20002Click);
    a.route(a.N0101011, this, &TInsertCommands::N0101011Click);
    a.route(a.N01Jan20001, this, &TInsertCommands::N01Jan20001Click);
    a.route(a.N010120001, this, &TInsertCommands::N010120001Click);
    a.route(a.Oct13th20011, this, &TInsertCommands::Oct13th20011Click);
    a.route(a.Jan20001, this, &TInsertCommands::Jan20001Click);
    a.route(a.January20001, this, &TInsertCommands::January20001Click);
    a.route(a.Mo1thJanuary20011, this, &TInsertCommands::Mo1thJanuary20011Click);
    a.route(a.DateBut, this, &TInsertCommands::DateButClick);
    a.route(a.InsTimeAction, this, &TInsertCommands::InsTimeActionExecute);
    a.route(a.FileName5, this, &TInsertCommands::FileName5Click);
    a.route(a.FileName831, this, &TInsertCommands::FileName831Click);
    a.route(a.FilePath1, this, &TInsertCommands::FilePath1Click);
    a.route(a.FilePath831, this, &TInsertCommands::FilePath831Click);
    a.route(a.AddTxtFileAction, this, &TInsertCommands::AddTxtFileActionExecute);
    a.route(a.InsPicAction, this, &TInsertCommands::InsPicActionExecute);
    a.route(a.PageBreakAction, this, &TInsertCommands::PageBreakActionExecute);
    connect(&m_context.Memo, &TRxRichEdit::OnProtectChange, this,
            &TInsertCommands::MemoProtectChange);
}

bool TInsertCommands::editing() const {
    return m_context.mode.RTFMode || m_context.mode.TextMode;
}

void TInsertCommands::caretToEnd() {
    // The whole text's length with CR LF line ends is never less than the last position, so the
    // caret always lands at the end of the document.
    const int end = m_context.Memo.TextLength();
    m_context.Memo.SelectRange(end, end, true);
}

void TInsertCommands::insertBlanked(const QString &text) {
    if (editing())
        m_context.Memo.SetSelText(InsertText::Blanked(text));
    caretToEnd();
}

void TInsertCommands::insertName(const QString &name) {
    if (editing())
        m_context.Memo.SetSelText(m_context.Memo.SelText() + InsertText::Blanked(name));
    caretToEnd();
}

void TInsertCommands::insertDate(InsertText::DateItem item) {
    insertBlanked(InsertText::DateText(item, clock().date(), locale));
}

void TInsertCommands::N01011Click() {
    insertDate(InsertText::DateItem::MonthYear);
}

void TInsertCommands::Jan20002Click() {
    insertDate(InsertText::DateItem::LongMonthYear);
}

void TInsertCommands::N0101011Click() {
    insertDate(InsertText::DateItem::DayMonthYear);
}

void TInsertCommands::N01Jan20001Click() {
    insertDate(InsertText::DateItem::DayShortMonthYear);
}

void TInsertCommands::N010120001Click() {
    insertDate(InsertText::DateItem::DayMonthLongYear);
}

void TInsertCommands::Oct13th20011Click() {
    insertDate(InsertText::DateItem::MonthDayTh);
}

void TInsertCommands::Jan20001Click() {
    insertDate(InsertText::DateItem::DayShortMonthLongYear);
}

void TInsertCommands::January20001Click() {
    insertDate(InsertText::DateItem::ShortDayName);
}

void TInsertCommands::Mo1thJanuary20011Click() {
    insertDate(InsertText::DateItem::LongDayName);
}

void TInsertCommands::DateButClick() {
    insertDate(InsertText::DateItem::ShortDayName);
}

void TInsertCommands::InsTimeActionExecute() {
    insertBlanked(InsertText::TimeText(clock().time(), locale));
}

void TInsertCommands::FileName5Click() {
    insertName(m_context.document.DocumentName);
}

void TInsertCommands::FileName831Click() {
    insertName(
        InsertText::LastComponent(InsertText::ShortPathName(m_context.document.DocumentName)));
}

void TInsertCommands::FilePath1Click() {
    insertName(m_context.document.DocumentFolder);
}

void TInsertCommands::FilePath831Click() {
    insertName(InsertText::ShortPathName(m_context.document.DocumentName));
}

void TInsertCommands::AddTxtFileActionExecute() {
    if (!editing())
        return;
    BusyUpdate busy(m_context.Memo);
    TFileDialog &dialog = m_context.document.OpenDialog;
    int filterIndex = dialog.FilterIndex - 1;
    const QStringList files =
        m_context.prompts.openFileNames(&m_context.window, QStringLiteral("Open"),
                                        dialog.InitialDir, dialog.Filter, &filterIndex, false);
    if (files.isEmpty())
        return;
    busy.beginUpdate();
    const QString text = InsertText::AddedFileText(readTextFile(files.first()));
    const int start = m_context.Memo.SelStart();
    m_context.Memo.SetSelText(m_context.Memo.SelText() + text);
    // SetSelText leaves the new text selected. The caret goes right behind it (a CR LF is one
    // position in the text), so that nothing is left selected for the next key to replace.
    const int behind = start + m_context.Memo.SelLength();
    m_context.Memo.SelectRange(behind, behind, true);
}

void TInsertCommands::InsPicActionExecute() {
    if (!editing())
        return;
    TFileDialog &dialog = m_context.document.OpenPictureDialog;
    dialog.Filter = qtFileFilters(PictureFileFilter());
    int filterIndex = dialog.FilterIndex - 1;
    const QStringList files =
        m_context.prompts.openFileNames(&m_context.window, QStringLiteral("Open"),
                                        dialog.InitialDir, dialog.Filter, &filterIndex, false);
    if (files.isEmpty())
        return;
    const QImage picture = LoadPictureFile(files.first());
    QApplication::clipboard()->setImage(picture);
    // Plain text has no place for a picture.
    if (m_context.mode.RTFMode)
        m_context.Memo.PasteFromClipboard();
}

void TInsertCommands::PageBreakActionExecute() {
    if (!editing())
        return;
    m_context.Memo.SetSelText(PageBreakMarker);
    // SetSelText leaves the marker selected.
    if (m_context.Memo.SelText() == PageBreakMarker)
        m_context.Memo.SelAttributes().SetProtected(true);
}

void TInsertCommands::MemoProtectChange(int startPos, int endPos, bool &allowChange) {
    Q_UNUSED(startPos);
    Q_UNUSED(endPos);
    Q_UNUSED(allowChange);
    if (m_context.Memo.SelText() != PageBreakMarker)
        return;
    const QMessageBox::StandardButton answer = m_context.prompts.message(
        &m_context.window, QStringLiteral("Confirm"),
        QStringLiteral("You wan't to delete the PageBreak?"), QMessageBox::Question,
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        m_context.Memo.CutToClipboard();
}
