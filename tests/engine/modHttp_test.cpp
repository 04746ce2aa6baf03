#include <gtest/gtest.h>

#include <string>

#include "engine/modHttp.hpp"

using namespace brimtor;

namespace {

cBookmark Digested(const std::string& response, const std::string& url = "http://host/old/page.html")
{
    cBookmark bookmark;
    bookmark.url = url;
    bookmark.Status = "pending";
    DigestResponse(response, bookmark, url);
    return bookmark;
}

}  // namespace

TEST(modHttp, StatusCodesReasonPhrasesAndHeaderValuesReadExactly)
{
    EXPECT_EQ(GetStatusCode("HTTP/1.1 404 Not Found\r\n"), 404);
    EXPECT_EQ(GetStatusCode("HTTP/1.1 20x"), 0);
    EXPECT_EQ(GetStatusCode("HTTP/1.1 2.5"), 2);  // halves go to the even neighbour
    EXPECT_EQ(GetStatusCode("301"), 301);         // no blank: the first three characters
    EXPECT_EQ(GetStatusCode("HTTP/1.1 1e5"), 0);  // does not fit 16 bits: no code at all

    // The edges of each class: 204 is no success, 304 and 308 are no redirects.
    for (int code : {200, 206})
        EXPECT_EQ(ClassOfCode(code), CodeClass::Success) << code;
    for (int code : {300, 307})
        EXPECT_EQ(ClassOfCode(code), CodeClass::Redirect) << code;
    for (int code : {0, 204, 304, 308, 10061})
        EXPECT_EQ(ClassOfCode(code), CodeClass::Broken) << code;
    EXPECT_EQ(StatusText(302), "Moved Temporarily");
    EXPECT_EQ(StatusText(299), "Unknown");
}

TEST(modHttp, HeaderValuesInAnyCaseAndTheContentLengthExactly)
{
    const std::string block = "HTTP/1.1 302 Found\r\nLocation: /new\r\nContent-Length: 5120\r\n";
    EXPECT_EQ(GetHeaderValue(block, "Location"), "/new");
    EXPECT_EQ(GetHeaderValue(block, "Server"), "");
    EXPECT_EQ(GetHeaderValue("HTTP/1.1 302\r\nlocation: x\r\nLocation:y\r\n", "Location"), "x");
    EXPECT_EQ(GetHeaderValue("HTTP/1.1 302\r\nX-Location: x\r\nLOCATION:\t y \r\n", "Location"), "y");
    EXPECT_EQ(GetHeaderValue("HTTP/1.1 302\r\nLocation: \r\n", "Location"), "");
    EXPECT_EQ(GetHeaderValue("Location: /status-line\r\n", "Location"), "");

    EXPECT_FLOAT_EQ(GetContentLength(block), 5120.0f);
    EXPECT_FLOAT_EQ(GetContentLength("HTTP/1.1 200\r\ncontent-length: 10\r\n"), 0.0f);
    // Blanks, tabs and line feeds are passed over; a CR or any other character ends the number.
    EXPECT_FLOAT_EQ(GetContentLength("X\r\nContent-Length: \t1 2\n3\r\n4"), 123.0f);
    // Beyond the range of the record's float the declared length counts as none.
    EXPECT_FLOAT_EQ(GetContentLength("X\r\nContent-Length: 1e39\r\n"), 0.0f);
}

