#include "bookmarks/ChromiumBookmarkFile.hpp"

#include <charconv>
#include <memory>
#include <optional>
#include <string_view>

#include <openssl/evp.h>

#include "bookmarks/BoundedJson.hpp"
#include "bookmarks/cNetscapeBookmarkFile.hpp"

namespace brimtor {

namespace {

// Keeps every key where the browser put it, so the rewritten file differs only where it must.
// Its nesting is bounded when it is read, so the walks below may recurse.
using Json = OrderedJson;

struct Root {
    const char* key;
    const char* shown;  // the folder as the user knows it
};

// In the order the browser sums them.
constexpr Root kRoots[] = {
    {"bookmark_bar", "Bookmarks bar"},
    {"other", "Other bookmarks"},
    {"synced", "Mobile bookmarks"},
};

std::string TextOf(const Json& node, const char* key)
{
    const auto found = node.find(key);
    return found != node.end() && found->is_string() ? found->get<std::string>() : std::string();
}

bool IsUrl(const Json& node)
{
    return TextOf(node, "type") == "url";
}

bool IsFolder(const Json& node)
{
    return TextOf(node, "type") == "folder";
}

std::optional<std::int32_t> IdOf(const Json& node)
{
    const std::string id = TextOf(node, "id");
    std::int32_t value = 0;
    const char* end = id.data() + id.size();
    const auto [stop, error] = std::from_chars(id.data(), end, value);
    if (id.empty() || error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

// The folder's children, or nullptr when it has none to walk.
template <typename J>
J* ChildrenOf(J& folder)
{
    const auto found = folder.find("children");
    return found != folder.end() && found->is_array() ? &*found : nullptr;
}

// Lists the url nodes below one root, depth first, as the browser shows them, and the folders.
class TreeReader {
public:
    explicit TreeReader(ChromiumLoad& out) : m_out(out) {}

    // Url nodes that could not be listed: their id is no 32-bit number, or one listed before.
    std::int32_t LeftOut() const { return m_leftOut; }

    // `folder` is the FolderID of the listed folder it is, 0 for a root.
    void ReadFolder(const Json& node, const std::string& path, std::int32_t folder)
    {
        const Json* children = ChildrenOf(node);
        if (!children)
            return;
        for (const Json& child : *children) {
            bool listed = true;
            if (IsUrl(child))
                listed = Add(child, path, folder);
            else if (IsFolder(child))
                listed = ReadSubfolder(child, path, folder);
            else
                listed = false;
            if (!listed && folder > 0)
                (*m_out.folders)[static_cast<std::size_t>(folder - 1)].AlwaysKept = true;
        }
    }

private:
    bool Add(const Json& node, const std::string& path, std::int32_t folder)
    {
        const auto id = IdOf(node);
        const BookmarkPtr bookmark = id ? m_out.bookmarks->Add(TextOf(node, "name"), TextOf(node, "url"), path, *id) : nullptr;
        if (!bookmark) {
            ++m_leftOut;
            return false;
        }
        bookmark->FolderID = folder;
        return true;
    }

    // Lists the folder unless its id cannot tell it apart, then reads it; whether it was listed.
    bool ReadSubfolder(const Json& node, const std::string& path, std::int32_t parent)
    {
        const std::string name = TextOf(node, "name");
        const auto id = IdOf(node);
        const bool listed = id && m_folderIds.insert(*id).second;
        std::int32_t folder = parent;  // the contents of an unlisted folder count for its parent
        if (listed) {
            folder = ListFolder(*m_out.folders, name, path, parent).FolderID;
            m_out.folderIds.push_back(*id);
        }
        ReadFolder(node, path + kFolderSeparator + name, folder);
        return listed;
    }

    ChromiumLoad& m_out;
    std::unordered_set<std::int32_t> m_folderIds;
    std::int32_t m_leftOut = 0;
};

// Leaves out the url nodes and the folder nodes the reader listed under the given ids; a later
// node repeating a listed id was never listed, so it stays.
class TreePruner {
public:
    TreePruner(const std::unordered_set<std::int32_t>& ids, const std::unordered_set<std::int32_t>& folderIds)
        : m_ids(ids), m_folderIds(folderIds)
    {
    }

    std::int32_t Removed() const { return m_removed; }
    std::int32_t RemovedFolders() const { return m_removedFolders; }

    void PruneFolder(Json& folder)
    {
        Json* children = ChildrenOf(folder);
        if (!children)
            return;
        Json::array_t& list = children->get_ref<Json::array_t&>();
        std::size_t kept = 0;
        for (std::size_t i = 0; i < list.size(); ++i) {
            if (Leaves(list[i]))
                continue;
            if (IsFolder(list[i]))
                PruneFolder(list[i]);
            if (kept != i)
                list[kept] = std::move(list[i]);
            ++kept;
        }
        list.resize(kept);
    }

private:
    bool Leaves(const Json& node)
    {
        if (IsFolder(node)) {
            const auto id = IdOf(node);
            if (!id || !m_listedFolders.insert(*id).second || m_folderIds.count(*id) == 0)
                return false;
            // Its nodes count as met, so a later node repeating one of their ids stays as it was read.
            MeetInside(node);
            ++m_removedFolders;
            return true;
        }
        if (!IsUrl(node))
            return false;
        const auto id = IdOf(node);
        const bool leaves = id && m_listed.insert(*id).second && m_ids.count(*id) > 0;
        m_removed += leaves ? 1 : 0;
        return leaves;
    }

    void MeetInside(const Json& folder)
    {
        const Json* children = ChildrenOf(folder);
        for (std::size_t i = 0; children && i < children->size(); ++i) {
            const Json& node = (*children)[i];
            const auto id = IdOf(node);
            if (IsFolder(node) && id)
                m_listedFolders.insert(*id);
            else if (IsUrl(node) && id)
                m_listed.insert(*id);
            if (IsFolder(node))
                MeetInside(node);
        }
    }

    const std::unordered_set<std::int32_t>& m_ids;
    const std::unordered_set<std::int32_t>& m_folderIds;
    std::unordered_set<std::int32_t> m_listed;
    std::unordered_set<std::int32_t> m_listedFolders;
    std::int32_t m_removed = 0;
    std::int32_t m_removedFolders = 0;
};

// The name as the browser holds it: UTF-16, in the machine's (little-endian) byte order.
std::string Utf16Le(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size() * 2);
    const auto unit = [&out](std::uint32_t u) {
        out.push_back(static_cast<char>(u & 0xFF));
        out.push_back(static_cast<char>(u >> 8));
    };
    // The JSON reader has checked the UTF-8, so each lead byte says how many follow it.
    for (std::size_t i = 0; i < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        const int extra = lead < 0x80 ? 0 : lead < 0xE0 ? 1 : lead < 0xF0 ? 2 : 3;
        std::uint32_t point = extra == 0 ? lead : lead & (0x3Fu >> extra);
        for (int k = 1; k <= extra && i + k < utf8.size(); ++k)
            point = (point << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        i += static_cast<std::size_t>(extra) + 1;
        if (point >= 0x10000) {
            point -= 0x10000;
            unit(0xD800 + (point >> 10));
            unit(0xDC00 + (point & 0x3FF));
        } else {
            unit(point);
        }
    }
    return out;
}

// The checksum the browser compares when it loads the file: MD5 over the tree in order.
class TreeChecksum {
public:
    TreeChecksum() : m_context(EVP_MD_CTX_new(), &EVP_MD_CTX_free)
    {
        EVP_DigestInit_ex(m_context.get(), EVP_md5(), nullptr);
    }

    void AddNode(const Json& node)
    {
        Add(TextOf(node, "id"));
        Add(Utf16Le(TextOf(node, "name")));
        if (IsUrl(node)) {
            Add("url");
            Add(TextOf(node, "url"));
            return;
        }
        Add("folder");
        if (const Json* children = ChildrenOf(node)) {
            for (const Json& child : *children)
                AddNode(child);
        }
    }

    std::string Hex()
    {
        unsigned char digest[EVP_MAX_MD_SIZE];
        unsigned int size = 0;
        EVP_DigestFinal_ex(m_context.get(), digest, &size);
        static const char kDigits[] = "0123456789abcdef";
        std::string hex;
        for (unsigned int i = 0; i < size; ++i) {
            hex.push_back(kDigits[digest[i] >> 4]);
            hex.push_back(kDigits[digest[i] & 0xF]);
        }
        return hex;
    }

private:
    void Add(std::string_view bytes) { EVP_DigestUpdate(m_context.get(), bytes.data(), bytes.size()); }

    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> m_context;
};

// The document when it is a bookmark tree, else why not.
Outcome<Json> ParseTree(const std::string& bytes)
{
    Outcome<Json> document = ParseBoundedJson(bytes);
    if (document && (!document->is_object() || !document->contains("roots") || !(*document)["roots"].is_object()))
        return Failure {"holds no bookmark roots"};
    return document;
}

// What the browser's layout adds to a value written without one: a line break and three spaces
// of indent a level before every member and before the closing bracket, a space after each key.
std::size_t LayoutBytes(const Json& value, std::size_t depth)
{
    if (!value.is_structured() || value.empty())
        return 0;
    const std::size_t perMember = 4 + 3 * depth + (value.is_object() ? 1 : 0);
    std::size_t bytes = 1 + 3 * depth + value.size() * perMember;
    for (const Json& member : value)
        bytes += LayoutBytes(member, depth + 1);
    return bytes;
}

// Laid out as the browser writes it, unless that would make the file larger than it was: a
// file another tool wrote without layout, or a value nested deep outside the folders, would
// grow by every level's indent. Without layout it keeps about the size it was read at.
std::string Text(const Json& document, const std::string& original)
{
    const std::string end = !original.empty() && original.back() == '\n' ? "\n" : "";
    std::string text = document.dump();
    if (text.size() + LayoutBytes(document, 0) + end.size() <= original.size())
        text = document.dump(3);
    return text + end;
}

}  // namespace

ChromiumLoad ReadChromiumBookmarks(const std::string& bytes)
{
    ChromiumLoad read;
    const Outcome<Json> document = ParseTree(bytes);
    if (!document) {
        read.reason = document.Reason();
        return read;
    }
    read.bookmarks = std::make_shared<cBookmarks>();
    read.folders = std::make_shared<cFolders>();
    TreeReader reader(read);
    const Json& roots = (*document)["roots"];
    for (const Root& root : kRoots) {
        const auto found = roots.find(root.key);
        if (found != roots.end())
            reader.ReadFolder(*found, kFolderSeparator + std::string(root.shown), 0);
    }
    read.leftOut = reader.LeftOut();
    return read;
}

ChromiumRewrite ChromiumBookmarksWithout(const std::string& bytes, const std::unordered_set<std::int32_t>& ids,
                                         const std::unordered_set<std::int32_t>& folderIds)
{
    Outcome<Json> document = ParseTree(bytes);
    if (!document)
        return {bytes, 0};
    TreePruner pruner(ids, folderIds);
    TreeChecksum checksum;
    Json& roots = (*document)["roots"];
    for (const Root& root : kRoots) {
        const auto found = roots.find(root.key);
        if (found == roots.end())
            continue;
        pruner.PruneFolder(*found);
        checksum.AddNode(*found);
    }
    if (document->contains("checksum"))
        (*document)["checksum"] = checksum.Hex();
    return {Text(*document, bytes), pruner.Removed(), pruner.RemovedFolders()};
}

}  // namespace brimtor
