#pragma once

#include "richtext/rtf/rtfcontrolword.h"
#include "richtext/rtf/rtfsink.h"

#include <QByteArray>
#include <QByteArrayView>
#include <cstddef>
#include <functional>
#include <optional>

// The \pict destination: the picture's kind, sizes and data, decoded when its group ends.
class RtfPicture {
public:
    // A picture group opened at this stack size; kindKnown is false for the old formats
    // (\macpict, \pmmetafile), whose kind stays Unknown.
    void start(std::size_t depth, bool kindKnown);
    // Whether a picture is being read, and whether its own group is the one at this size.
    bool isOpen() const { return m_depth != 0; }
    bool readsAt(std::size_t depth) const { return m_depth == depth; }

    void word(RtfWord word, int parameter);
    // Hexadecimal data; other characters are skipped.
    void hexText(QByteArrayView text);
    // Data of a \bin.
    void binary(QByteArrayView data);

    // Ends the picture: what shows it in the text, in the run's format (asked for only when
    // there is a picture); nothing when it held no data.
    std::optional<RtfInline> finish(const std::function<QTextCharFormat()> &runFormat);

private:
    std::size_t m_depth = 0;
    int m_kind = 0; // PictureKind
    int m_width = 0, m_height = 0, m_goalWidth = 0, m_goalHeight = 0;
    int m_scaleX = 100, m_scaleY = 100;
    QByteArray m_data;
    int m_pendingNibble = -1;
};
