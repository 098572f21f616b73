#pragma once
#include <QByteArray>
#include <QString>
#include <utility>
#include <vector>

namespace platform {

// A plain HTTP/1.0 GET: no TLS, no proxy, no cookies, redirects not followed.
struct HttpRequest {
    QString Host;        // name or numeric address
    quint16 Port = 80;
    QByteArray Target = "/";  // path and query, already encoded
    std::vector<std::pair<QByteArray, QByteArray>> Headers;  // sent after Host, in this order

    // Time limits, so that an unanswered server cannot hold the caller: name lookup and connection
    // share the first, the whole reply (after the request is sent) must arrive within the second.
    int ConnectTimeoutMs = 4000;
    int ReadTimeoutMs = 4000;
    // Replies whose body is larger are refused rather than read into memory.
    qint64 MaxBodyBytes = 64 * 1024;
};

struct HttpResult {
    bool Ok = false;     // a complete reply with a 2xx status
    int Status = 0;      // the reply's status code, 0 when none was read
    QByteArray Body;     // the body of a successful reply
    QString Error;       // why it failed, for tests and diagnostics
};

// Sends the request and reads the whole reply; never throws.
HttpResult HttpGet(const HttpRequest& request);

}  // namespace platform
