#include "HttpRequest.h"

#include <QList>

std::optional<HttpRequest> HttpRequest::parse(const QByteArray &head)
{
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3 || !requestLine.at(2).startsWith("HTTP/1.")) {
        return std::nullopt;
    }
    HttpRequest request;
    request.method = requestLine.at(0);
    request.target = QUrl::fromEncoded(requestLine.at(1), QUrl::StrictMode);
    if (!request.target.isValid()) {
        return std::nullopt;
    }
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines.at(i).trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0) {
            continue;
        }
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "host") {
            request.host = value;
        } else if (name == "range") {
            request.range = value;
        } else if (name == "if-range") {
            request.ifRange = value;
        }
    }
    return request;
}
