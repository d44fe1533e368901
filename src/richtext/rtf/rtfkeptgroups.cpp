#include "richtext/rtf/rtfkeptgroups.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

// Page, section and document settings as other word processors write them before the text.
constexpr std::array<std::string_view, 89> documentWords = {
    "adjustright", "aendnotes", "aenddoc",    "aftnbj",   "aftnnalc",    "aftnnar",
    "aftnnauc",    "aftnnchi",  "aftnnrlc",   "aftnnruc", "aftnrestart", "aftnrstcont",
    "aftnstart",   "aftntj",    "binfsxn",    "binsxn",   "cols",        "colsx",
    "colno",       "colsr",     "colw",       "deftab",   "endnhere",    "enddoc",
    "endnotes",    "facingp",   "fet",        "footery",  "ftnbj",       "ftnnalc",
    "ftnnar",      "ftnnauc",   "ftnnchi",    "ftnnrlc",  "ftnnruc",     "ftnrestart",
    "ftnrstcont",  "ftnrstpg",  "ftnstart",   "ftntj",    "gutter",      "guttersxn",
    "gutterprl",   "headery",   "horzdoc",    "hyphauto", "hyphcaps",    "hyphconsec",
    "hyphhotz",    "landscape", "linebetcol", "linemod",  "linerestart", "linex",
    "lndscpsxn",   "margb",     "margbsxn",   "margl",    "marglsxn",    "margmirror",
    "margr",       "margrsxn",  "margt",      "margtsxn", "paperh",      "paperw",
    "pghsxn",      "pgncont",   "pgndec",     "pgnlcltr", "pgnlcrm",     "pgnrestart",
    "pgnstart",    "pgnstarts", "pgnucltr",   "pgnucrm",  "pgnx",        "pgny",
    "pgwsxn",      "rtlgutter", "sbkcol",     "sbkeven",  "sbknone",     "sbkodd",
    "sbkpage",     "sectd",     "titlepg",    "vertalb",  "vertalc"};

// Tables of the whole document that some writers put after the text; they have no place in it.
bool isDocumentTable(RtfWord word) {
    switch (word) {
    case RtfWord::Stylesheet:
    case RtfWord::Info:
    case RtfWord::Themedata:
    case RtfWord::Colorschememapping:
    case RtfWord::Latentstyles:
    case RtfWord::Datastore:
    case RtfWord::Xmlnstbl:
    case RtfWord::Rsidtbl:
    case RtfWord::MmathPr:
    case RtfWord::Pgdsctbl:
    case RtfWord::Revtbl:
    case RtfWord::Filetbl:
    case RtfWord::Docvar:
    case RtfWord::Userprops:
    case RtfWord::Password:
    case RtfWord::Passwordhash:
    case RtfWord::Wgrffmtfilter:
    case RtfWord::Template:
        return true;
    default:
        return false;
    }
}

bool isDocumentWord(std::string_view name) {
    return std::find(documentWords.begin(), documentWords.end(), name) != documentWords.end();
}

} // namespace

RtfKeptGroups::Keep RtfKeptGroups::start(RtfWord word, bool unknown, Place place) {
    switch (word) {
    case RtfWord::Pntext:
    case RtfWord::Listtext:
    case RtfWord::Bkmkend:
    case RtfWord::Generator:
    case RtfWord::Nonshppict:
    case RtfWord::Nonesttables:
        // The writer writes these itself, from what the document shows.
        return Keep::None;
    default:
        break;
    }
    switch (place) {
    case Place::DocumentStart:
        count(word, m_kept);
        return Keep::Prologue;
    case Place::DocumentLater:
        if (isDocumentTable(word) && !unknown)
            return Keep::Prologue;
        [[fallthrough]];
    case Place::Text:
        count(word, m_kept);
        return word == RtfWord::Footnote && !unknown ? Keep::Footnote : Keep::Anchor;
    case Place::Elsewhere:
        break;
    }
    count(word, m_dropped);
    return Keep::None;
}

void RtfKeptGroups::count(RtfWord word, RtfDroppedContent &tally) {
    switch (word) {
    case RtfWord::Header:
    case RtfWord::Headerl:
    case RtfWord::Headerr:
    case RtfWord::Headerf:
    case RtfWord::Footer:
    case RtfWord::Footerl:
    case RtfWord::Footerr:
    case RtfWord::Footerf:
        ++tally.headersFooters;
        return;
    case RtfWord::Footnote:
        ++tally.footnotes;
        return;
    case RtfWord::Annotation:
        ++tally.annotations;
        return;
    default:
        return;
    }
}

void RtfKeptGroups::documentWord(QByteArrayView name, bool hasParameter, int parameter) {
    if (!isDocumentWord(std::string_view(name.data(), std::size_t(name.size()))))
        return;
    m_prologue.append('\\');
    m_prologue.append(name);
    if (hasParameter)
        m_prologue.append(QByteArray::number(parameter));
}
