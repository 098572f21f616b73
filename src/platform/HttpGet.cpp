#include "platform/HttpGet.h"

#include <QList>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {

using SteadyClock = std::chrono::steady_clock;
constexpr qsizetype kMaxHeaderBytes = 16 * 1024;

int remainingMs(SteadyClock::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - SteadyClock::now()).count();
    return left <= 0 ? 0 : int(std::min<long long>(left, 60 * 60 * 1000));
}

class Socket {
public:
    explicit Socket(int fd = -1) : Fd(fd) {}
    ~Socket()
    {
        if (Fd >= 0)
            ::close(Fd);
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;
    Socket& operator=(Socket&& other) noexcept
    {
        std::swap(Fd, other.Fd);
        return *this;
    }
    int Fd;
};

struct AddrInfoDeleter {
    void operator()(addrinfo* ai) const
    {
        if (ai)
            freeaddrinfo(ai);
    }
};
using AddrList = std::unique_ptr<addrinfo, AddrInfoDeleter>;

// A name lookup that runs in the resolver's own thread, so that it can be given up on. The lookup
// state must outlive an abandoned request: such lookups are kept here and released once they end.
struct Lookup {
    std::string Host;
    std::string Service;
    addrinfo Hints{};
    gaicb Request{};
};
std::mutex gAbandonedMutex;

// Never destroyed: a lookup still running when the program exits must not write into freed memory.
std::vector<std::unique_ptr<Lookup>>& abandonedLookups()
{
    static auto* lookups = new std::vector<std::unique_ptr<Lookup>>;
    return *lookups;
}

void releaseFinishedLookups()
{
    std::lock_guard lock(gAbandonedMutex);
    std::erase_if(abandonedLookups(), [](const std::unique_ptr<Lookup>& l) {
        if (gai_error(&l->Request) == EAI_INPROGRESS)
            return false;
        if (l->Request.ar_result)
            freeaddrinfo(l->Request.ar_result);
        return true;
    });
}

AddrList resolve(const QString& host, quint16 port, SteadyClock::time_point deadline, QString* error)
{
    releaseFinishedLookups();
    auto lookup = std::make_unique<Lookup>();
    lookup->Host = host.toStdString();
    lookup->Service = std::to_string(port);
    lookup->Hints.ai_family = AF_UNSPEC;
    lookup->Hints.ai_socktype = SOCK_STREAM;
    lookup->Hints.ai_flags = AI_NUMERICSERV;

    // Numeric addresses need no resolver.
    addrinfo numericHints = lookup->Hints;
    numericHints.ai_flags |= AI_NUMERICHOST;
    addrinfo* found = nullptr;
    if (getaddrinfo(lookup->Host.c_str(), lookup->Service.c_str(), &numericHints, &found) == 0)
        return AddrList(found);

    lookup->Request.ar_name = lookup->Host.c_str();
    lookup->Request.ar_service = lookup->Service.c_str();
    lookup->Request.ar_request = &lookup->Hints;
    gaicb* list[1] = {&lookup->Request};
    const int started = getaddrinfo_a(GAI_NOWAIT, list, 1, nullptr);
    if (started != 0) {
        *error = QStringLiteral("Name lookup failed: %1").arg(QString::fromLocal8Bit(gai_strerror(started)));
        return nullptr;
    }
    for (;;) {
        const int ms = remainingMs(deadline);
        const timespec wait{ms / 1000, long(ms % 1000) * 1000000L};
        const int rc = gai_suspend(list, 1, &wait);
        if (rc == EAI_INTR && remainingMs(deadline) > 0)
            continue;
        break;
    }
    int status = gai_error(&lookup->Request);
    if (status == EAI_INPROGRESS) {
        gai_cancel(&lookup->Request);
        status = gai_error(&lookup->Request);
        if (status == EAI_INPROGRESS) {
            std::lock_guard lock(gAbandonedMutex);
            abandonedLookups().push_back(std::move(lookup));
            *error = QStringLiteral("Name lookup timed out");
            return nullptr;
        }
    }
    AddrList result(lookup->Request.ar_result);
    lookup->Request.ar_result = nullptr;
    if (status != 0) {
        *error = status == EAI_CANCELED
                     ? QStringLiteral("Name lookup timed out")
                     : QStringLiteral("Name lookup failed: %1").arg(QString::fromLocal8Bit(gai_strerror(status)));
        return nullptr;
    }
    return result;
}

// Connects to the first address that answers before the deadline.
Socket connectTo(const addrinfo* list, SteadyClock::time_point deadline, QString* error)
{
    *error = QStringLiteral("No address to connect to");
    for (const addrinfo* ai = list; ai; ai = ai->ai_next) {
        Socket s(::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, ai->ai_protocol));
        if (s.Fd < 0) {
            *error = QStringLiteral("Cannot create a socket: %1").arg(QString::fromLocal8Bit(strerror(errno)));
            continue;
        }
        int rc = ::connect(s.Fd, ai->ai_addr, ai->ai_addrlen);
        if (rc != 0 && errno != EINPROGRESS) {
            *error = QStringLiteral("Connection failed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
            continue;
        }
        if (rc != 0) {
            pollfd p{s.Fd, POLLOUT, 0};
            for (;;) {
                rc = ::poll(&p, 1, remainingMs(deadline));
                if (rc < 0 && errno == EINTR)
                    continue;
                break;
            }
            if (rc == 0) {
                *error = QStringLiteral("Connection timed out");
                return Socket();
            }
            int soError = 0;
            socklen_t len = sizeof soError;
            if (rc < 0 || ::getsockopt(s.Fd, SOL_SOCKET, SO_ERROR, &soError, &len) != 0 || soError != 0) {
                *error = QStringLiteral("Connection failed: %1")
                             .arg(QString::fromLocal8Bit(strerror(soError ? soError : errno)));
                continue;
            }
        }
        error->clear();
        return Socket(std::exchange(s.Fd, -1));
    }
    return Socket();
}

bool sendAll(int fd, const QByteArray& data, SteadyClock::time_point deadline, QString* error)
{
    qsizetype sent = 0;
    while (sent < data.size()) {
        const ssize_t n = ::send(fd, data.constData() + sent, size_t(data.size() - sent), MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            pollfd p{fd, POLLOUT, 0};
            const int rc = ::poll(&p, 1, remainingMs(deadline));
            if (rc == 0) {
                *error = QStringLiteral("Sending the request timed out");
                return false;
            }
            if (rc < 0 && errno != EINTR) {
                *error = QStringLiteral("Sending the request failed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
                return false;
            }
            continue;
        }
        *error = QStringLiteral("Sending the request failed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    return true;
}

bool plainToken(const QByteArray& text)
{
    return std::none_of(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
}

struct ReplyHead {
    int Status = 0;
    std::optional<qint64> ContentLength;
    bool Encoded = false;  // a transfer coding we do not decode
};

// Parses the status line and the header fields; false when the head is malformed.
bool parseHead(const QByteArray& head, ReplyHead* out)
{
    QList<QByteArray> lines = head.split('\n');
    for (QByteArray& line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    const QByteArray& status = lines.value(0);
    // "HTTP/1.x NNN reason"
    if (!status.startsWith("HTTP/") || status.size() < 12 || status.at(8) != ' ')
        return false;
    bool ok = false;
    const int code = status.mid(9, 3).toInt(&ok);
    if (!ok || code < 100 || code > 999 || (status.size() > 12 && status.at(12) != ' '))
        return false;
    out->Status = code;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray& line = lines.at(i);
        if (line.isEmpty())
            continue;
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            return false;
        const QByteArray name = line.left(colon).trimmed().toLower();
        const QByteArray value = line.mid(colon + 1).trimmed();
        if (name == "content-length") {
            const qint64 length = value.toLongLong(&ok);
            if (!ok || length < 0 || (out->ContentLength && *out->ContentLength != length))
                return false;
            out->ContentLength = length;
        } else if (name == "transfer-encoding" && value.toLower() != "identity") {
            out->Encoded = true;
        }
    }
    return true;
}

}  // namespace

HttpResult HttpGet(const HttpRequest& request)
{
    HttpResult result;
    const QByteArray host = request.Host.toUtf8();
    if (host.isEmpty() || !plainToken(host) || host.contains(' ')) {
        result.Error = QStringLiteral("Invalid host");
        return result;
    }
    if (!request.Target.startsWith('/') || !plainToken(request.Target) || request.Target.contains(' ')) {
        result.Error = QStringLiteral("Invalid request target");
        return result;
    }

    QByteArray message = "GET " + request.Target + " HTTP/1.0\r\nHost: ";
    message += host.contains(':') ? "[" + host + "]" : host;
    if (request.Port != 80)
        message += ':' + QByteArray::number(request.Port);
    message += "\r\n";
    for (const auto& [name, value] : request.Headers) {
        if (name.isEmpty() || !plainToken(name) || !plainToken(value) || name.contains(':')) {
            result.Error = QStringLiteral("Invalid request header");
            return result;
        }
        message += name + ": " + value + "\r\n";
    }
    message += "\r\n";

    const auto connectDeadline = SteadyClock::now() + std::chrono::milliseconds(std::max(0, request.ConnectTimeoutMs));
    AddrList addresses = resolve(request.Host, request.Port, connectDeadline, &result.Error);
    if (!addresses)
        return result;
    Socket socket = connectTo(addresses.get(), connectDeadline, &result.Error);
    if (socket.Fd < 0)
        return result;

    const auto readDeadline = SteadyClock::now() + std::chrono::milliseconds(std::max(0, request.ReadTimeoutMs));
    if (!sendAll(socket.Fd, message, readDeadline, &result.Error))
        return result;

    const qint64 maxBody = std::max<qint64>(0, request.MaxBodyBytes);
    QByteArray data;
    std::optional<ReplyHead> head;
    qsizetype bodyStart = 0;
    char chunk[4096];
    for (;;) {
        if (head) {
            const qint64 bodySize = data.size() - bodyStart;
            if (head->ContentLength && bodySize >= *head->ContentLength) {
                data.truncate(bodyStart + *head->ContentLength);
                break;
            }
            if (bodySize > maxBody) {
                result.Error = QStringLiteral("Reply too large");
                return result;
            }
        }
        pollfd p{socket.Fd, POLLIN, 0};
        const int rc = ::poll(&p, 1, remainingMs(readDeadline));
        if (rc < 0 && errno == EINTR)
            continue;
        if (rc == 0) {
            result.Error = QStringLiteral("Reading the reply timed out");
            return result;
        }
        if (rc < 0) {
            result.Error = QStringLiteral("Reading the reply failed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
            return result;
        }
        const ssize_t n = ::recv(socket.Fd, chunk, sizeof chunk, 0);
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK)
                continue;
            result.Error = QStringLiteral("Reading the reply failed: %1").arg(QString::fromLocal8Bit(strerror(errno)));
            return result;
        }
        if (n == 0) {
            if (!head) {
                result.Error = QStringLiteral("Connection closed before the reply was complete");
                return result;
            }
            if (head->ContentLength && data.size() - bodyStart < *head->ContentLength) {
                result.Error = QStringLiteral("Connection closed before the reply was complete");
                return result;
            }
            break;
        }
        data.append(chunk, n);
        if (!head) {
            qsizetype end = data.indexOf("\r\n\r\n");
            qsizetype sepLen = 4;
            const qsizetype bare = data.indexOf("\n\n");
            if (bare >= 0 && (end < 0 || bare < end)) {
                end = bare;
                sepLen = 2;
            }
            if (end < 0) {
                if (data.size() > kMaxHeaderBytes) {
                    result.Error = QStringLiteral("Reply header too large");
                    return result;
                }
                continue;
            }
            ReplyHead parsed;
            if (!parseHead(data.left(end), &parsed)) {
                result.Error = QStringLiteral("Malformed reply");
                return result;
            }
            result.Status = parsed.Status;
            if (parsed.Status < 200 || parsed.Status > 299) {
                result.Error = QStringLiteral("HTTP status %1").arg(parsed.Status);
                return result;
            }
            if (parsed.Encoded) {
                result.Error = QStringLiteral("Unsupported transfer encoding");
                return result;
            }
            if (parsed.ContentLength && *parsed.ContentLength > maxBody) {
                result.Error = QStringLiteral("Reply too large");
                return result;
            }
            head = parsed;
            bodyStart = end + sepLen;
        }
    }
    result.Body = data.mid(bodyStart);
    result.Ok = true;
    return result;
}

}  // namespace platform
