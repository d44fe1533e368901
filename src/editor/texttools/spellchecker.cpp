#include "editor/texttools/spellchecker.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <hunspell.hxx>
#include <unicode/ucnv.h>

namespace {

// Converts between UTF-16 and a legacy character set of a dictionary through ICU.
std::string fromUnicode(const QString &text, const QString &encoding) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *conv = ucnv_open(encoding.toLatin1().constData(), &status);
    if (U_FAILURE(status))
        return text.toStdString();
    std::string out(size_t(text.size()) * 4 + 4, '\0');
    const int32_t n = ucnv_fromUChars(conv, out.data(), int32_t(out.size()),
                                      reinterpret_cast<const UChar *>(text.utf16()),
                                      int32_t(text.size()), &status);
    ucnv_close(conv);
    if (U_FAILURE(status))
        return text.toStdString();
    out.resize(size_t(n));
    return out;
}

QString toUnicode(const std::string &bytes, const QString &encoding) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *conv = ucnv_open(encoding.toLatin1().constData(), &status);
    if (U_FAILURE(status))
        return QString::fromStdString(bytes);
    QString out(qsizetype(bytes.size()) + 1, Qt::Uninitialized);
    const int32_t n =
        ucnv_toUChars(conv, reinterpret_cast<UChar *>(out.data()), int32_t(out.size()),
                      bytes.data(), int32_t(bytes.size()), &status);
    ucnv_close(conv);
    if (U_FAILURE(status))
        return QString::fromStdString(bytes);
    out.truncate(n);
    return out;
}

} // namespace

QString SpellDictionary::displayName() const {
    const QLocale locale(name);
    if (locale.language() == QLocale::C || !name.contains(u'_'))
        return name;
    return QStringLiteral("%1 (%2, %3)")
        .arg(name, QLocale::languageToString(locale.language()),
             QLocale::territoryToString(locale.territory()));
}

QStringList DefaultDictionaryFolders() {
    QStringList folders;
    const QString dicPath = qEnvironmentVariable("DICPATH");
    if (!dicPath.isEmpty())
        folders += dicPath.split(u':', Qt::SkipEmptyParts);
    folders << QStringLiteral("/usr/share/hunspell") << QStringLiteral("/usr/share/myspell")
            << QStringLiteral("/usr/share/myspell/dicts");
    return folders;
}

QList<SpellDictionary> FindSpellDictionaries(const QStringList &folders) {
    QList<SpellDictionary> found;
    QStringList names;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        const QStringList affs =
            dir.entryList({QStringLiteral("*.aff")}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString &aff : affs) {
            const QString name = QFileInfo(aff).completeBaseName();
            const QString dic = dir.filePath(name + QStringLiteral(".dic"));
            if (names.contains(name) || !QFileInfo(dic).isReadable())
                continue;
            names << name;
            found.append({name, dir.filePath(aff), dic});
        }
    }
    std::sort(found.begin(), found.end(),
              [](const SpellDictionary &a, const SpellDictionary &b) { return a.name < b.name; });
    return found;
}

int ChooseSpellDictionary(const QList<SpellDictionary> &dictionaries, const QString &preferred) {
    const auto indexOf = [&](const QString &name) -> int {
        for (int i = 0; i < dictionaries.size(); ++i) {
            if (dictionaries[i].name == name)
                return i;
        }
        return -1;
    };
    for (const QString &name : {preferred, QLocale::system().name(), QStringLiteral("en_US")}) {
        if (name.isEmpty())
            continue;
        if (const int i = indexOf(name); i >= 0)
            return i;
    }
    return dictionaries.isEmpty() ? -1 : 0;
}

SpellChecker::SpellChecker(const SpellDictionary &dictionary)
    : m_dictionary(dictionary) {
    // The library reports unreadable files only on stderr, so check them first.
    if (!QFileInfo(dictionary.affPath).isReadable() || !QFileInfo(dictionary.dicPath).isReadable())
        return;
    m_hunspell = std::make_unique<Hunspell>(QFile::encodeName(dictionary.affPath).constData(),
                                            QFile::encodeName(dictionary.dicPath).constData());
    m_encoding = QString::fromStdString(m_hunspell->get_dict_encoding());
    m_utf8 = m_encoding.compare(QLatin1String("UTF-8"), Qt::CaseInsensitive) == 0;
}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::isCorrect(const QString &word) {
    if (!m_hunspell)
        return true;
    const auto known = m_known.constFind(word);
    if (known != m_known.cend())
        return *known;
    const bool correct = m_hunspell->spell(encode(word));
    m_known.insert(word, correct);
    return correct;
}

QStringList SpellChecker::suggestions(const QString &word) {
    QStringList out;
    if (!m_hunspell)
        return out;
    for (const std::string &s : m_hunspell->suggest(encode(word)))
        out << decode(s);
    return out;
}

void SpellChecker::addWord(const QString &word) {
    if (!m_hunspell)
        return;
    m_hunspell->add(encode(word));
    m_known.insert(word, true);
}

std::string SpellChecker::encode(const QString &word) const {
    return m_utf8 ? word.toStdString() : fromUnicode(word, m_encoding);
}

QString SpellChecker::decode(const std::string &bytes) const {
    return m_utf8 ? QString::fromStdString(bytes) : toUnicode(bytes, m_encoding);
}
