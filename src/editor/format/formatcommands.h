#pragma once

#include "editor/format/formatstate.h"
#include "richtext/rxtextattributes.h"

#include <QColor>
#include <QObject>

class Prompts;
class QComboBox;
class QSpinBox;
class QWidget;
class TEditorActions;
class TRxRichEdit;

// What the formatting commands reach. Nothing is owned.
struct FormatCommandsContext {
    QWidget &window;
    TRxRichEdit &Memo;
    TEditorActions &actions;
    QComboBox &FontCombo;
    QSpinBox &FontSizeBox;
    Prompts &prompts;
};

// The character and paragraph commands of the Format menu and the format tool bars, the font and
// size boxes, Word Wrap, and the three format dialogs. Owns the format state (style choices, the
// boxes' kept texts and the Updating guard) that the selection tracker and the settings share.
// Commands marked guarded do nothing while Updating is set, so the tracker's own writes to the
// check marks and boxes never come back as format changes.
class TFormatCommands : public QObject {
    Q_OBJECT

public:
    explicit TFormatCommands(FormatCommandsContext context, QObject *parent = nullptr);

    TFormatState &state() { return m_state; }
    const TFormatState &state() const { return m_state; }

    // Character commands (guarded, except the dialogs).
    void BoldActionExecute();
    void ItalicActionExecute();
    void StrikeActionExecute();
    void UnderscoreActionExecute();
    void SuperscriptActionExecute();
    void SubscriptActionExecute();
    void FontActionExecute();
    void FontColorActionExecute();
    void BackColorActionExecute();
    void BckgndActionExecute();

    // The boxes' change handlers (guarded).
    void FontComboChange(const QString &text);
    void FontSizeBoxChange(const QString &text);

    // Paragraph commands; Justify is not guarded.
    void LeftActionExecute();
    void CenterActionExecute();
    void RightActionExecute();
    void JustifyActionExecute();
    void BulletActionExecute();

    void WWActionExecute();

    // Format dialogs.
    void FormatParaAttributesClick();
    void NumberingStyle1Click();
    void UnderscoreStyle1Click();

    // The value a size box text stands for: a whole number, or the box's minimum, 1.
    static int SizeBoxValue(const QString &text);

    // The colour the shared colour dialog opens on: the one last chosen in any colour command.
    QColor lastColor() const { return m_lastColor; }

signals:
    // The kept texts changed (the settings store them): the font name, the size text, a style
    // choice.
    void fontStyleChanged(const QString &name);
    void fontSizeChanged(const QString &text);
    void stylesChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void flipStyle(TRxTextAttributes::FontStyle flag);
    // Runs the shared colour dialog; an invalid colour when it was cancelled.
    QColor chooseColor();
    void focusMemo();

    FormatCommandsContext m_context;
    TFormatState m_state;
    QColor m_lastColor = Qt::black;
    // A key typed into the size box is being handled: the focus stays there while the number is
    // typed.
    bool m_sizeKeyTyped = false;
    // The size box text handled last.
    QString m_sizeBoxText;
};
