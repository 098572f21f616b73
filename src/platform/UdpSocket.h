#pragma once
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <thread>

namespace platform {

// One UDP socket with a listener thread that hands every received datagram to a handler on that
// thread. Datagrams larger than the receive buffer are dropped whole, never cut. Deactivating
// (and destroying) joins the listener before the socket is closed.
class UdpSocket {
public:
    using Handler = std::function<void(std::span<const uint8_t> datagram)>;
    static constexpr size_t Receive_Buffer_Bytes = 8192;

    UdpSocket() = default;
    ~UdpSocket();
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;

    // Set while inactive: the handler runs on the listener thread.
    void SetHandler(Handler handler);
    // The local binding used by the next activation: an address (empty: every interface) and a
    // port (0: any free port).
    void SetBinding(const QString& localAddress, quint16 localPort);
    QString BindingAddress() const;
    quint16 BindingPort() const;

    // Binds and starts the listener; false (with the reason) when the socket cannot be bound.
    bool Activate(QString* error = nullptr);
    void Deactivate();
    bool Active() const { return Fd.load() >= 0; }
    // The port actually bound, 0 while inactive.
    quint16 LocalPort() const { return BoundPort.load(); }

    // Sends one datagram to host:port (a numeric IPv4 address or a name); false when inactive or
    // when the system refuses it.
    bool Send(const QString& host, quint16 port, std::span<const uint8_t> bytes);

    // Datagrams sent and datagrams handed to the handler (counted after it returned).
    uint64_t SentCount() const { return Sent.load(); }
    uint64_t DeliveredCount() const { return Delivered.load(); }

private:
    void Listen(int fd, int wakeFd, const Handler& handler);

    mutable std::mutex Mutex;  // the binding, the handler, activation and sending
    Handler OnDatagram;
    QString LocalAddress;
    quint16 LocalPortWanted = 0;
    std::atomic<int> Fd{-1};
    int WakeFd = -1;
    std::atomic<quint16> BoundPort{0};
    std::thread Listener;
    std::atomic<uint64_t> Sent{0};
    std::atomic<uint64_t> Delivered{0};
};

}  // namespace platform
