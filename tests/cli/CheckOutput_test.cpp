#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "cli/CheckOutput.hpp"

using namespace brimtor;

namespace {

// What `append` adds to a text that already holds something.
template <void (*append)(std::string&, std::string_view)>
std::string Added(std::string_view bytes)
{
    std::string text = "before ";
    append(text, bytes);
    return text.substr(7);
}

constexpr auto JsonString = Added<AppendJsonString>;
constexpr auto CsvField = Added<AppendCsvField>;

}  // namespace

TEST(CheckOutput, JsonEscapesControlsAndStrayLatin1BytesAndCsvQuotesOnlyWhatNeedsIt)
{
    EXPECT_EQ(JsonString("a\"b\\c/"), "\"a\\\"b\\\\c/\"");
    EXPECT_EQ(JsonString(std::string("\r\n\t\b\f\x01\x1f\x7f", 8)), "\"\\r\\n\\t\\b\\f\\u0001\\u001f\x7f\"");
    EXPECT_EQ(JsonString(std::string("nul\0end", 7)), "\"nul\\u0000end\"");
    // Well-formed UTF-8 passes as it is, up to four bytes.
    EXPECT_EQ(JsonString("caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x94\x96"), "\"caf\xc3\xa9 \xe2\x82\xac \xf0\x9f\x94\x96\"");
    // A Latin-1 title: each stray byte becomes the character of its code.
    EXPECT_EQ(JsonString("caf\xe9 \xa3" "5"), "\"caf\\u00e9 \\u00a35\"");
    // Overlong forms, encoded surrogates, code points beyond U+10FFFF and cut-off sequences are
    // no UTF-8: byte by byte.
    EXPECT_EQ(JsonString("\xc0\x80"), "\"\\u00c0\\u0080\"");
    EXPECT_EQ(JsonString("\xed\xa0\x80"), "\"\\u00ed\\u00a0\\u0080\"");
    EXPECT_EQ(JsonString("\xe2\x82x"), "\"\\u00e2\\u0082x\"");

    EXPECT_EQ(CsvField("http://a/b?c=d"), "http://a/b?c=d");
    EXPECT_EQ(CsvField("two\r\nlines"), "\"two\r\nlines\"");
    EXPECT_EQ(CsvField(" padded"), "\" padded\"");
}

namespace {

std::vector<ReportRow> TwoRows()
{
    ReportRow gone {7, "Gone, \"really\"", "Links\\Old", "http://h/gone", "scanned", 404, "Not Found", "", true, "",
                    "https://web.archive.org/web/*/http://h/gone", ResultIcon::Bad};
    ReportRow moved {12, "Caf\xe9", "", "http://h/moved", "scanned", 301, "Moved Permanently", "http://h/ok", false,
                     "home-page", "", ResultIcon::None};
    return {gone, moved};
}

}  // namespace

TEST(CheckOutput, CsvHasTheHeaderAndOneLinePerRowAndJsonIsOneValidArray)
{
    EXPECT_EQ(FormatRows(TwoRows(), OutputFormat::Csv),
              "id,name,folder,url,status,code,result,redirected_url,clean,looks_dead,archive_url\n"
              "7,\"Gone, \"\"really\"\"\",Links\\Old,http://h/gone,scanned,404,Not Found,,true,,"
              "https://web.archive.org/web/*/http://h/gone\n"
              "12,Caf\xe9,,http://h/moved,scanned,301,Moved Permanently,http://h/ok,false,home-page,\n");
    EXPECT_EQ(FormatRows({}, OutputFormat::Csv),
              "id,name,folder,url,status,code,result,redirected_url,clean,looks_dead,archive_url\n");

    const std::string text = FormatRows(TwoRows(), OutputFormat::Json);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << text;
    const QJsonArray rows = document.array();
    ASSERT_EQ(rows.size(), 2);
    const QJsonObject gone = rows[0].toObject();
    EXPECT_EQ(gone.keys(), (QStringList {"archive_url", "clean", "code", "folder", "id", "looks_dead", "name",
                                         "redirected_url", "result", "status", "url"}));
    EXPECT_EQ(gone["archive_url"].toString(), "https://web.archive.org/web/*/http://h/gone");
    EXPECT_EQ(gone["code"].toInt(), 404);
    EXPECT_TRUE(gone["clean"].toBool());
    EXPECT_EQ(gone["name"].toString(), "Gone, \"really\"");
    EXPECT_EQ(rows[1].toObject()["name"].toString(), QString::fromUtf8("Caf\xc3\xa9"));
    EXPECT_EQ(rows[1].toObject()["looks_dead"].toString(), "home-page");
    EXPECT_EQ(FormatRows({}, OutputFormat::Json), "[]\n");
}

TEST(CheckOutput, TableLinesUpItsColumnsAndKeepsEachRowOnOneLine)
{
    std::vector<ReportRow> rows = TwoRows();
    rows[0].name = "two\r\nlin\xc3\xa9s";  // a column is as wide as its characters, not its bytes
    EXPECT_EQ(FormatRows(rows, OutputFormat::Table),
              "ID  NAME        FOLDER     URL             STATUS   CODE  RESULT             REDIRECTED_URL  CLEAN  LOOKS_DEAD\n"
              "7   two  lin\xc3\xa9s  Links\\Old  http://h/gone   scanned  404   Not Found                          true\n"
              "12  Caf\xe9        "
              "           http://h/moved  scanned  301   Moved Permanently  http://h/ok     false  home-page\n");
}
