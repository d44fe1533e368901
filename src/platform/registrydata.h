#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <optional>

// One typed value of a settings store.
struct RegistryValue {
    enum class Type { Integer, String, Binary };

    Type type = Type::String;
    qint32 integer = 0;
    QString string;
    QByteArray binary;

    static RegistryValue ofInteger(qint32 v);
    static RegistryValue ofString(QString v);
    static RegistryValue ofBinary(QByteArray v);
    bool operator==(const RegistryValue &) const = default;
};

// The contents of a settings store in memory: keys by path ("Software\Fernlake\Quillet"), each
// holding named values. Key paths and value names are matched without regard to letter case and
// keep the spelling they were first created with. A key exists when it was created or when any
// key below it exists. Text form (Serialize / Parse), one UTF-8 file:
//
//   Quillet Vado settings store 1
//
//   [Software\Fernlake\Quillet]
//   "NoTV"=dword:00000001
//   "FontStyle"="Times New Roman"
//   "Picture"=hex:89,50,4e
//
// In quoted names and strings, backslash, quote and control characters are written as \\, \" and
// \xHH. Blank lines and lines starting with ";" are ignored.
class RegistryData {
public:
    // Splits a key path at "\" and drops empty parts: "\A\\B\" is "A\B". Empty: the root.
    static QString normalizedKey(const QString &key);

    bool keyExists(const QString &key) const;
    void createKey(const QString &key);
    const RegistryValue *value(const QString &key, const QString &name) const;
    // Creates the key when missing. A name already present keeps its spelling.
    void setValue(const QString &key, const QString &name, const RegistryValue &value);
    bool removeValue(const QString &key, const QString &name);
    QStringList valueNames(const QString &key) const;
    // The names of the keys directly below `key`, in the spelling of their creation.
    QStringList subKeyNames(const QString &key) const;

    QByteArray serialize() const;
    // nullopt when the text is not a store file; `error` then says where and why.
    static std::optional<RegistryData> parse(const QByteArray &text, QString *error = nullptr);

    bool operator==(const RegistryData &other) const;

private:
    struct Entry {
        QString name;
        RegistryValue value;
    };
    struct Key {
        QString path;
        QList<Entry> entries; // in the order of their creation, as the file keeps them
        // Case-folded name to its place in entries, so that a key of many values is read in
        // linear time rather than quadratic.
        QHash<QString, qsizetype> byName;
    };

    Key &keyFor(const QString &normalized);
    static void setValueIn(Key &key, const QString &name, const RegistryValue &value);
    const Key *findKey(const QString &key) const;

    QMap<QString, Key> m_keys; // by case-folded normalized path
};
