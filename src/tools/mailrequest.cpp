#include "tools/mailrequest.h"

#include <QUrl>

bool MailRequest::SendsAsAttachment(const QString &documentName, bool formatted) {
    const qsizetype dot = documentName.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot < 0 ? QString() : documentName.mid(dot);
    return extension == QLatin1String(".rtf") || formatted;
}

QByteArray MailRequest::EncodedBody(const QString &text) {
    return QUrl::toPercentEncoding(text);
}

QByteArray MailRequest::Mailto(const QString &text) {
    return QByteArrayLiteral("mailto:") + PlaceholderAddress.toUtf8() +
           QByteArrayLiteral("?subject=") + QByteArrayLiteral("&body=") + EncodedBody(text);
}
