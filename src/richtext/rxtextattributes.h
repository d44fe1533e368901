#pragma once

#include <QColor>
#include <QFlags>
#include <QFont>
#include <QString>
#include <QTextCharFormat>

class TRxRichEdit;

// The character format of a rich text control's selection (`SelAttributes`, the editor's
// `CurrText`). Reads answer for the first selected character, or for the insertion point when
// nothing is selected; each setter changes exactly one attribute over the whole selection, or the
// format the next typed character takes when nothing is selected. A value object over a
// non-owning reference to the control: cheap to copy, valid while the control lives.
class TRxTextAttributes {
public:
    enum FontStyle { fsBold = 0x1, fsItalic = 0x2, fsUnderline = 0x4, fsStrikeOut = 0x8 };
    Q_DECLARE_FLAGS(FontStyles, FontStyle)

    // Which attributes are the same over every character of the selection.
    enum ConsistentAttribute {
        caBold = 0x1,
        caColor = 0x2,
        caFace = 0x4,
        caItalic = 0x8,
        caSize = 0x10,
        caStrikeOut = 0x20,
        caUnderline = 0x40,
        caProtected = 0x80,
        caBackColor = 0x100,
        caUnderlineType = 0x200,
        caScript = 0x400,
        caAll = 0x7ff
    };
    Q_DECLARE_FLAGS(ConsistentAttributes, ConsistentAttribute)

    enum Script { ssNone = 0, ssSubscript = 1, ssSuperscript = 2 };

    // Face names longer than this are cut when set (the stored format's limit).
    static constexpr int MaxFaceLength = 31;

    explicit TRxTextAttributes(TRxRichEdit &control)
        : m_control(&control) {}

    QString Name() const;
    void SetName(const QString &face);
    // Whole points.
    int Size() const;
    void SetSize(int points);
    FontStyles Style() const;
    // Writes all four style flags; an underline switched on this way is solid unless the text
    // already carries an underline type.
    void SetStyle(FontStyles style);
    // Text colour; an invalid QColor means automatic (the window's text colour).
    QColor Color() const;
    void SetColor(const QColor &color);
    // Background colour behind the characters; invalid means automatic (none).
    QColor BackColor() const;
    void SetBackColor(const QColor &color);
    // 0 none, 1 solid, 2 word, 3 double, 4 dotted, 5 wave; non-zero sets the underline, 0 clears
    // it; reads 0 unless underlined.
    int UnderlineType() const;
    void SetUnderlineType(int type);
    // 0 none, 1 subscript, 2 superscript.
    int ScriptStyle() const;
    void SetScriptStyle(int script);
    bool Protected() const;
    void SetProtected(bool on);

    ConsistentAttributes Consistent() const;
    // The same for the characters from `start` to `end`, selected or not.
    ConsistentAttributes ConsistentBetween(int start, int end) const;

    // Copies face, size and the four styles from a font (the font dialog's result).
    void Assign(const QFont &font);
    // The selection's face, size and styles as a font (to preset the font dialog).
    QFont ToFont() const;

    // The format as read (first selected character or insertion point), for callers that hand it
    // on whole, such as the RTF writer's tests.
    QTextCharFormat Format() const;

private:
    TRxRichEdit *m_control;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(TRxTextAttributes::FontStyles)
Q_DECLARE_OPERATORS_FOR_FLAGS(TRxTextAttributes::ConsistentAttributes)
