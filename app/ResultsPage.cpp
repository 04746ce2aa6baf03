#include "app/ResultsPage.hpp"

#include <QString>
#include <QStringList>

#include "bookmarks/BrowsableAddress.hpp"
#include "support/ui/LocalText.hpp"

namespace brimtor {

namespace {

constexpr const char* kHead = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Brimtor results</title>
<style>
body { font-family: sans-serif; }
table { border-collapse: collapse; }
th, td { border: 1px solid #bbb; padding: 2px 6px; text-align: left; vertical-align: top; }
th { background: #eee; }
</style>
</head>
<body>
<h1>Brimtor results</h1>
<table>
<tr><th>Remove</th><th>Icon</th><th>Bookmark</th><th>Address</th><th>Status</th><th>Code</th><th>Result</th><th>Redirected to</th><th>Folder</th><th>Web archive</th></tr>
)";

constexpr const char* kTail = "</table>\n</body>\n</html>\n";

QString Escaped(std::string_view bytes)
{
    return ToQt(std::string(bytes)).toHtmlEscaped();
}

// A link only to a web page's address: a bookmark file is untrusted, and a javascript: or file:
// link in a page the user opens later would run or reveal whatever it names.
QString Link(std::string_view address, const QString& caption)
{
    const std::string target = BrowsableAddress(std::string(address));
    if (target.empty())
        return caption;
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(Escaped(target), caption);
}

// What the results' icon says, for a page without the pictures.
QString IconWords(ResultIcon icon)
{
    switch (icon) {
    case ResultIcon::Bad: return QStringLiteral("Broken");
    case ResultIcon::Warning: return QStringLiteral("Doubtful");
    case ResultIcon::Information: return QStringLiteral("Information");
    case ResultIcon::Question: return QStringLiteral("Unknown");
    case ResultIcon::None: break;
    }
    return {};
}

QString Row(const ReportRow& row)
{
    const QStringList cells {
        row.clean ? QStringLiteral("yes") : QString(),
        IconWords(row.icon),
        Escaped(row.name),
        Link(row.url, Escaped(row.url)),
        Escaped(row.status),
        QString::number(row.code),
        Escaped(row.result),
        Link(row.redirectedUrl, Escaped(row.redirectedUrl)),
        Escaped(row.folder),
        row.archiveUrl.empty() ? QString() : Link(row.archiveUrl, QStringLiteral("copies")),
    };
    return QStringLiteral("<tr><td>") + cells.join(QStringLiteral("</td><td>")) + QStringLiteral("</td></tr>\n");
}

}  // namespace

std::string ResultsPage(const std::vector<ReportRow>& rows)
{
    QString page = QString::fromUtf8(kHead);
    for (const ReportRow& row : rows)
        page += Row(row);
    page += QLatin1String(kTail);
    return page.toUtf8().toStdString();
}

}  // namespace brimtor
