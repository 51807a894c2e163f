#pragma once

#include <arpa/inet.h>
#include <chrono>
#include <functional>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

// A TCP server on 127.0.0.1 in a thread of its own: it records every byte
// the one client sends, answers through `answer` (given what just arrived),
// and sends or hangs up when the test says.
class RecordingServer {
public:
    using Answer = std::function<std::string(const std::string& arrived)>;

    explicit RecordingServer(Answer answer = {}) : answer_(std::move(answer))
    {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t size = sizeof address;
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
        ::listen(listener_, 1);
        thread_ = std::jthread([this](const std::stop_token& stop) { serve(stop); });
    }
    ~RecordingServer() { hangUp(); }
    RecordingServer(const RecordingServer&) = delete;
    RecordingServer& operator=(const RecordingServer&) = delete;

    uint16_t port() const { return port_; }
    std::string received()
    {
        std::lock_guard lock(mutex_);
        return received_;
    }
    void send(const std::string& bytes)
    {
        std::lock_guard lock(mutex_);
        if (client_ >= 0) ::send(client_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    }
    // Ends the server: the client's connection, and any other after it, is refused.
    void hangUp()
    {
        if (thread_.joinable()) {
            thread_.request_stop();
            thread_.join();  // before the sockets close: their numbers may serve the client next
        }
        std::lock_guard lock(mutex_);
        if (client_ >= 0) ::close(client_);
        client_ = -1;
        if (listener_ >= 0) ::close(listener_);
        listener_ = -1;
    }

private:
    void serve(const std::stop_token& stop)
    {
        while (!stop.stop_requested()) {
            pollfd p{client_ >= 0 ? client_ : listener_, POLLIN, 0};
            if (p.fd < 0 || ::poll(&p, 1, 10) != 1) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            std::lock_guard lock(mutex_);
            if (p.fd == listener_) {
                client_ = ::accept(listener_, nullptr, nullptr);
                continue;
            }
            char buffer[8192];
            const ssize_t n = ::recv(client_, buffer, sizeof buffer, 0);
            if (n <= 0) {
                ::close(client_);
                client_ = -1;
                continue;
            }
            const std::string arrived(buffer, static_cast<std::size_t>(n));
            received_ += arrived;
            const std::string reply = answer_ ? answer_(arrived) : std::string();
            if (!reply.empty()) ::send(client_, reply.data(), reply.size(), MSG_NOSIGNAL);
        }
    }

    Answer answer_;
    int listener_ = -1;
    int client_ = -1;
    uint16_t port_ = 0;
    std::mutex mutex_;
    std::string received_;
    std::jthread thread_;
};
