#pragma once

#include "editor/texttools/texttoolstarget.h"

#include <QList>
#include <QStringList>
#include <functional>

// An editing area modelled as characters with one size each ('\n' a paragraph break), a
// selection and the insertion size; enough to watch the text tools change text, sizes and
// selection. Searches are recorded and answered with `findResult`.
class FakeMemo : public TextToolsTarget {
public:
    QString chars;
    QList<int> sizes;
    int start = 0;
    int end = 0;
    int insertionSize = 10;
    bool modified = false;
    int updateDepth = 0;
    int maxUpdateDepth = 0;
    int replacements = 0;
    bool findResult = true;
    QStringList searches;
    std::function<void(const QString &)> notFound;

    void setText(const QString &text, int size = 10) {
        chars = text;
        sizes = QList<int>(text.size(), size);
        start = end = 0;
    }

    QString text() const override {
        QString t = chars;
        return t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    }
    int selStart() const override { return start; }
    int selLength() const override { return end - start; }
    QString selText() const override {
        return chars.mid(start, end - start).replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    }
    void setSelText(const QString &text) override {
        QString t = text;
        t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        const int size = start < end ? sizes[start] : insertionSize;
        chars.replace(start, end - start, t);
        sizes.remove(start, end - start);
        for (int i = 0; i < t.size(); ++i)
            sizes.insert(start, size);
        end = start + int(t.size());
        ++replacements;
        modified = true;
    }
    void selectRange(int s, int e, bool) override {
        start = std::clamp(std::min(s, e), 0, int(chars.size()));
        end = std::clamp(std::max(s, e), 0, int(chars.size()));
    }
    int selSize() const override { return start < end ? sizes[start] : insertionSize; }
    bool selSizeUniform() const override {
        for (int i = start; i < end; ++i) {
            if (sizes[i] != sizes[start])
                return false;
        }
        return true;
    }
    void setSelSize(int points) override {
        if (start == end) {
            insertionSize = points;
            return;
        }
        for (int i = start; i < end; ++i)
            sizes[i] = points;
    }
    void beginUpdate() override { maxUpdateDepth = std::max(maxUpdateDepth, ++updateDepth); }
    void endUpdate() override { --updateDepth; }
    void setModified(bool m) override { modified = m; }
    bool findNext(const QString &findText, bool matchCase, bool wholeWord, bool down) override {
        searches << QStringLiteral("find %1 %2%3%4")
                        .arg(findText)
                        .arg(matchCase ? "c" : "-")
                        .arg(wholeWord ? "w" : "-")
                        .arg(down ? "d" : "u");
        if (!findResult && notFound)
            notFound(findText);
        return findResult;
    }
    bool replaceNext(const QString &findText, const QString &replacement, bool, bool) override {
        searches << QStringLiteral("replace %1 %2").arg(findText, replacement);
        return findResult;
    }
    int replaceAll(const QString &findText, const QString &replacement, bool, bool) override {
        searches << QStringLiteral("all %1 %2").arg(findText, replacement);
        return findResult ? 2 : 0;
    }
    QPoint screenPointAt(int position) const override { return {position * 8, 300}; }
};
