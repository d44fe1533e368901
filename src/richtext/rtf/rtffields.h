#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <vector>

// Fields (\field with \fldinst and \fldrslt): their instructions, the link targets of the
// hyperlinks among them and the instruction groups of the others, kept as they came; the runs of
// their results refer to both by number.
class RtfFields {
public:
    bool isEmpty() const { return m_fields.empty(); }

    // A \field group opened at this stack size; inInstruction when it stands inside another
    // field's instruction.
    void start(std::size_t depth, bool inInstruction);
    void instructionText(const QString &text);
    // The innermost field's \fldinst group ended; these are its bytes.
    void instructionGroup(QByteArrayView bytes);

    struct Result {
        bool inInstruction = false; // the field stands inside another's instruction
        int link = 0;               // the link number its runs carry, 0: none
        int field = 0;              // the kept field number its runs carry, 0: none
    };
    // \fldrslt of the innermost field. insideField: the result stands inside the result of a
    // kept field, which keeps it as its own text.
    Result startResult(bool insideField);
    // Whether the innermost field's group is the one at this stack size and shows no result:
    // the whole group is then kept in its place.
    bool endsWithoutResultAt(std::size_t depth) const;
    // Closes the fields whose groups lie above this stack size; answers how many of them showed
    // a result whose field is not kept.
    int closeAbove(std::size_t depth);

    // The target of a link number; empty for 0.
    const QString &link(int number) const;
    // The instruction group of a kept field number; empty for 0.
    const QByteArray &instruction(int number) const;

    // The target of a HYPERLINK instruction, with "#bookmark" for \l; empty for other fields.
    static QString hyperlinkTarget(const QString &instruction);

private:
    struct Field {
        QString instruction;
        std::size_t depth = 0;      // the stack size of the field's group
        bool inInstruction = false; // a field inside another field's instruction
        bool hasResult = false;
        bool kept = false; // its result carries its instruction group
        QByteArray instructionGroup;
    };

    std::vector<Field> m_fields;
    std::vector<QString> m_links{QString()};
    std::vector<QByteArray> m_instructions{QByteArray()};
};
