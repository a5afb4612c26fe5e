#pragma once

#include <QByteArray>
#include <QUrl>

#include <optional>

// The head of one HTTP/1.1 request: all this service needs of it.
struct HttpRequest
{
    QByteArray method;
    QUrl target; // path and query as sent
    QByteArray host;
    QByteArray range;   // the Range header, as sent
    QByteArray ifRange; // the If-Range header, as sent

    // Parses the bytes up to (not including) the blank line; nothing when they are not a request.
    static std::optional<HttpRequest> parse(const QByteArray &head);
};
