#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <sched.h>
#include <unistd.h>

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include "support/Version.hpp"
#include "support/modSpecialFolder.hpp"
#include "tests/common/PlacesFile.hpp"
#include "tests/common/TempHome.hpp"
#include "tests/common/net/LoopbackServer.hpp"
#include "tests/common/net/WholeJobSite.hpp"

using namespace brimtor;
using namespace brimtor::test;

namespace {

struct Outcome {
    int exit = -1;
    std::string out;
    std::string err;
};

// brimtor-check under a temporary home, with loopback links of every kind on a scripted server.
struct CheckJob : ::testing::Test {
    TempHome home;
    LoopbackServer server;
    WholeJobSite site {server};
    std::string refused;
    bool ownerBitsApply = false;  // root's command runs as the plain owner of the files

    CheckJob()
    {
        server.Script("/login", {"HTTP/1.1 401 Unauthorized\r\n\r\n"});
        server.Script("/empty", {"HTTP/1.1 204 No Content\r\n\r\n"});
        server.Script("/silent", {"", false, 0, false});
        server.Script("/walled", {"HTTP/1.1 403 Forbidden\r\n\r\n"});
        server.Script("HEAD /limited", {"HTTP/1.1 429 Too Many Requests\r\n\r\n"});
        server.Script("/limited", {"HTTP/1.1 200 OK\r\n\r\n"});
        server.Script("/odd", {"HTTP/1.1 999 Request denied\r\n\r\n"});
        server.Start();
        refused = RefusedUrl();
    }

    std::string Url(const std::string& path) const { return server.Url(path); }

    // Runs the command to its end while this process's event loop serves the links.
    Outcome Check(const std::vector<std::string>& arguments, bool quick = true)
    {
        QStringList list;
        for (const std::string& argument : arguments)
            list << QString::fromStdString(argument);
        if (quick)
            list << "--no-connection-check" << "--pace" << "0";
        QProcess process;  // in this process's environment: the temporary home's
        // In a user namespace of its own, root loses its power over files owned outside it: the
        // permission bits apply to it as to their owner. 99: no such namespace to be had.
        if (ownerBitsApply)
            process.setChildProcessModifier([] { if (geteuid() == 0 && unshare(CLONE_NEWUSER) != 0) _exit(99); });
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        process.start(BRIMTOR_CHECK_PATH, list);
        process.closeWriteChannel();
        if (process.state() != QProcess::NotRunning)
            loop.exec();
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput().toStdString(), process.readAllStandardError().toStdString()};
    }
};

QJsonArray JsonRows(const Outcome& outcome)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(outcome.out), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << outcome.out;
    return document.array();
}

// The path of the only backup there is, if its name starts with `prefix`; else "".
std::string OnlyBackup(const std::string& prefix)
{
    std::vector<std::string> names = ListNames(BackupFolder());
    std::erase_if(names, [](const std::string& name) { return name.ends_with(".origin"); });
    return names.size() == 1 && names[0].rfind(prefix, 0) == 0 ? BackupFolder() + names[0] : "";
}

}  // namespace

TEST_F(CheckJob, TextFileRowsInTheAllAndBrokenViews)
{
    const std::string secure = "https://127.0.0.1:" + std::to_string(RefusedPort()) + "/";
    const std::string path = home.WriteLines("links.txt", {Url("/ok"), Url("/gone"), refused, Url("/moved"), Url("/login"),
                                                           secure, Url("/empty"), Url("/walled"), Url("/limited"), Url("/odd")});

    const Outcome all = Check({"--source", "text", path, "--view", "all", "--format", "json"});
    EXPECT_EQ(all.exit, 1) << all.err;
    const QJsonArray rows = JsonRows(all);
    ASSERT_EQ(rows.size(), 10);
    const auto row = [&](int i) { return rows[i].toObject(); };
    EXPECT_EQ(row(3)["redirected_url"].toString().toStdString(), Url("/ok"));
    // A secure address is never ticked for cleaning (nor shown as broken below).
    EXPECT_FALSE(row(5)["clean"].toBool());
    EXPECT_EQ(row(8)["code"].toInt(), 200);  // 429 to HEAD, then 200 to GET
    // The archive's copies for the rows the broken view lists, whatever view is printed.
    EXPECT_EQ(row(0)["archive_url"].toString(), "");
    EXPECT_EQ(row(4)["archive_url"].toString().toStdString(), "https://web.archive.org/web/*/" + Url("/login"));

    // The broken view: pages behind a login stay unticked.
    const Outcome broken = Check({"--source", "text", path, "--format", "csv"});
    EXPECT_EQ(broken.exit, 1);
    EXPECT_EQ(broken.err, "");  // nothing shown on a pipe but the rows: no progress
    const std::string archive = ",,https://web.archive.org/web/*/";  // no looks_dead, then the archive
    EXPECT_EQ(broken.out, "id,name,folder,url,status,code,result,redirected_url,clean,looks_dead,archive_url\n"
                          "1," + Url("/gone") + ",," + Url("/gone") + ",scanned,404,Not Found,,true" + archive + Url("/gone") + "\n"
                          "2," + refused + ",," + refused + ",error,10061,"
                          "No connection could be made because the target machine actively refused it.,,true" + archive + refused + "\n"
                          "4," + Url("/login") + ",," + Url("/login") + ",scanned,401,Unauthorized,,false" + archive + Url("/login") + "\n"
                          "6," + Url("/empty") + ",," + Url("/empty") + ",scanned,204,No Content,,true" + archive + Url("/empty") + "\n"
                          "7," + Url("/walled") + ",," + Url("/walled") + ",scanned,403,"
                          "Forbidden \u2014 the site refused the check; open it to see,,false" + archive + Url("/walled") + "\n"
                          "9," + Url("/odd") + ",," + Url("/odd") + ",scanned,999,"
                          "Unknown \u2014 the site refused the check; open it to see,,false" + archive + Url("/odd") + "\n");
}

