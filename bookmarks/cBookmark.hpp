#pragma once

#include <cstdint>
#include <string>

namespace brimtor {

// What a finished scan made of a bookmark; bookmarks/Verdict.cpp says what each one means.
enum class LinkVerdict : std::uint8_t {
    NotChecked, Ok, Redirect, Broken, Secure, Login, Refused, NoAnswer, Inconclusive, NotWeb,
    LooksParked, LooksNotFound, LooksSentHome, LooksDefaultPage, LooksSuspended, SecureLooksDead,
};

// What the look inside a page that answered found it to be (engine/LookVerdict judges it): alive
// as far as the look can tell, or one of the ways a page answers and is dead all the same.
enum class LookVerdict : std::uint8_t { None, Parked, NotFoundPage, HomePage, ServerDefaultPage, Suspended };

// One bookmark of any source, with the outcome of its check. A plain record: the sources fill
// it, the checker writes the outcome, the scan's end judges it (`Verdict`, and `Clean` from that)
// and the results view may change `Clean`. The texts come first and the numbers after them,
// packed together: a large file holds a hundred thousand of these.
struct cBookmark {
    std::string Description;
    std::string Folder;
    std::string FeedURL;
    std::string Icon;
    std::string LastCharset;
    std::string LinkID;
    std::string RedirectedUrl;
    std::string ShortcutName;
    std::string ShortcutPath;
    std::string ShortcutURL;
    std::string Status;               // "pending", "scanned" or "error"
    std::string url;
    std::int32_t FileLineNumber = 0;  // index of its line in a bookmark HTML file
    std::int32_t FileLineEntry = 0;   // how many bookmarks come before it on that line
    std::int32_t AddDate = 0;
    std::int32_t BookmarkID = 0;      // its decimal text is the collection key
    std::int32_t FolderID = 0;        // the source's folder it is in (cFolder); 0 at the top
    std::int32_t LastModified = 0;
    std::int32_t LastVisit = 0;
    float ContentLength = 0.0f;
    std::int16_t ResponseCode = 0;
    LinkVerdict Verdict = LinkVerdict::NotChecked;
    LookVerdict LookFinding = LookVerdict::None;  // the look's finding; None when it did not look
    bool Clean = false;               // marked for removal from its source
    bool ServerSilent = false;        // cut off unasked: its server had not answered an earlier link
};

}  // namespace brimtor
