#pragma once

#include <QString>

class QIODevice;
enum class StreamFormat;
class TRxRichEdit;

// The control's text seen as a list of lines (`Lines`): one line per paragraph, an empty last
// paragraph not counted, the whole text with CR LF after every line. Loading and saving go
// through here; formats follow the control's stream format, files their extension. Owned by the
// control; holds a non-owning reference back to it.
class TRichEditStrings {
public:
    explicit TRichEditStrings(TRxRichEdit &control)
        : m_control(&control) {}

    int Count() const;
    // Line `index` without its line break; empty for an index out of range.
    QString Strings(int index) const;
    // Every line followed by CR LF (the last one too); empty for an empty control.
    QString Text() const;
    // Replaces the whole content by plain text; CR LF, LF and CR all end a line.
    void SetText(const QString &text);
    // Appends a line at the end.
    void Add(const QString &line);
    void Clear();

    // Redrawing is off between BeginUpdate and the matching EndUpdate; calls nest.
    void BeginUpdate();
    void EndUpdate();

    // Loads per the control's stream format (plain when sfDefault and PlainText is on). A failed
    // load retries once in the other format, then raises UserError("Failed to Load Stream").
    // After a load the caret is at 0, the modified flag clear, the undo history empty.
    void LoadFromStream(QIODevice &stream);
    // Raises UserError("Failed to Save Stream") when the stream cannot be written.
    void SaveToStream(QIODevice &stream) const;
    // As the stream calls, with the format from the extension: "txt" plain, "rtf" rich (any
    // letter case), any other name plain when PlainText is on. A file that cannot be opened
    // raises the same errors. Saving is atomic: a failed save leaves the old file as it was.
    // Plain text keeps the encoding and line breaks it was read with.
    void LoadFromFile(const QString &fileName);
    void SaveToFile(const QString &fileName) const;

private:
    // Loads plain text from the stream when `format` means plain text for the control: text of
    // many lines outside the document, the rest the usual way. Answers whether it loaded;
    // raises UserError("Failed to Load Stream") when the stream cannot be read.
    bool loadedAsLargeText(QIODevice &stream, StreamFormat format);

    TRxRichEdit *m_control;
};