TEST_F(CheckJob, VersionIsTheProjectsAndHelpListsIt)
{
    const Outcome version = Check({"--version"}, false);
    EXPECT_EQ(version.exit, 0);
    EXPECT_EQ(version.out, "brimtor-check " + std::string(kVersionText) + "\n");  // the about window's too
    EXPECT_NE(Check({"--help"}, false).out.find("\n  --version "), std::string::npos);
}

TEST_F(CheckJob, WorkingLinksExitZeroAndASilentServerIsCutOffListedButNeverTicked)
{
    const std::string path = home.WriteLines("links.txt", {Url("/ok"), Url("/moved")});
    EXPECT_EQ(Check({"--source", "text", path}).exit, 0);
    // Cut off on both passes, after a second each: a site down for now is no dead link.
    home.WriteLines("links.txt", {Url("/ok"), Url("/moved"), Url("/silent")});
    const Outcome cut = Check({"--source", "text", path, "--timeout", "1", "--format", "json"});
    EXPECT_EQ(cut.exit, 1) << cut.err;
    const QJsonArray rows = JsonRows(cut);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].toObject()["code"].toInt(), 408);
    EXPECT_FALSE(rows[0].toObject()["clean"].toBool());
    EXPECT_TRUE(rows[0].toObject()["result"].toString().endsWith(QString::fromUtf8(" \u2014 no answer; the site may be down for now")));
}

TEST_F(CheckJob, NoCheckPrintsPendingRowsAndLatin1TitlesStayValidJson)
{
    const std::string path = home.WriteFile("saved/bookmarks.html", site.BookmarkFile("Caf\xe9"));
    const Outcome listed = Check({"--source", "html", path, "--no-check", "--format", "json"});
    EXPECT_EQ(listed.exit, 0) << listed.err;
    const QJsonArray rows = JsonRows(listed);
    EXPECT_EQ(rows[0].toObject()["name"].toString(), QString::fromUtf8("Caf\xc3\xa9"));
    EXPECT_EQ(rows[3].toObject()["status"].toString(), "pending");
    ASSERT_EQ(rows.size(), 4);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(rows[i].toObject()["url"].toString().toStdString(), site.Links()[std::size_t(i)]);
    EXPECT_TRUE(server.Requests().empty());
}

TEST_F(CheckJob, CleaningATextFileLeavesWhatTheWindowLeaves)
{
    const std::string path = home.WriteLines("links.txt", site.Links());
    const Outcome cleaned = Check({"--source", "text", path, "--clean", "--yes"});
    EXPECT_EQ(cleaned.exit, 1) << cleaned.err;
    EXPECT_EQ(ReadAll(path), Url("/ok") + "\r\n" + Url("/moved") + "\r\n");
    EXPECT_NE(cleaned.err.find("backup " + OnlyBackup("Backup_TextFile_") + "\n"), std::string::npos) << cleaned.err;
    EXPECT_NE(cleaned.err.find("removed 2 bookmark(s) from " + path), std::string::npos) << cleaned.err;

    // A file saved with LF line ends has a link a line, and keeps its LF.
    const std::string lf = home.WriteFile("lf.txt", CrLfLines(site.Links(), "\n"));
    EXPECT_EQ(Check({"--source", "text", lf, "--clean", "--yes"}).exit, 1);
    EXPECT_EQ(ReadAll(lf), Url("/ok") + "\n" + Url("/moved") + "\n");
}

