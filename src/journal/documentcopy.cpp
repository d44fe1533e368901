#include "journal/documentcopy.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>

QString DocumentCopy::plainText() const {
    qsizetype size = 0;
    for (const Paragraph &paragraph : paragraphs)
        size += paragraph.text.size() + 1;
    QString text;
    text.reserve(size);
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            text += QLatin1Char('\n');
        text += paragraphs[i].text;
    }
    return text;
}

QString DocumentCopy::firstLine(int length) const {
    for (const Paragraph &paragraph : paragraphs) {
        QString line = paragraph.text.trimmed();
        line.remove(QChar::ObjectReplacementCharacter);
        if (!line.isEmpty())
            return line.left(length);
    }
    return QString();
}

std::shared_ptr<DocumentCopy> DocumentCopy::fromPlainText(const QString &text) {
    auto copy = std::make_shared<DocumentCopy>();
    copy->withFormats = false;
    qsizetype start = 0;
    qsizetype split = text.size();
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0)
            end = text.size();
        if (!QStringView(text).mid(start, end - start).trimmed().isEmpty()) {
            split = end;
            break;
        }
        start = end + 1;
    }
    Paragraph first;
    first.text = text.left(split);
    copy->paragraphs.append(std::move(first));
    if (split < text.size()) {
        Paragraph rest;
        rest.text = text.mid(split + 1);
        copy->paragraphs.append(std::move(rest));
    }
    return copy;
}

std::unique_ptr<QTextDocument> DocumentCopy::toDocument() const {
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    document->setDefaultFont(defaultFont);
    for (auto it = images.cbegin(); it != images.cend(); ++it)
        document->addResource(QTextDocument::ImageResource, QUrl(it.key()), it.value());

    const auto formatAt = [this](int index) {
        return index >= 0 && index < formats.size() ? formats[index] : QTextFormat();
    };
    QTextCursor cursor(document.get());
    QHash<int, QTextList *> lists;
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
        const Paragraph &paragraph = paragraphs[i];
        QTextBlockFormat blockFormat = formatAt(paragraph.blockFormat).toBlockFormat();
        // The list object belongs to the original; the list is made anew below.
        blockFormat.clearProperty(QTextFormat::ObjectIndex);
        const QTextCharFormat charFormat = formatAt(paragraph.charFormat).toCharFormat();
        if (i == 0) {
            cursor.setBlockFormat(blockFormat);
            cursor.setBlockCharFormat(charFormat);
        } else {
            cursor.insertBlock(blockFormat, charFormat);
        }
        if (!withFormats || paragraph.fragments.isEmpty()) {
            cursor.insertText(paragraph.text);
        } else {
            for (const Fragment &fragment : paragraph.fragments)
                cursor.insertText(paragraph.text.mid(fragment.offset, fragment.length),
                                  formatAt(fragment.format).toCharFormat());
        }
        if (paragraph.list >= 0) {
            if (QTextList *list = lists.value(paragraph.list))
                list->add(cursor.block());
            else
                lists.insert(paragraph.list,
                             cursor.createList(formatAt(paragraph.listFormat).toListFormat()));
        }
    }
    return document;
}
