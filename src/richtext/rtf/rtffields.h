#pragma once

#include <QString>
#include <cstddef>
#include <vector>

// Fields (\field with \fldinst and \fldrslt): their instructions, and the link targets of the
// hyperlinks among them, which the runs of their results refer to by number.
class RtfFields {
public:
    bool isEmpty() const { return m_fields.empty(); }

    // A \field group opened at this stack size; inInstruction when it stands inside another
    // field's instruction.
    void start(std::size_t depth, bool inInstruction);
    void instructionText(const QString &text);
    // \fldrslt of the innermost field: answers the link number its result's runs carry (0: none),
    // or -1 when the field stands inside another's instruction, where its result is instruction
    // text too.
    int startResult();
    // Closes the fields whose groups lie above this stack size; answers how many of them showed
    // a result that is not a link.
    int closeAbove(std::size_t depth);

    // The target of a link number; empty for 0.
    const QString &link(int number) const;

    // The target of a HYPERLINK instruction, with "#bookmark" for \l; empty for other fields.
    static QString hyperlinkTarget(const QString &instruction);

private:
    struct Field {
        QString instruction;
        std::size_t depth = 0;      // the stack size of the field's group
        bool inInstruction = false; // a field inside another field's instruction
        bool hasResult = false;
    };

    std::vector<Field> m_fields;
    std::vector<QString> m_links{QString()};
};
