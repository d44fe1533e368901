#include "richtext/rtf/rtfcontrolword.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

struct Entry {
    std::string_view name;
    RtfWordInfo info;
};

constexpr RtfWordGroup D = RtfWordGroup::Destination;
constexpr RtfWordGroup S = RtfWordGroup::Skipped;
constexpr RtfWordGroup N = RtfWordGroup::None;

// Sorted at compile time, searched by name.
constexpr auto table = [] {
    std::array<Entry, 284> entries = {{
        {"fonttbl", {RtfWord::Fonttbl, D}},
        {"colortbl", {RtfWord::Colortbl, D}},
        {"stylesheet", {RtfWord::Stylesheet, S}},
        {"listtable", {RtfWord::Listtable, D}},
        {"listoverridetable", {RtfWord::Listoverridetable, D}},
        {"list", {RtfWord::List, D}},
        {"listlevel", {RtfWord::Listlevel, D}},
        {"listoverride", {RtfWord::Listoverride, D}},
        {"leveltext", {RtfWord::Leveltext, D}},
        {"levelnumbers", {RtfWord::Levelnumbers, D}},
        {"listname", {RtfWord::Listname, S}},
        {"info", {RtfWord::Info, S}},
        {"pict", {RtfWord::Pict, D}},
        {"field", {RtfWord::Field, D}},
        {"fldinst", {RtfWord::Fldinst, D}},
        {"fldrslt", {RtfWord::Fldrslt, D}},
        {"header", {RtfWord::Header, S}},
        {"headerl", {RtfWord::Headerl, S}},
        {"headerr", {RtfWord::Headerr, S}},
        {"headerf", {RtfWord::Headerf, S}},
        {"footer", {RtfWord::Footer, S}},
        {"footerl", {RtfWord::Footerl, S}},
        {"footerr", {RtfWord::Footerr, S}},
        {"footerf", {RtfWord::Footerf, S}},
        {"footnote", {RtfWord::Footnote, S}},
        {"annotation", {RtfWord::Annotation, S}},
        {"atnid", {RtfWord::Atnid, S}},
        {"atnauthor", {RtfWord::Atnauthor, S}},
        {"atntime", {RtfWord::Atntime, S}},
        {"atnref", {RtfWord::Atnref, S}},
        {"atnicn", {RtfWord::Atnicn, S}},
        {"atndate", {RtfWord::Atndate, S}},
        {"atnparent", {RtfWord::Atnparent, S}},
        {"atrfstart", {RtfWord::Atrfstart, S}},
        {"atrfend", {RtfWord::Atrfend, S}},
        {"object", {RtfWord::Object, D}},
        {"objdata", {RtfWord::Objdata, S}},
        {"objclass", {RtfWord::Objclass, S}},
        {"objname", {RtfWord::Objname, S}},
        {"result", {RtfWord::Result, D}},
        {"shp", {RtfWord::Shp, D}},
        {"shpinst", {RtfWord::Shpinst, S}},
        {"shprslt", {RtfWord::Shprslt, D}},
        {"shppict", {RtfWord::Shppict, D}},
        {"nonshppict", {RtfWord::Nonshppict, S}},
        {"shptxt", {RtfWord::Shptxt, S}},
        {"pntext", {RtfWord::Pntext, S}},
        {"listtext", {RtfWord::Listtext, S}},
        {"pn", {RtfWord::Pn, D}},
        {"pntxta", {RtfWord::Pntxta, D}},
        {"pntxtb", {RtfWord::Pntxtb, D}},
        {"upr", {RtfWord::Upr, D}},
        {"ud", {RtfWord::Ud, D}},
        {"bkmkstart", {RtfWord::Bkmkstart, D}},
        {"bkmkend", {RtfWord::Bkmkend, S}},
        {"txe", {RtfWord::Txe, S}},
        {"xe", {RtfWord::Xe, S}},
        {"tc", {RtfWord::Tc, S}},
        {"tcn", {RtfWord::Tcn, S}},
        {"rxe", {RtfWord::Rxe, S}},
        {"comment", {RtfWord::Comment, S}},
        {"template", {RtfWord::Template, S}},
        {"generator", {RtfWord::Generator, S}},
        {"xmlnstbl", {RtfWord::Xmlnstbl, S}},
        {"themedata", {RtfWord::Themedata, S}},
        {"colorschememapping", {RtfWord::Colorschememapping, S}},
        {"latentstyles", {RtfWord::Latentstyles, S}},
        {"datastore", {RtfWord::Datastore, S}},
        {"rsidtbl", {RtfWord::Rsidtbl, S}},
        {"mmathPr", {RtfWord::MmathPr, S}},
        {"pgdsctbl", {RtfWord::Pgdsctbl, S}},
        {"revtbl", {RtfWord::Revtbl, S}},
        {"filetbl", {RtfWord::Filetbl, S}},
        {"fchars", {RtfWord::Fchars, S}},
        {"lchars", {RtfWord::Lchars, S}},
        {"nesttableprops", {RtfWord::Nesttableprops, D}},
        {"nonesttables", {RtfWord::Nonesttables, S}},
        {"fldtype", {RtfWord::Fldtype, S}},
        {"docvar", {RtfWord::Docvar, S}},
        {"userprops", {RtfWord::Userprops, S}},
        {"password", {RtfWord::Password, S}},
        {"passwordhash", {RtfWord::Passwordhash, S}},
        {"wgrffmtfilter", {RtfWord::Wgrffmtfilter, S}},
        {"ftnsep", {RtfWord::Ftnsep, S}},
        {"ftnsepc", {RtfWord::Ftnsepc, S}},
        {"ftncn", {RtfWord::Ftncn, S}},
        {"aftnsep", {RtfWord::Aftnsep, S}},
        {"aftnsepc", {RtfWord::Aftnsepc, S}},
        {"aftncn", {RtfWord::Aftncn, S}},
        {"blipuid", {RtfWord::Blipuid, S}},
        {"picprop", {RtfWord::Picprop, S}},
        {"falt", {RtfWord::Falt, S}},
        {"panose", {RtfWord::Panose, S}},
        {"fname", {RtfWord::Fname, S}},
        {"title", {RtfWord::Title, S}},
        {"subject", {RtfWord::Subject, S}},
        {"author", {RtfWord::Author, S}},
        {"operator", {RtfWord::Operator, S}},
        {"keywords", {RtfWord::Keywords, S}},
        {"doccomm", {RtfWord::Doccomm, S}},
        {"company", {RtfWord::Company, S}},
        {"creatim", {RtfWord::Creatim, S}},
        {"revtim", {RtfWord::Revtim, S}},
        {"printim", {RtfWord::Printim, S}},
        {"buptim", {RtfWord::Buptim, S}},
        {"htmltag", {RtfWord::Htmltag, S}},
        {"mhtmltag", {RtfWord::Mhtmltag, S}},
        {"fontemb", {RtfWord::Fontemb, S}},
        {"fontfile", {RtfWord::Fontfile, S}},
        {"macpict", {RtfWord::Macpict, D}},
        {"pmmetafile", {RtfWord::Pmmetafile, D}},
        {"plain", {RtfWord::Plain, N}},
        {"f", {RtfWord::F, N}},
        {"fs", {RtfWord::Fs, N}},
        {"b", {RtfWord::B, N}},
        {"i", {RtfWord::I, N}},
        {"ul", {RtfWord::Ul, N}},
        {"uld", {RtfWord::Uld, N}},
        {"uldb", {RtfWord::Uldb, N}},
        {"ulw", {RtfWord::Ulw, N}},
        {"ulwave", {RtfWord::Ulwave, N}},
        {"uldash", {RtfWord::Uldash, N}},
        {"uldashd", {RtfWord::Uldashd, N}},
        {"uldashdd", {RtfWord::Uldashdd, N}},
        {"ulldash", {RtfWord::Ulldash, N}},
        {"ulth", {RtfWord::Ulth, N}},
        {"ulthd", {RtfWord::Ulthd, N}},
        {"ulthdash", {RtfWord::Ulthdash, N}},
        {"ulthdashd", {RtfWord::Ulthdashd, N}},
        {"ulthdashdd", {RtfWord::Ulthdashdd, N}},
        {"ulthldash", {RtfWord::Ulthldash, N}},
        {"ulhwave", {RtfWord::Ulhwave, N}},
        {"ululdbwave", {RtfWord::Ululdbwave, N}},
        {"uldbwave", {RtfWord::Uldbwave, N}},
        {"ulnone", {RtfWord::Ulnone, N}},
        {"strike", {RtfWord::Strike, N}},
        {"striked", {RtfWord::Striked, N}},
        {"super", {RtfWord::Super, N}},
        {"sub", {RtfWord::Sub, N}},
        {"nosupersub", {RtfWord::Nosupersub, N}},
        {"up", {RtfWord::Up, N}},
        {"dn", {RtfWord::Dn, N}},
        {"cf", {RtfWord::Cf, N}},
        {"cb", {RtfWord::Cb, N}},
        {"chcbpat", {RtfWord::Chcbpat, N}},
        {"highlight", {RtfWord::Highlight, N}},
        {"protect", {RtfWord::Protect, N}},
        {"v", {RtfWord::V, N}},
        {"caps", {RtfWord::Caps, N}},
        {"scaps", {RtfWord::Scaps, N}},
        {"pard", {RtfWord::Pard, N}},
        {"ql", {RtfWord::Ql, N}},
        {"qr", {RtfWord::Qr, N}},
        {"qc", {RtfWord::Qc, N}},
        {"qj", {RtfWord::Qj, N}},
        {"qd", {RtfWord::Qd, N}},
        {"fi", {RtfWord::Fi, N}},
        {"li", {RtfWord::Li, N}},
        {"ri", {RtfWord::Ri, N}},
        {"sb", {RtfWord::Sb, N}},
        {"sa", {RtfWord::Sa, N}},
        {"sl", {RtfWord::Sl, N}},
        {"slmult", {RtfWord::Slmult, N}},
        {"tx", {RtfWord::Tx, N}},
        {"tqr", {RtfWord::Tqr, N}},
        {"tqc", {RtfWord::Tqc, N}},
        {"tqdec", {RtfWord::Tqdec, N}},
        {"tb", {RtfWord::Tb, N}},
        {"pagebb", {RtfWord::Pagebb, N}},
        {"intbl", {RtfWord::Intbl, N}},
        {"itap", {RtfWord::Itap, N}},
        {"ls", {RtfWord::Ls, N}},
        {"ilvl", {RtfWord::Ilvl, N}},
        {"pnlvl", {RtfWord::Pnlvl, N}},
        {"pnlvlblt", {RtfWord::Pnlvlblt, N}},
        {"pnlvlbody", {RtfWord::Pnlvlbody, N}},
        {"pnlvlcont", {RtfWord::Pnlvlcont, N}},
        {"pndec", {RtfWord::Pndec, N}},
        {"pnlcltr", {RtfWord::Pnlcltr, N}},
        {"pnucltr", {RtfWord::Pnucltr, N}},
        {"pnlcrm", {RtfWord::Pnlcrm, N}},
        {"pnucrm", {RtfWord::Pnucrm, N}},
        {"pnord", {RtfWord::Pnord, N}},
        {"pnordt", {RtfWord::Pnordt, N}},
        {"pncard", {RtfWord::Pncard, N}},
        {"pnstart", {RtfWord::Pnstart, N}},
        {"pnindent", {RtfWord::Pnindent, N}},
        {"pnf", {RtfWord::Pnf, N}},
        {"listid", {RtfWord::Listid, N}},
        {"listtemplateid", {RtfWord::Listtemplateid, N}},
        {"levelnfc", {RtfWord::Levelnfc, N}},
        {"levelnfcn", {RtfWord::Levelnfcn, N}},
        {"levelstartat", {RtfWord::Levelstartat, N}},
        {"s", {RtfWord::S, N}},
        {"sbasedon", {RtfWord::Sbasedon, N}},
        {"keepn", {RtfWord::Keepn, N}},
        {"keep", {RtfWord::Keep, N}},
        {"outlinelevel", {RtfWord::Outlinelevel, N}},
        {"cbpat", {RtfWord::Cbpat, N}},
        {"cfpat", {RtfWord::Cfpat, N}},
        {"shading", {RtfWord::Shading, N}},
        {"brdrt", {RtfWord::Brdrt, N}},
        {"brdrb", {RtfWord::Brdrb, N}},
        {"brdrl", {RtfWord::Brdrl, N}},
        {"brdrr", {RtfWord::Brdrr, N}},
        {"box", {RtfWord::Box, N}},
        {"rtlch", {RtfWord::Rtlch, N}},
        {"ltrch", {RtfWord::Ltrch, N}},
        {"af", {RtfWord::Af, N}},
        {"afs", {RtfWord::Afs, N}},
        {"ab", {RtfWord::Ab, N}},
        {"ai", {RtfWord::Ai, N}},
        {"par", {RtfWord::Par, N}},
        {"line", {RtfWord::Line, N}},
        {"lbr", {RtfWord::Lbr, N}},
        {"tab", {RtfWord::Tab, N}},
        {"page", {RtfWord::Page, N}},
        {"sect", {RtfWord::Sect, N}},
        {"column", {RtfWord::Column, N}},
        {"lquote", {RtfWord::Lquote, N}},
        {"rquote", {RtfWord::Rquote, N}},
        {"ldblquote", {RtfWord::Ldblquote, N}},
        {"rdblquote", {RtfWord::Rdblquote, N}},
        {"bullet", {RtfWord::Bullet, N}},
        {"endash", {RtfWord::Endash, N}},
        {"emdash", {RtfWord::Emdash, N}},
        {"enspace", {RtfWord::Enspace, N}},
        {"emspace", {RtfWord::Emspace, N}},
        {"qmspace", {RtfWord::Qmspace, N}},
        {"zwj", {RtfWord::Zwj, N}},
        {"zwnj", {RtfWord::Zwnj, N}},
        {"zwbo", {RtfWord::Zwbo, N}},
        {"zwnbo", {RtfWord::Zwnbo, N}},
        {"ltrmark", {RtfWord::Ltrmark, N}},
        {"rtlmark", {RtfWord::Rtlmark, N}},
        {"ltrpar", {RtfWord::Ltrpar, N}},
        {"rtlpar", {RtfWord::Rtlpar, N}},
        {"chftn", {RtfWord::Chftn, N}},
        {"chdate", {RtfWord::Chdate, N}},
        {"chdpl", {RtfWord::Chdpl, N}},
        {"chdpa", {RtfWord::Chdpa, N}},
        {"chtime", {RtfWord::Chtime, N}},
        {"chpgn", {RtfWord::Chpgn, N}},
        {"cell", {RtfWord::Cell, N}},
        {"row", {RtfWord::Row, N}},
        {"nestcell", {RtfWord::Nestcell, N}},
        {"nestrow", {RtfWord::Nestrow, N}},
        {"trowd", {RtfWord::Trowd, N}},
        {"cellx", {RtfWord::Cellx, N}},
        {"clmgf", {RtfWord::Clmgf, N}},
        {"clmrg", {RtfWord::Clmrg, N}},
        {"clvmgf", {RtfWord::Clvmgf, N}},
        {"clvmrg", {RtfWord::Clvmrg, N}},
        {"clcbpat", {RtfWord::Clcbpat, N}},
        {"trgaph", {RtfWord::Trgaph, N}},
        {"trleft", {RtfWord::Trleft, N}},
        {"u", {RtfWord::U, N}},
        {"uc", {RtfWord::Uc, N}},
        {"bin", {RtfWord::Bin, N}},
        {"ansi", {RtfWord::Ansi, N}},
        {"mac", {RtfWord::Mac, N}},
        {"pc", {RtfWord::Pc, N}},
        {"pca", {RtfWord::Pca, N}},
        {"ansicpg", {RtfWord::Ansicpg, N}},
        {"deff", {RtfWord::Deff, N}},
        {"fcharset", {RtfWord::Fcharset, N}},
        {"cpg", {RtfWord::Cpg, N}},
        {"rtf", {RtfWord::Rtf, N}},
        {"htmlrtf", {RtfWord::Htmlrtf, N}},
        {"red", {RtfWord::Red, N}},
        {"green", {RtfWord::Green, N}},
        {"blue", {RtfWord::Blue, N}},
        {"pngblip", {RtfWord::Pngblip, N}},
        {"jpegblip", {RtfWord::Jpegblip, N}},
        {"emfblip", {RtfWord::Emfblip, N}},
        {"wmetafile", {RtfWord::Wmetafile, N}},
        {"dibitmap", {RtfWord::Dibitmap, N}},
        {"wbitmap", {RtfWord::Wbitmap, N}},
        {"picw", {RtfWord::Picw, N}},
        {"pich", {RtfWord::Pich, N}},
        {"picwgoal", {RtfWord::Picwgoal, N}},
        {"pichgoal", {RtfWord::Pichgoal, N}},
        {"picscalex", {RtfWord::Picscalex, N}},
        {"picscaley", {RtfWord::Picscaley, N}},
    }};
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return a.name < b.name; });
    return entries;
}();