TEST(modHttp, DigestWritesTheOutcomeAndSocketErrorsKeepWhatTheyDoNotOwn)
{
    cBookmark ok = Digested("HTTP/1.1 200 OK\r\nContent-Length: 42\r\n\r\nbody");
    EXPECT_EQ(ok.Status, "scanned");
    EXPECT_EQ(ok.ResponseCode, 200);
    EXPECT_FLOAT_EQ(ok.ContentLength, 42.0f);

    cBookmark moved = Digested("HTTP/1.1 301 Moved\r\nLocation: /moved/\r\n\r\n");
    EXPECT_EQ(moved.RedirectedUrl, "http://host/moved/");
    EXPECT_EQ(Digested("HTTP/1.1 302 Found\r\nLocation: page2.html\r\n\r\n", "host/dir/page.html").RedirectedUrl,
              "http://host/dir/page2.html");
    EXPECT_EQ(Digested("HTTP/1.1 302 Found\r\nLocation: HTTPS://Other/./x\r\n\r\n").RedirectedUrl, "HTTPS://Other/x");
    // A relative target keeps the scheme and port of the address requested.
    EXPECT_EQ(Digested("HTTP/1.1 301 Moved\r\nlocation:/moved\r\n\r\n", "https://host:8443/a?b").RedirectedUrl,
              "https://host:8443/moved");
    EXPECT_EQ(Digested("HTTP/1.1 303 See Other\r\n\r\n").RedirectedUrl, "");
    // Only the redirect class has a target: a 304 or 305 that names one is no redirect.
    EXPECT_EQ(Digested("HTTP/1.1 304 Not Modified\r\nLocation: /x\r\n\r\n").RedirectedUrl, "");

    cBookmark bookmark;
    bookmark.RedirectedUrl = "http://kept/";
    bookmark.ContentLength = 7.0f;
    RecordSocketError(bookmark, 11001);
    EXPECT_EQ(bookmark.Status, "error");
    EXPECT_EQ(bookmark.ResponseCode, 11001);
    RecordTimeOut(bookmark);
    EXPECT_EQ(bookmark.ResponseCode, 408);
    EXPECT_EQ(bookmark.RedirectedUrl, "http://kept/");
    EXPECT_FLOAT_EQ(bookmark.ContentLength, 7.0f);
}

// Whatever a server sends ends as an outcome in the record; this file also runs under the
// address and undefined-behaviour sanitizers.
TEST(modHttp, HostileResponsesBecomeOutcomes)
{
    const std::string longLine(100 * 1024, 'A');
    const std::string hostile[] = {
        "\xff\xfe garbage \x01\x02",
        "HTTP/1.1 200 OK\r\nX-Long: " + longLine + "\r\n\r\n",
        "HTTP/1.1 " + std::string("\0\0\0", 3) + "\r\n\r\n",
        std::string("HTTP/1.1 200\0OK\r\nLocation: \0/x\r\n\r\n", 34),
        "HTTP/1.1 9e99999999999999999999\r\n\r\n",
        "HTTP/1.1 302 Found\r\nLocation: " + longLine + "/../../..\r\n\r\n",
        "HTTP/1.1 301\r\nLocation: //\r\nContent-Length: " + std::string(5000, '9') + "\r\n\r\n",
        "HTTP/1.1 301\r\nLocation: ../../../../../..\r\nContent-Length: -" + longLine + "\r\n\r\n",
        "HTTP/1.1 301\r\nLocation: ?\r\nContent-Length: 1e" + std::string(5000, '9') + "\r\n\r\n",
        "\r\n\r\n",
        " ",
        "Content-Length: ",
        "HTTP/1.1 302\r\nLocation: http:\r\n\r\n",
    };
    for (const std::string& response : hostile) {
        cBookmark bookmark = Digested(response, std::string(2000, '/'));
        EXPECT_EQ(bookmark.Status, "scanned");
        EXPECT_GE(bookmark.ResponseCode, -32768);
    }
    EXPECT_EQ(Digested(hostile[1]).ResponseCode, 200);
    EXPECT_EQ(GetHeaderValue("HTTP/1.1 200\r\n" + longLine + "\r\nServer: far\r\n", "Server"), "far");
}

// A look's body joined from its chunks, as far as they came; a hostile size ends the joining.
TEST(modHttp, BodyOfJoinsChunksAsFarAsTheyCame)
{
    const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: Chunked\r\n\r\n";
    EXPECT_EQ(BodyOf(chunked, "4;ext=1\r\nWiki\r\n5\r\npedia\r\n0\r\n\r\ntrailer"), "Wikipedia");
    EXPECT_EQ(BodyOf(chunked, "4\r\nWiki\r\n5\r\nped"), "Wikiped");
    EXPECT_EQ(BodyOf(chunked, "ffffffffffffffff\r\nabc\r\n1\r\nX"), "abc\r\n1\r\nX");  // all of one chunk
    EXPECT_EQ(BodyOf(chunked, "1ffffffffffffffff\r\nabc"), "");
    EXPECT_EQ(BodyOf(chunked, "-4\r\nabcd"), "");
    EXPECT_EQ(BodyOf("HTTP/1.1 200 OK\r\n\r\n", "4\r\nWiki"), "4\r\nWiki");
}
