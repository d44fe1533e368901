#pragma once

#include <QByteArray>
#include <QHashFunctions>
#include <QList>
#include <QString>
#include <QTextOption>
#include <cstdint>

// The formatting state the RTF reader keeps per group, shared with its destination handlers.

enum class RtfListKind : std::uint8_t {
    None,
    Bullet,
    Decimal,
    LowerAlpha,
    UpperAlpha,
    LowerRoman,
    UpperRoman
};

struct RtfCharState {
    int font = -1; // -1: the default font
    int halfPoints = 24;
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    bool protect = false;
    bool caps = false;
    bool smallCaps = false;
    std::uint8_t underline = 0; // UnderlineType
    std::uint8_t script = 0;    // 0 none, 1 sub, 2 super
    int foreground = 0;         // colour table index, 0: automatic
    int background = 0;
    int link = 0;  // the field reader's link number, 0: none
    int field = 0; // the field reader's number of a kept field whose result this is, 0: none
    std::uint8_t direction = 0; // 0 none given, 1 \ltrch, 2 \rtlch
    bool assocBold = false;     // \ab
    bool assocItalic = false;   // \ai
    int assocFont = -1;         // \af, -1: none
    int assocHalfPoints = 0;    // \afs, 0: none
    bool operator==(const RtfCharState &) const = default;
};

inline size_t qHash(const RtfCharState &s, size_t seed = 0) {
    const int flags = s.bold | s.italic << 1 | s.strike << 2 | s.hidden << 3 | s.protect << 4 |
                      s.caps << 5 | s.smallCaps << 6 | s.assocBold << 7 | s.assocItalic << 8 |
                      s.underline << 9 | s.script << 12 | s.direction << 14;
    return qHashMulti(seed, s.font, s.halfPoints, flags, s.foreground, s.background, s.link,
                      s.field, s.assocFont, s.assocHalfPoints);
}

// Old-style paragraph numbering (\pn).
struct RtfNumbering {
    RtfListKind kind = RtfListKind::None;
    int level = 0;
    bool continuation = false;
    QString prefix;
    QString suffix;
    bool operator==(const RtfNumbering &) const = default;
};

struct RtfParaState {
    int alignment = 0; // 0 left, 1 right, 2 centre, 3 justify
    int firstIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    int lineSpacing = 0;
    bool lineMultiple = false;
    bool pageBreakBefore = false;
    bool rightToLeft = false;  // \rtlpar
    int style = -1;            // \sN, -1: none named
    int outlineLevel = -1;     // \outlinelevelN, -1: body text
    bool keepNext = false;     // \keepn
    bool keepTogether = false; // \keep
    int shadeBack = 0;         // \cbpat: colour table index, 0: none
    int shadeFore = 0;         // \cfpat
    int shading = 0;           // \shading: hundredths of a percent of \cfpat over \cbpat
    bool shaded = false;       // any of the three was given
    bool borderOpen = false;   // the last word began or described a border
    QByteArray borders;        // \brdrt ... as they came
    bool inTable = false;
    int nesting = 0; // \itap
    int listOverride = 0;
    int listLevel = 0;
    RtfNumbering numbering;
    QList<QTextOption::Tab> tabs;
    int pendingTabType = 0; // QTextOption::TabType of the next \tx
    bool operator==(const RtfParaState &) const = default;
};
