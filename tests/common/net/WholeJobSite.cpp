#include "tests/common/net/WholeJobSite.hpp"

namespace brimtor::test {

WholeJobSite::WholeJobSite(LoopbackServer& server) : m_server(server)
{
    server.Script("/ok", {"HTTP/1.1 200 OK\r\n\r\n"});
    server.Script("/gone", {"HTTP/1.1 404 Not Found\r\n\r\n"});
    server.Script("/lost", {"HTTP/1.1 410 Gone\r\n\r\n"});
    server.Script("/moved", {"HTTP/1.1 301 Moved\r\nLocation: /ok\r\n\r\n"});
}

std::vector<std::string> WholeJobSite::Links() const
{
    return {m_server.Url("/ok"), m_server.Url("/gone"), m_server.Url("/lost"), m_server.Url("/moved")};
}

std::string WholeJobSite::BookmarkFile(const std::string& firstName) const
{
    std::string text = "<!DOCTYPE NETSCAPE-Bookmark-file-1>\r\n<TITLE>Bookmarks</TITLE>\r\n<H1>Bookmarks</H1>\r\n<DL><p>\r\n";
    const std::string names[] = {firstName, "Gone", "Lost", "Moved"};
    const std::vector<std::string> links = Links();
    for (std::size_t i = 0; i < links.size(); ++i) {
        text += "    <DT><A HREF=\"" + links[i] + "\" ADD_DATE=\"1165400000\">" + names[i] + "</A>\r\n";
        text += "<DD>About " + names[i] + "\r\n";
    }
    return text + "</DL><p>\r\n";
}

std::string WholeJobSite::BookmarkFileWithout(const std::vector<std::string>& names) const
{
    std::string text = BookmarkFile();
    for (const std::string& name : names) {
        const std::size_t start = text.rfind("    <DT>", text.find("\">" + name + "<"));
        const std::string description = "<DD>About " + name + "\r\n";
        text.erase(start, text.find(description) + description.size() - start);
    }
    return text;
}

std::string WholeJobSite::ChromiumBookmarks() const
{
    const std::string names[] = {"Works", "Gone", "Lost", "Moved"};
    const std::vector<std::string> links = Links();
    std::string children;
    for (std::size_t i = 0; i < links.size(); ++i) {
        children += std::string(i ? ", " : "") + R"({"id": ")" + std::to_string(i + 5) + R"(", "name": ")" + names[i]
            + R"(", "type": "url", "url": ")" + links[i] + "\"}";
    }
    return R"({"checksum": "", "roots": {"bookmark_bar": {"children": [)" + children
        + R"(], "id": "1", "name": "Bookmarks bar", "type": "folder"}, "other": {"children": [], "id": "2",)"
        + R"( "name": "Other bookmarks", "type": "folder"}}, "version": 1})";
}

}  // namespace brimtor::test
