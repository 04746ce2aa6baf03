#pragma once

#include <cstdint>
#include <string>

namespace brimtor {

// One bookmark of any source, with the outcome of its check. A plain record: the sources fill
// it, the checker writes the outcome, the results view sets `Clean`.
struct cBookmark {
    std::int32_t FileLineNumber = 0;  // index of its line in a bookmark HTML file
    std::int32_t AddDate = 0;
    bool Clean = false;               // marked for removal from its source
    std::string Description;
    float ContentLength = 0.0f;
    std::string Folder;
    std::string FeedURL;
    std::string Icon;
    std::int32_t BookmarkID = 0;      // its decimal text is the collection key
    std::string LastCharset;
    std::int32_t LastModified = 0;
    std::int32_t LastVisit = 0;
    std::string LinkID;
    std::string RedirectedUrl;
    std::int16_t ResponseCode = 0;
    std::string ShortcutName;
    std::string ShortcutPath;
    std::string ShortcutURL;
    std::string Status;               // "pending", "scanned" or "error"
    std::string url;
};

}  // namespace brimtor