// The tree is pre-scanned, checked and cleaned; a shortcut in a read-only folder stays and is named.
TEST_F(CheckJob, FavoritesTreeIsCleanedAndWhatCannotGoIsNamed)
{
    const char* names[] = {"works", "gone", "lost", "moved"};
    for (std::size_t i = 0; i < 4; ++i)
        home.WriteFile(std::string("Favorites/") + (i % 2 ? "Links/" : "") + names[i] + ".url",
                       "[InternetShortcut]\r\nURL=" + site.Links()[i] + "\r\n");
    std::filesystem::permissions(home / "Favorites/Links", std::filesystem::perms(0555));
    ownerBitsApply = true;
    const Outcome cleaned = Check({"--source", "favorites", "--clean", "--yes", "--jobs", "4"});
    if (cleaned.exit == 99)
        GTEST_SKIP() << "no user namespace: root would delete from a read-only folder";
    EXPECT_EQ(cleaned.exit, 2) << cleaned.err;
    EXPECT_NE(cleaned.err.find("brimtor-check: not removed: Links/gone.url: Permission denied\n"
                               "brimtor-check: removed 1 bookmark(s) from the Favorites\n"), std::string::npos) << cleaned.err;
    EXPECT_EQ(ListNames(home / "Favorites"), (std::vector<std::string> {"Links", "works.url"}));
    EXPECT_EQ(ListNames(home / "Favorites/Links"), (std::vector<std::string> {"gone.url", "moved.url"}));
    std::filesystem::permissions(home / "Favorites/Links", std::filesystem::perms::owner_all);
}

TEST_F(CheckJob, ChromiumProfileNamedOnTheCommandLine)
{
    const std::string profile = home / "elsewhere/vivaldi/Work";
    const std::string file = home.WriteFile("elsewhere/vivaldi/Work/Bookmarks", site.ChromiumBookmarks());
    const Outcome cleaned = Check({"--source", "chromium", "--profile", profile, "--clean", "--yes"});
    EXPECT_EQ(cleaned.exit, 1) << cleaned.err;
    EXPECT_NE(cleaned.err.find("backup " + OnlyBackup("Backup_Chromium_") + "\n"), std::string::npos) << cleaned.err;
    EXPECT_EQ(ReadAll(file).find(Url("/gone")), std::string::npos);
    EXPECT_NE(ReadAll(file).find(Url("/moved")), std::string::npos);
}

TEST_F(CheckJob, FirefoxPlacesDatabaseOfANamedProfile)
{
    const std::string folder = home / "profiles/work";
    const PlacesFile places(folder + "/places.sqlite");
    const char* names[] = {"Works", "Gone", "Lost", "Moved"};
    for (std::size_t i = 0; i < 4; ++i)
        places.Add(PlacesFile::kMenu, names[i], site.Links()[i]);
    const Outcome cleaned = Check({"--source", "firefox", "--profile", folder, "--clean", "--yes"});
    EXPECT_EQ(cleaned.exit, 1) << cleaned.err;
    EXPECT_EQ(places.Column("SELECT title FROM moz_bookmarks WHERE type = 1 ORDER BY position"),
              (std::vector<std::string>{"Works", "Moved"}));
    EXPECT_NE(cleaned.err.find("backup " + OnlyBackup("Backup_Firefox_") + "\n"), std::string::npos) << cleaned.err;
    EXPECT_NE(cleaned.err.find("removed 2 bookmark(s) from the Firefox profile ~/profiles/work\n"), std::string::npos);
}

