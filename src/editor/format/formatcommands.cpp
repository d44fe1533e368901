#include "editor/format/formatcommands.h"

#include "editor/document/focusmemo.h"
#include "editor/format/fontcombodelegate.h"
#include "editor/format/numstyleform.h"
#include "editor/format/paraformatdlg.h"
#include "editor/format/uscorestyleform.h"
#include "editor/frame/editoractions.h"
#include "platform/prompts.h"
#include "richtext/rxrichedit.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSpinBox>
#include <QTimer>

TFormatCommands::TFormatCommands(FormatCommandsContext context, QObject *parent)
    : QObject(parent)
    , m_context(context) {
    TEditorActions &a = m_context.actions;
    a.route(a.BoldAction, this, &TFormatCommands::BoldActionExecute);
    a.route(a.ItalicAction, this, &TFormatCommands::ItalicActionExecute);
    a.route(a.StrikeAction, this, &TFormatCommands::StrikeActionExecute);
    a.route(a.UnderscoreAction, this, &TFormatCommands::UnderscoreActionExecute);
    a.route(a.SuperscriptAction, this, &TFormatCommands::SuperscriptActionExecute);
    a.route(a.SubscriptAction, this, &TFormatCommands::SubscriptActionExecute);
    a.route(a.FontAction, this, &TFormatCommands::FontActionExecute);
    a.route(a.FontColorAction, this, &TFormatCommands::FontColorActionExecute);
    a.route(a.BackColorAction, this, &TFormatCommands::BackColorActionExecute);
    a.route(a.BckgndAction, this, &TFormatCommands::BckgndActionExecute);
    a.route(a.LeftAction, this, &TFormatCommands::LeftActionExecute);
    a.route(a.CenterAction, this, &TFormatCommands::CenterActionExecute);
    a.route(a.RightAction, this, &TFormatCommands::RightActionExecute);
    a.route(a.JustifyAction, this, &TFormatCommands::JustifyActionExecute);
    a.route(a.BulletAction, this, &TFormatCommands::BulletActionExecute);
    a.route(a.WWAction, this, &TFormatCommands::WWActionExecute);
    a.route(a.FormatParaAttributes, this, &TFormatCommands::FormatParaAttributesClick);
    a.route(a.NumberingStyle1, this, &TFormatCommands::NumberingStyle1Click);
    a.route(a.UnderscoreStyle1, this, &TFormatCommands::UnderscoreStyle1Click);

    m_context.FontCombo.setItemDelegate(new TFontComboDelegate(&m_context.FontCombo));
    // A face is applied when the user chooses one from the list (or names a listed one and
    // presses Enter), never while a name is half typed; the box showing the selection's face, or
    // being filled, is no choice either.
    connect(&m_context.FontCombo, &QComboBox::textActivated, this,
            &TFormatCommands::FontComboChange);
    // The spin box reports its own changes (arrows, wheel, values set) and typed texts that are
    // valid numbers; its field reports every keystroke, an empty text and a 0 included. A text
    // both report is handled once.
    connect(&m_context.FontSizeBox, &QSpinBox::textChanged, this,
            &TFormatCommands::FontSizeBoxChange);
    m_context.FontSizeBox.installEventFilter(this);
    if (QLineEdit *field = m_context.FontSizeBox.findChild<QLineEdit *>()) {
        connect(field, &QLineEdit::textChanged, this, &TFormatCommands::FontSizeBoxChange);
        field->installEventFilter(this);
    }
}

void TFormatCommands::focusMemo() {
    FocusMemo(m_context.Memo);
}

void TFormatCommands::flipStyle(TRxTextAttributes::FontStyle flag) {
    if (m_state.Updating)
        return;
    TRxTextAttributes text = m_context.Memo.SelAttributes();
    // The flags read for the selection are written back whole, so a mixed selection comes out
    // uniform in all four.
    text.SetStyle(text.Style() ^ flag);
}

void TFormatCommands::BoldActionExecute() {
    flipStyle(TRxTextAttributes::fsBold);
}

void TFormatCommands::ItalicActionExecute() {
    flipStyle(TRxTextAttributes::fsItalic);
}

void TFormatCommands::StrikeActionExecute() {
    flipStyle(TRxTextAttributes::fsStrikeOut);
}

void TFormatCommands::UnderscoreActionExecute() {
    if (m_state.Updating)
        return;
    TRxTextAttributes text = m_context.Memo.SelAttributes();
    text.SetUnderlineType(text.UnderlineType() != 0 ? 0 : m_state.UnderlineKind);
}

void TFormatCommands::SuperscriptActionExecute() {
    if (m_state.Updating)
        return;
    QAction *action = m_context.actions.SuperscriptAction;
    if (!action->isChecked()) {
        action->setChecked(true);
        m_context.Memo.SelAttributes().SetScriptStyle(TRxTextAttributes::ssSuperscript);
    } else {
        m_context.Memo.SelAttributes().SetScriptStyle(TRxTextAttributes::ssNone);
    }
}

