// Loopback web server for the scan benchmark, answering by the first path segment:
//
//   /ok...     200 OK                  /gone...   404 Not Found
//   /moved...  301 with a Location     /head...   405 to HEAD, 200 to GET
//   /error...  500                     /empty...  204 No Content
//
// Listens on 127.0.0.1 at a free port, prints the port on its first line and serves until killed.
// One thread over epoll, so the server is never what the benchmark measures.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

constexpr std::string_view kOk = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\n\r\n";

std::string_view Reply(std::string_view head)
{
    const bool isHead = head.substr(0, 5) == "HEAD ";
    const std::size_t slash = head.find('/');
    const std::string_view path = slash == std::string_view::npos ? std::string_view() : head.substr(slash + 1);
    const auto is = [&](std::string_view word) { return path.substr(0, word.size()) == word; };
    if (is("ok"))
        return kOk;
    if (is("moved"))
        return "HTTP/1.1 301 Moved Permanently\r\nLocation: /ok\r\nContent-Length: 0\r\n\r\n";
    if (is("head"))
        return isHead ? "HTTP/1.1 405 Method Not Allowed\r\nAllow: GET\r\nContent-Length: 0\r\n\r\n" : kOk;
    if (is("error"))
        return "HTTP/1.1 500 Internal Server Error\r\nContent-Length: 0\r\n\r\n";
    if (is("empty"))
        return "HTTP/1.1 204 No Content\r\n\r\n";
    return "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n\r\n";
}

int Listen()
{
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
    const int yes = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener, 4096) != 0)
        return -1;
    getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
    std::printf("%d\n", ntohs(address.sin_port));
    std::fflush(stdout);
    return listener;
}

}  // namespace

int main()
{
    const int listener = Listen();
    if (listener < 0)
        return 1;
    const int poller = epoll_create1(0);
    epoll_event event {EPOLLIN, {.fd = listener}};
    epoll_ctl(poller, EPOLL_CTL_ADD, listener, &event);
    std::unordered_map<int, std::string> heads;
    epoll_event ready[256];
    for (;;) {
        const int count = epoll_wait(poller, ready, 256, -1);
        for (int i = 0; i < count; ++i) {
            const int fd = ready[i].data.fd;
            if (fd == listener) {
                int client;
                while ((client = accept4(listener, nullptr, nullptr, SOCK_NONBLOCK)) >= 0) {
                    epoll_event clientEvent {EPOLLIN, {.fd = client}};
                    epoll_ctl(poller, EPOLL_CTL_ADD, client, &clientEvent);
                }
                continue;
            }
            char buffer[4096];
            const ssize_t got = read(fd, buffer, sizeof buffer);
            std::string& head = heads[fd];
            if (got > 0)
                head.append(buffer, static_cast<std::size_t>(got));
            if (got > 0 && head.find("\r\n\r\n") == std::string::npos)
                continue;
            if (got > 0) {
                const std::string_view reply = Reply(head);
                [[maybe_unused]] const ssize_t sent = write(fd, reply.data(), reply.size());
            }
            heads.erase(fd);
            close(fd);
        }
    }
}