static_assert(std::adjacent_find(table.begin(), table.end(), [](const Entry &a, const Entry &b) {
                  return a.name == b.name;
              }) == table.end());

// Where the words of each first letter a-z begin in the table (and, at 26, where the words
// after z begin): a search looks only among the words of its own letter.
constexpr auto letterStarts = [] {
    std::array<std::size_t, 27> starts{};
    for (std::size_t letter = 0; letter <= 26; ++letter) {
        const char first = static_cast<char>('a' + letter);
        starts[letter] =
            static_cast<std::size_t>(std::find_if(table.begin(), table.end(),
                                                  [first](const Entry &e) {
                                                      return !e.name.empty() && e.name[0] >= first;
                                                  }) -
                                     table.begin());
    }
    return starts;
}();

static_assert([] {
    for (std::size_t letter = 0; letter < 26; ++letter) {
        for (std::size_t i = letterStarts[letter]; i < letterStarts[letter + 1]; ++i) {
            if (table[i].name[0] != static_cast<char>('a' + letter))
                return false;
        }
    }
    return letterStarts[26] == table.size();
}());

} // namespace

RtfWordInfo lookupRtfWord(QByteArrayView name) {
    const std::string_view key(name.data(), static_cast<std::size_t>(name.size()));
    const auto *begin = table.begin();
    const auto *end = table.end();
    if (!key.empty() && key[0] >= 'a' && key[0] <= 'z') {
        const auto letter = static_cast<std::size_t>(key[0] - 'a');
        begin = table.begin() + letterStarts[letter];
        end = table.begin() + letterStarts[letter + 1];
    }
    const auto *it = std::lower_bound(
        begin, end, key, [](const Entry &e, std::string_view k) { return e.name < k; });
    if (it == end || it->name != key)
        return {};
    return it->info;
}
