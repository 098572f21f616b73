#pragma once
#include <QByteArray>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

// A real HTTP server on 127.0.0.1 with an ephemeral port, served by its own thread, that answers
// every connection the same scripted way and records the last request it read.
class LoopbackHttpServer {
public:
    enum class Mode {
        Reply,        // read the request, send the reply bytes, close
        CloseAtOnce,  // accept and close without a word
        Silent,       // read the request and never answer (until the server is destroyed)
        Trickle,      // send the reply one byte every 20 ms
    };

    explicit LoopbackHttpServer(QByteArray reply, Mode mode = Mode::Reply) : Reply(std::move(reply)), How(mode)
    {
        Listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        if (Listener < 0 || ::bind(Listener, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
            ::listen(Listener, 8) != 0 || ::getsockname(Listener, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
            return;
        ListenPort = ntohs(addr.sin_port);
        Worker = std::thread([this] { Serve(); });
    }

    ~LoopbackHttpServer()
    {
        Stop = true;
        if (Worker.joinable())
            Worker.join();
        if (Listener >= 0)
            ::close(Listener);
    }

    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    quint16 Port() const { return ListenPort; }
    int Connections() const { return Accepted.load(); }
    QByteArray LastRequest() const
    {
        std::lock_guard lock(Mutex);
        return Request;
    }

    // A loopback port where nobody listens, so a connection to it is refused.
    static quint16 RefusedPort()
    {
        const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        ::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        ::getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len);
        ::close(s);
        return ntohs(addr.sin_port);
    }

private:
    bool WaitReadable(int fd, int ms) const
    {
        pollfd p{fd, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0;
    }

    void Serve()
    {
        while (!Stop) {
            if (!WaitReadable(Listener, 50))
                continue;
            const int c = ::accept4(Listener, nullptr, nullptr, SOCK_CLOEXEC);
            if (c < 0)
                continue;
            ++Accepted;
            if (How != Mode::CloseAtOnce)
                ReadRequest(c);
            switch (How) {
            case Mode::Reply:
                ::send(c, Reply.constData(), size_t(Reply.size()), MSG_NOSIGNAL);
                break;
            case Mode::CloseAtOnce:
                break;
            case Mode::Silent:
                while (!Stop)
                    std::this_thread::sleep_for(std::chrono::milliseconds(10));
                break;
            case Mode::Trickle:
                for (qsizetype i = 0; i < Reply.size() && !Stop; ++i) {
                    if (::send(c, Reply.constData() + i, 1, MSG_NOSIGNAL) != 1)
                        break;
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
                }
                break;
            }
            ::close(c);
        }
    }

    void ReadRequest(int c)
    {
        QByteArray got;
        char buf[1024];
        while (!Stop && !got.contains("\r\n\r\n") && got.size() < 64 * 1024) {
            if (!WaitReadable(c, 50))
                continue;
            const ssize_t n = ::recv(c, buf, sizeof buf, 0);
            if (n <= 0)
                break;
            got.append(buf, n);
        }
        std::lock_guard lock(Mutex);
        Request = got;
    }

    QByteArray Reply;
    Mode How;
    int Listener = -1;
    quint16 ListenPort = 0;
    std::atomic<bool> Stop{false};
    std::atomic<int> Accepted{0};
    mutable std::mutex Mutex;
    QByteArray Request;
    std::thread Worker;
};
