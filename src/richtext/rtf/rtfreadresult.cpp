#include "richtext/rtf/rtfreadresult.h"

QStringList RtfDroppedContent::describe() const {
    QStringList lines;
    const auto add = [&lines](int count, const char *one, const char *many) {
        if (count == 1)
            lines.append(QStringLiteral("1 %1").arg(QLatin1String(one)));
        else if (count > 1)
            lines.append(QStringLiteral("%1 %2").arg(count).arg(QLatin1String(many)));
    };
    add(headersFooters, "header or footer", "headers and footers");
    add(footnotes, "footnote", "footnotes");
    add(annotations, "comment", "comments");
    add(fields, "field (kept as text)", "fields (kept as text)");
    add(hiddenText, "piece of hidden text", "pieces of hidden text");
    add(objects, "embedded object or drawing", "embedded objects and drawings");
    return lines;
}

RtfDroppedContent &RtfDroppedContent::operator+=(const RtfDroppedContent &other) {
    headersFooters += other.headersFooters;
    footnotes += other.footnotes;
    annotations += other.annotations;
    fields += other.fields;
    hiddenText += other.hiddenText;
    objects += other.objects;
    return *this;
}
