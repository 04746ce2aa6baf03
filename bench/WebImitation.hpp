#pragma once

// A loopback imitation of the web a bookmark collection points at, for the scan benchmarks:
// about 200 servers, each on its own address 127.0.1.x, holding the links in a skewed way (a few
// servers hold many links, most hold a handful), each answering after its own delay.
//
//   most servers     answer after 50-300 ms
//   3 %              answer after 1-2 s
//   1 %              accept the connection and never answer
//   4 %              refuse the connection (a bound port nobody listens on)
//
// Paths: /ok 200 (a page of about 48 KiB), /gone 404, /moved 301 to /ok, /head 405 to HEAD and
// the page to GET, /error 500, each followed by the link's number; anything else 404, as the look's
// probes get from an honest site. Everything is drawn from one seed, so a run is repeatable.
// Serves on one thread over epoll, so the imitation is never what a benchmark measures.
#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

namespace brimtor::bench {

struct WebMix {
    int links = 1000;
    int servers = 200;
    unsigned seed = 16;
};

class WebImitation {
public:
    explicit WebImitation(const WebMix& mix = {});
    ~WebImitation();
    WebImitation(const WebImitation&) = delete;
    WebImitation& operator=(const WebImitation&) = delete;

    // The links, in collection order ("http://127.0.1.x:port/kind" + number).
    const std::vector<std::string>& Links() const { return m_links; }
    // No scan can be faster: one cut-off (for the silent servers), plus the busiest answering
    // server's own queue asked two at a time.
    double LowerBoundSeconds(double cutOffSeconds) const;
    // One line: how many servers and links of each kind, and the busiest server.
    std::string Summary() const;

    // Serves until `limit` has passed or Stop is called.
    void Serve(std::chrono::seconds limit);
    void ServeInBackground(std::chrono::seconds limit);
    void Stop();

private:
    enum class Kind { Answers, Silent, Refuses };
    struct Server {
        Kind kind = Kind::Answers;
        int delayMs = 0;
        int listener = -1;  // or the bound, never listening, socket of a refusing server
        int port = 0;
        int links = 0;
    };

    void MakeServers(const WebMix& mix);
    void MakeLinks(const WebMix& mix);

    std::vector<Server> m_servers;
    std::vector<std::string> m_links;
    std::atomic<bool> m_stop {false};
    int m_wakeUp = -1;  // an eventfd that ends the epoll wait
    std::thread m_thread;
};

}  // namespace brimtor::bench
