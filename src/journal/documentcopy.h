#pragma once

#include <QFont>
#include <QHash>
#include <QList>
#include <QString>
#include <QTextFormat>
#include <QVariant>
#include <memory>

class QTextDocument;

// A copy of a QTextDocument's content that owns nothing of the original: paragraphs with their
// text and the indexes of their formats, the formats themselves copied property by property,
// the pictures the text refers to, and the default font. Made on the user-interface thread by
// DocumentCopier; read on any thread afterwards.
struct DocumentCopy {
    struct Fragment {
        int offset = 0; // inside the paragraph's text
        int length = 0;
        int format = 0;
    };
    struct Paragraph {
        QString text;
        int blockFormat = 0;
        int charFormat = 0;
        // The list the paragraph belongs to (its object index in the original), or -1.
        int list = -1;
        int listFormat = 0;
        QList<Fragment> fragments;
    };

    QList<Paragraph> paragraphs;
    QList<QTextFormat> formats;
    QHash<QString, QVariant> images; // by the name the picture formats use
    QFont defaultFont;
    bool withFormats = true;

    // The text, one "\n" after every paragraph but the last.
    QString plainText() const;
    // The first paragraph that is not blank, trimmed to at most `length` characters.
    QString firstLine(int length = 80) const;
    // A new document with this content; may run on any thread.
    std::unique_ptr<QTextDocument> toDocument() const;
    // A copy without formats of plain text ('\n' between lines) that no document holds, in at
    // most two paragraphs whatever its length: up to the end of its first line that is not
    // blank, and the rest. Its plainText() and firstLine() are those of the text.
    static std::shared_ptr<DocumentCopy> fromPlainText(const QString &text);
};

// Growing the list of paragraphs moves them as bytes, not one by one.
Q_DECLARE_TYPEINFO(DocumentCopy::Fragment, Q_PRIMITIVE_TYPE);
Q_DECLARE_TYPEINFO(DocumentCopy::Paragraph, Q_RELOCATABLE_TYPE);
