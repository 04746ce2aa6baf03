#include "bench/WebImitation.hpp"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <queue>
#include <random>
#include <stdexcept>
#include <string_view>
#include <unordered_map>

namespace brimtor::bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint64_t kClientTag = std::uint64_t {1} << 32;
constexpr std::uint64_t kWakeUpTag = std::uint64_t {1} << 33;
// The big sites (the first servers by links) answer; the dead and slow are among the small ones.
constexpr int kBigSites = 10;

// What a working page answers: about 48 KiB of ordinary HTML (under what the look reads), to
// a HEAD its header alone.
std::string_view OkPage(bool isHead)
{
    static const std::string page = [] {
        static const char* const words[] = {"lamps", "chairs", "tables", "delivery", "the", "of", "our", "new",
                                            "garden", "price", "order", "today", "and", "with", "oak", "light"};
        std::string body = "<html><head><title>Example shop</title><style>p{margin:0}</style></head><body>"
                           "<nav>Home | Shop | News | Contact</nav><h1>Welcome</h1>";
        for (unsigned i = 0; body.size() < 48 * 1024; ++i)
            body += std::string(i % 12 == 0 ? "</p><p>" : " ") + words[(i * 7 + i / 16) % 16];
        body += "</p><footer>&copy; 2024 Example Ltd.</footer></body></html>";
        return "HTTP/1.1 200 OK\r\nContent-Type: text/html\r\nContent-Length: " + std::to_string(body.size())
            + "\r\n\r\n" + body;
    }();
    const std::string_view whole = page;
    return isHead ? whole.substr(0, whole.find("\r\n\r\n") + 4) : whole;
}

std::string_view Reply(std::string_view head)
{
    const bool isHead = head.substr(0, 5) == "HEAD ";
    const std::size_t slash = head.find('/');
    const std::string_view path = slash == std::string_view::npos ? std::string_view() : head.substr(slash + 1);
    const auto is = [&](std::string_view word) { return path.substr(0, word.size()) == word; };
    if (is("ok"))
        return OkPage(isHead);
    if (is("moved"))
        return "HTTP/1.1 301 Moved Permanently\r\nLocation: /ok\r\nContent-Length: 0\r\n\r\n";
    if (is("head"))
        return isHead ? "HTTP/1.1 405 Method Not Allowed\r\nAllow: GET\r\nContent-Length: 0\r\n\r\n" : OkPage(false);
    if (is("error"))
        return "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n";
    return "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
}

// A socket bound to 127.0.1.`host` at a free port; listening unless it is to refuse.
int Bind(int host, bool listening, int& port)
{
    const int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl((127u << 24) | (1u << 8) | static_cast<unsigned>(host));
    socklen_t length = sizeof address;
    if (socket < 0 || bind(socket, reinterpret_cast<sockaddr*>(&address), length) != 0
        || (listening && listen(socket, 1024) != 0)
        || getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("cannot bind a loopback server for the imitation");
    port = ntohs(address.sin_port);
    return socket;
}

}  // namespace

WebImitation::WebImitation(const WebMix& mix) : m_wakeUp(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    MakeServers(mix);
    MakeLinks(mix);
}

WebImitation::~WebImitation()
{
    Stop();
    if (m_thread.joinable())
        m_thread.join();
    for (const Server& server : m_servers)
        close(server.listener);
    close(m_wakeUp);
}

void WebImitation::MakeServers(const WebMix& mix)
{
    std::mt19937 random(mix.seed);
    m_servers.resize(static_cast<std::size_t>(mix.servers));
    std::uniform_int_distribution<int> usual(50, 300), slow(1000, 2000);
    for (Server& server : m_servers)
        server.delayMs = usual(random);
    std::vector<std::size_t> small(m_servers.size() - kBigSites);
    std::iota(small.begin(), small.end(), std::size_t {kBigSites});
    std::shuffle(small.begin(), small.end(), random);
    const auto share = [&mix](int percent) { return static_cast<std::size_t>(std::max(1, mix.servers * percent / 100)); };
    const std::size_t silent = share(1), refusing = silent + share(4), slowOnes = refusing + share(3);
    for (std::size_t i = 0; i < slowOnes; ++i) {
        Server& server = m_servers[small[i]];
        server.kind = i < silent ? Kind::Silent : i < refusing ? Kind::Refuses : Kind::Answers;
        if (i >= refusing)
            server.delayMs = slow(random);
    }
    for (std::size_t i = 0; i < m_servers.size(); ++i)
        m_servers[i].listener = Bind(static_cast<int>(i) + 1, m_servers[i].kind != Kind::Refuses, m_servers[i].port);
}

void WebImitation::MakeLinks(const WebMix& mix)
{
    std::mt19937 random(mix.seed + 1);
    // Every server holds a link; the rest go by a long-tailed weight, the first servers most.
    std::vector<double> weights;
    for (std::size_t rank = 1; rank <= m_servers.size(); ++rank)
        weights.push_back(1.0 / static_cast<double>(rank + 5));
    std::discrete_distribution<std::size_t> pick(weights.begin(), weights.end());
    std::vector<std::size_t> owners(m_servers.size());
    std::iota(owners.begin(), owners.end(), std::size_t {0});
    while (owners.size() < static_cast<std::size_t>(mix.links))
        owners.push_back(pick(random));
    std::shuffle(owners.begin(), owners.end(), random);
    std::discrete_distribution<int> kindOf({80, 6, 6, 4, 4});
    static const char* const kinds[] = {"ok", "gone", "moved", "head", "error"};
    for (std::size_t i = 0; i < owners.size(); ++i) {
        Server& server = m_servers[owners[i]];
        ++server.links;
        m_links.push_back("http://127.0.1." + std::to_string(owners[i] + 1) + ":" + std::to_string(server.port) + "/"
                          + kinds[kindOf(random)] + std::to_string(i));
    }
}

