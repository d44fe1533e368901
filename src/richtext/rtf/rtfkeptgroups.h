#pragma once

#include "richtext/rtf/rtfcontrolword.h"
#include "richtext/rtf/rtfreadresult.h"

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

// The destinations the reader does not show: which of them the document keeps as they came
// (to be written back at the document's start or at their place in the text), the page and
// section words before the text, and the tally of what is dropped after all.
class RtfKeptGroups {
public:
    enum class Keep : std::uint8_t {
        None,     // dropped
        Prologue, // written back before the text
        Anchor,   // written back at its place, behind an invisible marker
        Footnote, // written back at its place, behind its reference mark
        Object    // an object or shape: written back in place of the picture it shows
    };
    // Where a group begins.
    enum class Place : std::uint8_t {
        DocumentStart, // directly in the outermost group, before any text
        DocumentLater, // directly in the outermost group, after text
        Text,          // in the text
        Elsewhere      // inside a table of the header, a field instruction, an object...
    };

    // A group the reader does not show begins (unknown: a "\*" group of a word it does not
    // know): answers whether and how it is kept, and counts it as dropped when it is not.
    Keep start(RtfWord word, bool unknown, Place place);
    // A word the reader does not know, in the outermost group before any text: kept when it is
    // a page, section or document setting.
    void documentWord(QByteArrayView name, bool hasParameter, int parameter);
    void addToPrologue(QByteArrayView bytes) { m_prologue.append(bytes); }
    const QByteArray &prologue() const { return m_prologue; }

    RtfDroppedContent &dropped() { return m_dropped; }
    const RtfDroppedContent &dropped() const { return m_dropped; }
    // The same tally of what is kept.
    RtfDroppedContent &kept() { return m_kept; }
    const RtfDroppedContent &kept() const { return m_kept; }

private:
    static void count(RtfWord word, RtfDroppedContent &tally);

    QByteArray m_prologue;
    RtfDroppedContent m_dropped;
    RtfDroppedContent m_kept;
};