void TFormatCommands::SubscriptActionExecute() {
    if (m_state.Updating)
        return;
    QAction *action = m_context.actions.SubscriptAction;
    if (!action->isChecked()) {
        action->setChecked(true);
        m_context.Memo.SelAttributes().SetScriptStyle(TRxTextAttributes::ssSubscript);
    } else {
        m_context.Memo.SelAttributes().SetScriptStyle(TRxTextAttributes::ssNone);
    }
}

void TFormatCommands::FontActionExecute() {
    TRxTextAttributes text = m_context.Memo.SelAttributes();
    const std::optional<QFont> font = m_context.prompts.font(&m_context.window, text.ToFont());
    if (font)
        text.Assign(*font);
    focusMemo();
}

QColor TFormatCommands::chooseColor() {
    const std::optional<QColor> color = m_context.prompts.color(&m_context.window, m_lastColor);
    if (!color || !color->isValid())
        return {};
    m_lastColor = *color;
    return *color;
}

void TFormatCommands::FontColorActionExecute() {
    const QColor color = chooseColor();
    if (color.isValid())
        m_context.Memo.SelAttributes().SetColor(color);
}

void TFormatCommands::BackColorActionExecute() {
    const QColor color = chooseColor();
    if (color.isValid())
        m_context.Memo.SelAttributes().SetBackColor(color);
}

void TFormatCommands::BckgndActionExecute() {
    const QColor color = chooseColor();
    if (color.isValid())
        m_context.Memo.SetBackgroundColor(color);
}

void TFormatCommands::FontComboChange(const QString &text) {
    if (m_state.Updating)
        return;
    m_context.Memo.SelAttributes().SetName(text);
    m_state.FontStyle = text;
    emit fontStyleChanged(text);
    focusMemo();
}

int TFormatCommands::SizeBoxValue(const QString &text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? value : 1;
}

void TFormatCommands::FontSizeBoxChange(const QString &text) {
    if (text == m_sizeBoxText)
        return;
    m_sizeBoxText = text;
    if (m_state.Updating)
        return;
    const int value = SizeBoxValue(text);
    if (value > 0)
        m_context.Memo.SelAttributes().SetSize(value);
    m_state.FontSize = QString::number(value);
    emit fontSizeChanged(m_state.FontSize);
    // A number being typed stays in the box until it is complete; a change by the arrows or the
    // wheel sends the focus back at once.
    if (!m_sizeKeyTyped)
        focusMemo();
}

bool TFormatCommands::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The number is complete; the box takes the key first, then the text has the focus.
            QTimer::singleShot(0, this, [this] { focusMemo(); });
        } else {
            m_sizeKeyTyped = true;
            QTimer::singleShot(0, this, [this] { m_sizeKeyTyped = false; });
        }
    }
    return QObject::eventFilter(watched, event);
}

void TFormatCommands::LeftActionExecute() {
    if (!m_state.Updating)
        m_context.Memo.Paragraph().SetAlignment(TRxParaAttributes::taLeftJustify);
}

void TFormatCommands::CenterActionExecute() {
    if (!m_state.Updating)
        m_context.Memo.Paragraph().SetAlignment(TRxParaAttributes::taCenter);
}

void TFormatCommands::RightActionExecute() {
    if (!m_state.Updating)
        m_context.Memo.Paragraph().SetAlignment(TRxParaAttributes::taRightJustify);
}

void TFormatCommands::JustifyActionExecute() {
    m_context.Memo.Paragraph().SetAlignment(TRxParaAttributes::taJustify);
}

void TFormatCommands::BulletActionExecute() {
    if (m_state.Updating)
        return;
    TRxParaAttributes paragraph = m_context.Memo.Paragraph();
    paragraph.SetNumbering(paragraph.Numbering() == m_state.BulletNumbering
                               ? TRxParaAttributes::nsNone
                               : m_state.BulletNumbering);
}

void TFormatCommands::WWActionExecute() {
    const int start = m_context.Memo.SelStart();
    const int length = m_context.Memo.SelLength();
    const bool wrap = !m_context.Memo.WordWrap();
    m_context.Memo.SetWordWrap(wrap);
    m_context.actions.WWAction->setChecked(wrap);
    m_context.Memo.SetScrollBars(wrap ? TRxRichEdit::ssVertical : TRxRichEdit::ssBoth);
    // The selection stays as it was, now scrolled into view in the new layout; a character
    // selected here would be replaced by the next key typed.
    m_context.Memo.SelectRange(start, start + length, true);
}

void TFormatCommands::FormatParaAttributesClick() {
    TParaFormatDlg::Execute(m_context.Memo, m_context.prompts, &m_context.window);
    focusMemo();
}

void TFormatCommands::NumberingStyle1Click() {
    TNumStyleForm form(m_state, &m_context.window);
    m_context.prompts.exec(form);
    emit stylesChanged();
    focusMemo();
}

void TFormatCommands::UnderscoreStyle1Click() {
    TUScoreStyleForm form(m_state, &m_context.window);
    m_context.prompts.exec(form);
    emit stylesChanged();
    focusMemo();
}
