#include "platform/registrydata.h"

#include <QStringDecoder>

namespace {

const QByteArray kHeader = "Quillet Vado settings store 1";

QString folded(const QString &s) {
    return s.toCaseFolded();
}

QByteArray quoted(const QString &text) {
    const QByteArray utf8 = text.toUtf8();
    QByteArray out = "\"";
    for (const char c : utf8) {
        const uchar u = uchar(c);
        if (c == '\\' || c == '"') {
            out += '\\';
            out += c;
        } else if (u < 0x20 || u == 0x7F) {
            out += "\\x";
            out += QByteArray::number(u, 16).rightJustified(2, '0');
        } else {
            out += c;
        }
    }
    out += '"';
    return out;
}

// Reads a quoted string starting at line[pos] (the opening quote); on success pos is just past the
// closing quote.
std::optional<QString> unquote(const QByteArray &line, qsizetype &pos) {
    if (pos >= line.size() || line[pos] != '"')
        return std::nullopt;
    // Most names hold no escape: take them whole.
    const qsizetype close = line.indexOf('"', pos + 1);
    if (close > pos) {
        const QByteArrayView plain(line.constData() + pos + 1, close - pos - 1);
        if (!plain.contains('\\')) {
            if (!plain.isValidUtf8())
                return std::nullopt;
            pos = close + 1;
            return QString::fromUtf8(plain);
        }
    }
    QByteArray utf8;
    for (++pos; pos < line.size(); ++pos) {
        const char c = line[pos];
        if (c == '"') {
            ++pos;
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString text = decoder.decode(utf8);
            if (decoder.hasError())
                return std::nullopt;
            return text;
        }
        if (c != '\\') {
            utf8 += c;
            continue;
        }
        if (++pos >= line.size())
            return std::nullopt;
        const char e = line[pos];
        if (e == '\\' || e == '"') {
            utf8 += e;
        } else if (e == 'x' && pos + 2 < line.size()) {
            bool ok = false;
            const int byte = line.mid(pos + 1, 2).toInt(&ok, 16);
            if (!ok)
                return std::nullopt;
            utf8 += char(byte);
            pos += 2;
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<RegistryValue> parseData(const QByteArray &data) {
    if (data.startsWith('"')) {
        qsizetype pos = 0;
        const std::optional<QString> s = unquote(data, pos);
        if (!s || pos != data.size())
            return std::nullopt;
        return RegistryValue::ofString(*s);
    }
    if (data.startsWith("dword:")) {
        const QByteArray digits = data.mid(6);
        bool ok = false;
        const uint v = digits.toUInt(&ok, 16);
        if (!ok || digits.size() != 8)
            return std::nullopt;
        return RegistryValue::ofInteger(qint32(v));
    }
    if (data.startsWith("hex:")) {
        const QByteArray list = data.mid(4);
        QByteArray bytes;
        if (!list.isEmpty()) {
            for (const QByteArray &part : list.split(',')) {
                bool ok = false;
                const uint b = part.toUInt(&ok, 16);
                if (!ok || part.size() != 2)
                    return std::nullopt;
                bytes += char(b);
            }
        }
        return RegistryValue::ofBinary(bytes);
    }
    return std::nullopt;
}

QByteArray formatData(const RegistryValue &v) {
    switch (v.type) {
    case RegistryValue::Type::Integer:
        return "dword:" + QByteArray::number(quint32(v.integer), 16).rightJustified(8, '0');
    case RegistryValue::Type::String:
        return quoted(v.string);
    case RegistryValue::Type::Binary: {
        QByteArray out = "hex:";
        for (qsizetype i = 0; i < v.binary.size(); ++i) {
            if (i)
                out += ',';
            out += QByteArray::number(uchar(v.binary[i]), 16).rightJustified(2, '0');
        }
        return out;
    }
    }
    return {};
}

} // namespace

RegistryValue RegistryValue::ofInteger(qint32 v) {
    RegistryValue r;
    r.type = Type::Integer;
    r.integer = v;
    return r;
}

RegistryValue RegistryValue::ofString(QString v) {
    RegistryValue r;
    r.type = Type::String;
    r.string = std::move(v);
    return r;
}

RegistryValue RegistryValue::ofBinary(QByteArray v) {
    RegistryValue r;
    r.type = Type::Binary;
    r.binary = std::move(v);
    return r;
}

QString RegistryData::normalizedKey(const QString &key) {
    return key.split(QLatin1Char('\\'), Qt::SkipEmptyParts).join(QLatin1Char('\\'));
}

const RegistryData::Key *RegistryData::findKey(const QString &key) const {
    const auto it = m_keys.constFind(folded(normalizedKey(key)));
    return it == m_keys.constEnd() ? nullptr : &*it;
}

RegistryData::Key &RegistryData::keyFor(const QString &normalized) {
    // Parents are created with the spelling the path gives them, unless they exist already.
    const QStringList parts = normalized.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString path;
    Key *key = nullptr;
    for (const QString &part : parts) {
        path = path.isEmpty() ? part : path + QLatin1Char('\\') + part;
        Key &k = m_keys[folded(path)];
        if (k.path.isEmpty())
            k.path = path;
        key = &k;
    }
    if (!key) {
        Key &root = m_keys[QString()];
        return root;
    }
    return *key;
}

bool RegistryData::keyExists(const QString &key) const {
    const QString f = folded(normalizedKey(key));
    return f.isEmpty() || m_keys.contains(f);
}

void RegistryData::createKey(const QString &key) {
    keyFor(normalizedKey(key));
}

const RegistryValue *RegistryData::value(const QString &key, const QString &name) const {
    const Key *k = findKey(key);
    if (!k)
        return nullptr;
    const auto at = k->byName.constFind(folded(name));
    return at == k->byName.cend() ? nullptr : &k->entries[*at].value;
}

void RegistryData::setValue(const QString &key, const QString &name, const RegistryValue &value) {
    setValueIn(keyFor(normalizedKey(key)), name, value);
}

void RegistryData::setValueIn(Key &k, const QString &name, const RegistryValue &value) {
    const QString f = folded(name);
    if (const auto at = k.byName.constFind(f); at != k.byName.cend()) {
        k.entries[*at].value = value;
        return;
    }
    k.byName.insert(f, k.entries.size());
    k.entries.append(Entry{name, value});
}

bool RegistryData::removeValue(const QString &key, const QString &name) {
    auto it = m_keys.find(folded(normalizedKey(key)));
    if (it == m_keys.end())
        return false;
    const auto at = it->byName.constFind(folded(name));
    if (at == it->byName.cend())
        return false;
    it->entries.removeAt(*at);
    it->byName.clear();
    for (qsizetype i = 0; i < it->entries.size(); ++i)
        it->byName.insert(folded(it->entries[i].name), i);
    return true;
}

QStringList RegistryData::valueNames(const QString &key) const {
    QStringList names;
    if (const Key *k = findKey(key)) {
        for (const Entry &e : k->entries)
            names.append(e.name);
    }
    return names;
}

QStringList RegistryData::subKeyNames(const QString &key) const {
    const QString prefix = folded(normalizedKey(key));
    QStringList names;
    for (const Key &k : m_keys) {
        const QString f = folded(k.path);
        if (f.isEmpty())
            continue;
        if (prefix.isEmpty()) {
            if (!f.contains(QLatin1Char('\\')))
                names.append(k.path);
        } else if (f.size() > prefix.size() + 1 && f.startsWith(prefix) &&
                   f[prefix.size()] == QLatin1Char('\\') &&
                   !f.mid(prefix.size() + 1).contains(QLatin1Char('\\'))) {
            names.append(k.path.mid(prefix.size() + 1));
        }
    }
    return names;
}

QByteArray RegistryData::serialize() const {
    QByteArray out = kHeader + '\n';
    for (const Key &k : m_keys) {
        out += "\n[" + k.path.toUtf8() + "]\n";
        for (const Entry &e : k.entries)
            out += quoted(e.name) + '=' + formatData(e.value) + '\n';
    }
    return out;
}

std::optional<RegistryData> RegistryData::parse(const QByteArray &text, QString *error) {
    auto fail = [&](int lineNo, const char *why) -> std::optional<RegistryData> {
        if (error)
            *error = QStringLiteral("line %1: %2").arg(lineNo).arg(QLatin1String(why));
        return std::nullopt;
    };
    const QList<QByteArray> lines = text.split('\n');
    if (lines.isEmpty() || lines.first().trimmed() != kHeader)
        return fail(1, "not a settings store (missing header)");
    RegistryData data;
    // The key of the section being read; the map is the parse's own, so the node stays put.
    Key *key = nullptr;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const int lineNo = int(i + 1);
        QByteArray line = lines[i];
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[')) {
            if (!line.endsWith(']'))
                return fail(lineNo, "key line without closing bracket");
            QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
            const QString path = decoder.decode(line.mid(1, line.size() - 2));
            if (decoder.hasError())
                return fail(lineNo, "key path is not UTF-8");
            key = &data.keyFor(normalizedKey(path));
            continue;
        }
        if (!key)
            return fail(lineNo, "value outside any key");
        qsizetype pos = 0;
        const std::optional<QString> name = unquote(line, pos);
        if (!name || pos >= line.size() || line[pos] != '=')
            return fail(lineNo, "malformed value name");
        const std::optional<RegistryValue> value = parseData(line.mid(pos + 1));
        if (!value)
            return fail(lineNo, "malformed value data");
        setValueIn(*key, *name, *value);
    }
    return data;
}

bool RegistryData::operator==(const RegistryData &other) const {
    return serialize() == other.serialize();
}
