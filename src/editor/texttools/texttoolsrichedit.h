#pragma once

#include "crypt/crypttarget.h"
#include "editor/texttools/texttoolstarget.h"

class TRxRichEdit;

// The editing area `Memo` as the text tools, the spell check and the scrambling commands see it:
// each call forwarded to the rich text control. Holds a non-owning reference to the control.
class TextToolsRichEdit : public TextToolsTarget, public CryptTarget {
public:
    explicit TextToolsRichEdit(TRxRichEdit &memo)
        : m_memo(memo) {}

    QString text() const override;
    int selStart() const override;
    int selLength() const override;
    QString selText() const override;
    void setSelText(const QString &text) override;
    void selectRange(int start, int end, bool scroll) override;
    int selSize() const override;
    bool selSizeUniform() const override;
    void setSelSize(int points) override;
    void beginUpdate() override;
    void endUpdate() override;
    void setModified(bool modified) override;
    bool findNext(const QString &findText, bool matchCase, bool wholeWord, bool down) override;
    bool replaceNext(const QString &findText, const QString &replacement, bool matchCase,
                     bool wholeWord) override;
    int replaceAll(const QString &findText, const QString &replacement, bool matchCase,
                   bool wholeWord) override;
    QPoint screenPointAt(int position) const override;

    QString plainText() const override;
    void setPlainText(const QString &text) override;

private:
    TRxRichEdit &m_memo;
};