double WebImitation::LowerBoundSeconds(double cutOffSeconds) const
{
    double busiest = 0;
    for (const Server& server : m_servers) {
        if (server.kind == Kind::Answers)
            busiest = std::max(busiest, (server.links + 1) / 2 * server.delayMs / 1000.0);
    }
    return cutOffSeconds + busiest;
}

std::string WebImitation::Summary() const
{
    int silent = 0, silentLinks = 0, refusing = 0, refusedLinks = 0, slow = 0;
    const Server* busiest = &m_servers.front();
    for (const Server& server : m_servers) {
        silent += server.kind == Kind::Silent;
        silentLinks += server.kind == Kind::Silent ? server.links : 0;
        refusing += server.kind == Kind::Refuses;
        refusedLinks += server.kind == Kind::Refuses ? server.links : 0;
        slow += server.kind == Kind::Answers && server.delayMs >= 1000;
        if (server.kind == Kind::Answers && (server.links + 1) / 2 * server.delayMs > (busiest->links + 1) / 2 * busiest->delayMs)
            busiest = &server;
    }
    return std::to_string(m_links.size()) + " links on " + std::to_string(m_servers.size()) + " servers: "
           + std::to_string(silent) + " silent (" + std::to_string(silentLinks) + " links), " + std::to_string(refusing)
           + " refusing (" + std::to_string(refusedLinks) + " links), " + std::to_string(slow)
           + " answering after over a second; the busiest: " + std::to_string(busiest->links) + " links at "
           + std::to_string(busiest->delayMs) + " ms";
}

void WebImitation::ServeInBackground(std::chrono::seconds limit)
{
    m_thread = std::thread([this, limit] { Serve(limit); });
}

void WebImitation::Stop()
{
    m_stop = true;
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = write(m_wakeUp, &one, sizeof one);
}

void WebImitation::Serve(std::chrono::seconds limit)
{
    struct Connection {
        const Server* server = nullptr;
        std::string head;
        Clock::time_point replyAt {};
    };
    using Due = std::pair<Clock::time_point, int>;
    std::priority_queue<Due, std::vector<Due>, std::greater<>> due;
    std::unordered_map<int, Connection> connections;
    const int poller = epoll_create1(EPOLL_CLOEXEC);
    const auto watch = [poller](int fd, std::uint64_t tag) {
        epoll_event event {EPOLLIN, {.u64 = tag}};
        epoll_ctl(poller, EPOLL_CTL_ADD, fd, &event);
    };
    const auto hangUp = [&connections](int fd) {
        close(fd);
        connections.erase(fd);
    };
    watch(m_wakeUp, kWakeUpTag);
    for (std::size_t i = 0; i < m_servers.size(); ++i) {
        if (m_servers[i].kind != Kind::Refuses)
            watch(m_servers[i].listener, i);
    }
    const Clock::time_point end = Clock::now() + limit;
    epoll_event ready[256];
    while (!m_stop && Clock::now() < end) {
        const Clock::time_point next = due.empty() ? end : std::min(end, due.top().first);
        const auto wait = std::chrono::ceil<std::chrono::milliseconds>(next - Clock::now()).count();
        const int count = epoll_wait(poller, ready, 256, static_cast<int>(std::max<std::int64_t>(0, wait)));
        for (int i = 0; i < count; ++i) {
            const std::uint64_t tag = ready[i].data.u64;
            if (tag == kWakeUpTag)
                continue;
            if (!(tag & kClientTag)) {
                int client;
                while ((client = accept4(m_servers[tag].listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC)) >= 0) {
                    connections[client] = {&m_servers[tag], {}, {}};
                    // Room for a whole page, so one write sends it before the hang-up.
                    const int room = 256 * 1024;
                    setsockopt(client, SOL_SOCKET, SO_SNDBUF, &room, sizeof room);
                    watch(client, kClientTag | static_cast<std::uint32_t>(client));
                }
                continue;
            }
            const int fd = static_cast<int>(static_cast<std::uint32_t>(tag));
            char buffer[4096];
            const ssize_t got = read(fd, buffer, sizeof buffer);
            if (got <= 0) {  // the client hung up, cut off or done
                hangUp(fd);
                continue;
            }
            Connection& connection = connections[fd];
            connection.head.append(buffer, static_cast<std::size_t>(got));
            if (connection.server->kind == Kind::Answers && connection.replyAt == Clock::time_point {}
                && connection.head.find("\r\n\r\n") != std::string::npos) {
                connection.replyAt = Clock::now() + std::chrono::milliseconds(connection.server->delayMs);
                due.emplace(connection.replyAt, fd);
            }
        }
        while (!due.empty() && due.top().first <= Clock::now()) {
            const auto [when, fd] = due.top();
            due.pop();
            const auto connection = connections.find(fd);
            // The descriptor may have been hung up on and taken by a later connection meanwhile.
            if (connection == connections.end() || connection->second.replyAt != when)
                continue;
            const std::string_view reply = Reply(connection->second.head);
            [[maybe_unused]] const ssize_t sent = write(fd, reply.data(), reply.size());
            hangUp(fd);
        }
    }
    for (const auto& [fd, connection] : connections)
        close(fd);
    close(poller);
}

}  // namespace brimtor::bench