TEST_F(CheckJob, TroubleExitsTwoWithAReasonAndChangesNothing)
{
    const auto expectTrouble = [](const Outcome& outcome, const std::string& reason, bool rows = false) {
        EXPECT_EQ(outcome.exit, 2) << outcome.err;
        EXPECT_EQ(outcome.out.empty(), !rows);
        EXPECT_EQ(outcome.err.find(reason), 0u) << outcome.err;
        EXPECT_EQ(std::count(outcome.err.begin(), outcome.err.end(), '\n'), 1) << outcome.err;
    };
    expectTrouble(Check({"--source", "text", home / "missing.txt"}), "brimtor-check: cannot open " + home / "missing.txt");
    const std::string junk = home.WriteFile("junk.html", "just some words\r\n");
    expectTrouble(Check({"--source", "html", junk}), "brimtor-check: no bookmarks could be read from " + junk);
    EXPECT_EQ(ReadAll(junk), "just some words\r\n");
    expectTrouble(Check({"--source", "firefox"}), "brimtor-check: no default Firefox profile could be found");
    expectTrouble(Check({"--source", "favorites"}), "brimtor-check: there is no Favorites folder");
    expectTrouble(Check({"--source", "chromium"}), "brimtor-check: no Chromium-family browser profile with bookmarks");
    home.WriteFile(".config/chromium/Default/Bookmarks", "{\"roots\"");
    expectTrouble(Check({"--source", "chromium"}), "brimtor-check: " + home / ".config/chromium/Default/Bookmarks is not valid JSON");

    expectTrouble(Check({"--source", "text"}), "brimtor-check: the html and text sources need a FILE");
    const std::string path = home.WriteLines("links.txt", site.Links());
    // Nobody can answer the cleaning question on a pipe.
    expectTrouble(Check({"--source", "text", path, "--clean"}), "brimtor-check: --clean needs --yes");
    // The connection test asks the sites it is given, and none answers here.
    expectTrouble(Check({"--source", "text", path, "--test-sites", refused}, false),
                  "brimtor-check: You must have a valid internet connection to proceed");
    EXPECT_TRUE(server.Requests().empty());

    const std::string original = site.BookmarkFile();
    const std::string locked = home.WriteFile("saved/bookmarks.html", original);
    std::filesystem::permissions(locked, std::filesystem::perms(0444));
    const Outcome refusedClean = Check({"--source", "html", locked, "--clean", "--yes"});
    // The rows come first: the check itself went well.
    expectTrouble(refusedClean, "brimtor-check: " + locked + " was left as it was", true);
    EXPECT_NE(refusedClean.err.find(" was left as it was: Cannot replace " + locked + ": the file is read-only\n"),
              std::string::npos) << refusedClean.err;
    EXPECT_EQ(ReadAll(locked), original);
}

TEST_F(CheckJob, RestorePutsABackupBackWhenToldAndNamesTheCopyOfWhatItReplaced)
{
    const std::string links = home.WriteFile("links.txt", "http://now/\r\n");
    const std::string copy = home.WriteFile(".local/share/brimtor/Backups/Backup_TextFile_202612060900.txt", "http://a/\r\nb\r\n");
    home.WriteFile(".local/share/brimtor/Backups/Backup_TextFile_202612060900.txt.origin", links + "\n");
    const Outcome unasked = Check({"--restore", copy}, false);
    EXPECT_EQ(unasked.exit, 2);
    EXPECT_EQ(unasked.err, "brimtor-check: --restore needs --yes when standard input is not a terminal\n");
    EXPECT_EQ(ReadAll(links), "http://now/\r\n");

    const Outcome done = Check({"--restore", copy, "--yes"}, false);
    EXPECT_EQ(done.exit, 0) << done.err;
    EXPECT_EQ(ReadAll(links), "http://a/\r\nb\r\n");
    const std::size_t end = done.err.find('\n');
    EXPECT_EQ(ReadAll(done.err.substr(22, end - 22)), "http://now/\r\n");  // after "brimtor-check: backup "
    EXPECT_EQ(done.err.substr(end + 1), "brimtor-check: restored 2 bookmark(s) from " + copy + " to ~/links.txt\n");

    std::filesystem::remove(copy + ".origin");
    const Outcome old = Check({"--restore", copy, "--yes"}, false);
    EXPECT_EQ(old.exit, 2);
    EXPECT_EQ(old.err, "brimtor-check: " + copy + " was not put back: it does not record where it was taken from "
                       "(the backup window asks for the place)\n");
}

TEST_F(CheckJob, DuplicatesAndEmptyFoldersAreListedWithoutACheckAndACleanTakesWhatIsListed)
{
    home.WriteFile("Favorites/a.url", "URL=" + Url("/ok") + "\r\n");
    home.WriteFile("Favorites/News/b.url", "URL=" + Url("/ok") + "\r\n");
    std::filesystem::create_directories(home / "Favorites/Empty");
    const std::string header = "id,name,folder,url,status,code,result,redirected_url,clean,looks_dead,archive_url\n";
    const Outcome listed = Check({"--source", "favorites", "--no-check", "--view", "duplicates", "--format", "csv"});
    EXPECT_EQ(listed.exit, 0) << listed.err;
    EXPECT_EQ(listed.out, header + "2,B,News/," + Url("/ok") + ",pending,0,Duplicate; the copy kept is in root,,true,,\n");

    const Outcome cleaned = Check({"--source", "favorites", "--no-check", "--view", "empty-folders", "--clean", "--yes",
                                   "--format", "csv"});
    EXPECT_EQ(cleaned.exit, 1) << cleaned.err;
    EXPECT_EQ(cleaned.out, header + "1,Empty,root,,folder,0,Empty folder,,true,,\n"
                                    "2,News,root,,folder,0,Empty once its duplicates are removed,,true,,\n");
    EXPECT_NE(cleaned.err.find("removed 2 folder(s) from the Favorites\n"), std::string::npos) << cleaned.err;
    EXPECT_EQ(ListNames(home / "Favorites"), std::vector<std::string>{"a.url"});
    EXPECT_TRUE(server.Requests().empty());
}
