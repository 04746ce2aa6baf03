#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include "engine/cParallelScan.hpp"

using namespace brimtor;

namespace {

// Answers every request on 127.0.0.1 a few milliseconds late, so links overlap, and counts how
// many connections were ever open at once. Paths starting "/bad" get 404, the rest 200.
class CountingServer : public QTcpServer {
public:
    int open = 0;
    int mostOpen = 0;
    int requests = 0;

    CountingServer()
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection())
                Serve(socket);
        });
    }

    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(serverPort()) + path; }

private:
    void Serve(QTcpSocket* socket)
    {
        mostOpen = std::max(mostOpen, ++open);
        auto head = std::make_shared<QByteArray>();
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            --open;
            socket->deleteLater();
        });
        connect(socket, &QTcpSocket::readyRead, this, [this, socket, head] {
            *head += socket->readAll();
            if (!head->contains("\r\n\r\n"))
                return;
            ++requests;
            const bool bad = head->contains(" /bad");
            QTimer::singleShot(5, socket, [socket, bad] {
                socket->write(bad ? "HTTP/1.1 404 Not Found\r\n\r\n" : "HTTP/1.1 200 OK\r\n\r\n");
                socket->disconnectFromHost();
            });
        });
    }
};

void RunToEnd(cParallelScan& scan)
{
    QEventLoop loop;
    QObject::connect(&scan, &cParallelScan::ScanCompleted, &loop, &QEventLoop::quit);
    scan.Start();
    EXPECT_FALSE(scan.Completed()) << "completion comes from the event loop";
    loop.exec();
    EXPECT_TRUE(scan.Completed());
}

}  // namespace

TEST(cParallelScan, ManyLanesNeverSendMoreThanTwoLinksToOneServer)
{
    CountingServer server;
    auto bookmarks = std::make_shared<cBookmarks>();
    for (int i = 1; i <= 30; ++i)
        bookmarks->Add("n", server.Url(i % 3 ? "/ok" + std::to_string(i) : "/bad" + std::to_string(i)), {}, i);
    cParallelScan scan(bookmarks, false, {8, 0, 1000, {}});
    RunToEnd(scan);
    EXPECT_EQ(server.mostOpen, cParallelScan::kPerHostLimit);
    // A HEAD for every link, a GET again for the ten that failed.
    EXPECT_EQ(server.requests, 40);
    EXPECT_EQ(scan.RequestsEnded(), 40u);
    for (const BookmarkPtr& bookmark : *bookmarks) {
        const bool bad = bookmark->url.find("/bad") != std::string::npos;
        EXPECT_EQ(bookmark->ResponseCode, bad ? 404 : 200) << bookmark->url;
        EXPECT_EQ(bookmark->Clean, bad);
        EXPECT_EQ(bookmark->Status, "scanned");
    }
}

TEST(cParallelScan, EmptyCollectionsAndUnstartableLinksStillComplete)
{
    cParallelScan empty(std::make_shared<cBookmarks>(), false, {4, 0, 1000, {}});
    RunToEnd(empty);
    EXPECT_EQ(empty.RequestsEnded(), 0u);

    auto bookmarks = std::make_shared<cBookmarks>();
    bookmarks->Add("bad port", "http://127.0.0.1:99999/", {}, 1);
    cParallelScan unstartable(bookmarks, false, {2, 0, 1000, {}});
    RunToEnd(unstartable);
    EXPECT_EQ(bookmarks->Item(1)->Status, "pending");
}
