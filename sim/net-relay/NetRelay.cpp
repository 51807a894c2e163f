#include "NetRelay.h"

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <netdb.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace fw::sim {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kChunk = 16384;
const std::string kRateAnswer = "\xff\xfa\x2c\x65";  // IAC SB COM-PORT-OPTION SET-BAUDRATE+100
constexpr std::size_t kRateBytes = 4;

// One direction: what is read is sent on when its delay is over.
class Pipe {
public:
    Pipe(int from, int to, const NetworkFaults& faults, bool fromServer)
        : from_(from), to_(to), faults_(faults), fromServer_(fromServer)
    {
    }
    void run()
    {
        std::jthread sender([this] { send(); });
        char buffer[kChunk];
        for (;;) {
            const ssize_t n = ::recv(from_, buffer, sizeof buffer, 0);
            std::lock_guard lock(mutex_);
            if (n <= 0) break;
            std::string chunk(buffer, static_cast<std::size_t>(n));
            if (fromServer_ && faults_.claimedRate) rewriteRateAnswers(chunk, faults_.claimedRate);
            queue_.push_back({Clock::now() + std::chrono::milliseconds(faults_.delayMs), std::move(chunk)});
            ready_.notify_one();
        }
        std::lock_guard lock(mutex_);
        ended_ = true;
        ready_.notify_one();
    }

private:
    struct Timed {
        Clock::time_point due;
        std::string bytes;
    };
    void send()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            ready_.wait(lock, [this] { return ended_ || !queue_.empty(); });
            if (queue_.empty()) break;
            Timed next = std::move(queue_.front());
            queue_.pop_front();
            lock.unlock();
            std::this_thread::sleep_until(next.due);
            ::send(to_, next.bytes.data(), next.bytes.size(), MSG_NOSIGNAL);
            lock.lock();
        }
        ::shutdown(to_, SHUT_WR);  // the other end learns this side is gone
    }

    int from_;
    int to_;
    NetworkFaults faults_;
    bool fromServer_;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<Timed> queue_;
    bool ended_ = false;
};

int connectTo(const std::string& host, uint16_t port)
{
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return -1;
    const int fd = ::socket(found->ai_family, SOCK_STREAM, 0);
    const bool connected = fd >= 0 && ::connect(fd, found->ai_addr, found->ai_addrlen) == 0;
    ::freeaddrinfo(found);
    if (!connected && fd >= 0) ::close(fd);
    return connected ? fd : -1;
}

void relayOne(int client, const std::string& host, uint16_t port, NetworkFaults faults)
{
    const int server = connectTo(host, port);
    if (server >= 0) {
        Pipe up(client, server, faults, false);
        Pipe down(server, client, faults, true);
        std::jthread upward([&up] { up.run(); });
        down.run();
        ::shutdown(client, SHUT_RD);  // the server went: so does the client's side
    }
    if (server >= 0) ::close(server);
    ::close(client);
}

} // namespace

void rewriteRateAnswers(std::string& chunk, uint32_t rate)
{
    for (std::size_t at = chunk.find(kRateAnswer); at != std::string::npos; at = chunk.find(kRateAnswer, at + 1)) {
        const std::size_t value = at + kRateAnswer.size();
        if (value + kRateBytes > chunk.size()) break;
        for (std::size_t i = 0; i < kRateBytes; ++i)
            chunk[value + i] = static_cast<char>(rate >> (8 * (kRateBytes - 1 - i)));
    }
}

void relayConnections(int listener, const std::string& host, uint16_t port, const NetworkFaults& faults)
{
    for (;;) {
        const int client = ::accept(listener, nullptr, nullptr);
        if (client < 0) return;
        std::thread(relayOne, client, host, port, faults).detach();
    }
}

} // namespace fw::sim
