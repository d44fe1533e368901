#pragma once

class TRxRichEdit;

// The paragraph format of the paragraphs a rich text control's selection touches (`Paragraph`).
// Reads answer for the paragraph of the selection's start; each setter changes one attribute of
// every paragraph the selection touches. Lengths are whole points. A value object over a
// non-owning reference to the control.
class TRxParaAttributes {
public:
    enum Alignment { taLeftJustify = 0, taRightJustify = 1, taCenter = 2, taJustify = 3 };
    enum Numbering {
        nsNone = 0,
        nsBullet = 1,
        nsArabicNumbers = 2,
        nsLoCaseLetter = 3,
        nsUpCaseLetter = 4,
        nsLoCaseRoman = 5,
        nsUpCaseRoman = 6
    };
    enum LineSpacingRule { lsSingle = 0, lsAtLeast = 3 };

    // Numbering raises the relative left indent to at least this many points.
    static constexpr int NumberingMinimumIndent = 10;

    explicit TRxParaAttributes(TRxRichEdit &control)
        : m_control(&control) {}

    // 0 left, 1 right, 2 centre, 3 justify.
    int Alignment() const;
    void SetAlignment(int alignment);
    // Indent of the first line from the left edge.
    int FirstIndent() const;
    void SetFirstIndent(int points);
    // Indent of the lines after the first, relative to the first line.
    int LeftIndent() const;
    void SetLeftIndent(int points);
    int RightIndent() const;
    void SetRightIndent(int points);
    int SpaceBefore() const;
    void SetSpaceBefore(int points);
    int SpaceAfter() const;
    void SetSpaceAfter(int points);
    // With rule 0 (single) the spacing reads 0; with rule 3 the line is at least this high.
    int LineSpacing() const;
    void SetLineSpacing(int points);
    int LineSpacingRule() const;
    void SetLineSpacingRule(int rule);
    // 0 none, 1 bullet, 2 arabic, 3/4 lower/upper letter, 5/6 lower/upper roman. Setting 0 also
    // sets the left indent to 0; setting a style raises it to at least NumberingMinimumIndent.
    int Numbering() const;
    void SetNumbering(int numbering);

private:
    TRxRichEdit *m_control;
};
