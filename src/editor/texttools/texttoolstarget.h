#pragma once

#include <QPoint>
#include <QString>

// The editing area as the text tools and the spell check see it. Positions count characters from
// 0, a paragraph break as one; whole-text and selection reads give paragraph breaks as CR LF.
class TextToolsTarget {
public:
    virtual ~TextToolsTarget() = default;

    virtual QString text() const = 0;

    virtual int selStart() const = 0;
    virtual int selLength() const = 0;
    virtual QString selText() const = 0;
    // Replaces the selection as plain text in the format of its first character (or of the
    // insertion point), one undo step; the new text is left selected and in view.
    virtual void setSelText(const QString &text) = 0;
    // Positions past the end mean the end.
    virtual void selectRange(int start, int end, bool scroll) = 0;

    // Character size in whole points of the selection's first character, or the size the next
    // typed character takes when nothing is selected; and whether the whole selection has it.
    virtual int selSize() const = 0;
    virtual bool selSizeUniform() const = 0;
    virtual void setSelSize(int points) = 0;

    // Redrawing is off between the two; calls nest.
    virtual void beginUpdate() = 0;
    virtual void endUpdate() = 0;
    virtual void setModified(bool modified) = 0;

    // The searches of the find and replace dialogs. Down searches from the selection's end to
    // the end of the text, up backward from the selection's start; a match is selected and
    // scrolled into view. Not finding fires the area's not-found notification.
    virtual bool findNext(const QString &findText, bool matchCase, bool wholeWord, bool down) = 0;
    // Searches from the selection's end and replaces the match, which is left selected.
    virtual bool replaceNext(const QString &findText, const QString &replacement, bool matchCase,
                             bool wholeWord) = 0;
    // Replaces every match from the selection's end on, each search starting after the
    // replacement just made, with notifications held back; answers the number replaced.
    virtual int replaceAll(const QString &findText, const QString &replacement, bool matchCase,
                           bool wholeWord) = 0;
    // The top-left corner of the character at a position, in screen coordinates.
    virtual QPoint screenPointAt(int position) const = 0;
};
