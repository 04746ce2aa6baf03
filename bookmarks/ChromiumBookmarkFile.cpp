#include "bookmarks/ChromiumBookmarkFile.hpp"

#include <charconv>
#include <memory>
#include <optional>
#include <string_view>

#include <nlohmann/json.hpp>
#include <openssl/evp.h>

#include "bookmarks/cNetscapeBookmarkFile.hpp"
#include "support/Outcome.hpp"

namespace brimtor {

namespace {

// Keeps every key where the browser put it, so the rewritten file differs only where it must.
using Json = nlohmann::ordered_json;

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

// The browser's own reader gives up on deeper nesting, so no file it wrote goes deeper; the
// walks below can then recurse safely.
constexpr int kMaxDepth = 200;

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

// Lists the url nodes below one root, depth first, as the browser shows them.
class TreeReader {
public:
    explicit TreeReader(cBookmarks& out) : m_out(out) {}

    // False when the tree nests deeper than the browser reads.
    bool ReadFolder(const Json& folder, const std::string& path, int depth)
    {
        if (depth > kMaxDepth)
            return false;
        const Json* children = ChildrenOf(folder);
        if (!children)
            return true;
        for (const Json& node : *children) {
            if (IsUrl(node)) {
                Add(node, path);
            } else if (IsFolder(node)
                       && !ReadFolder(node, path + kFolderSeparator + TextOf(node, "name"), depth + 1)) {
                return false;
            }
        }
        return true;
    }

private:
    void Add(const Json& node, const std::string& path)
    {
        if (const auto id = IdOf(node))
            m_out.Add(TextOf(node, "name"), TextOf(node, "url"), path, *id);
    }

    cBookmarks& m_out;
};

// Leaves out the url nodes the reader listed under the given ids; a later node repeating a
// listed id was never listed, so it stays.
class TreePruner {
public:
    explicit TreePruner(const std::unordered_set<std::int32_t>& ids) : m_ids(ids) {}

    std::int32_t Removed() const { return m_removed; }

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
        m_removed += static_cast<std::int32_t>(list.size() - kept);
        list.resize(kept);
    }

private:
    bool Leaves(const Json& node)
    {
        if (!IsUrl(node))
            return false;
        const auto id = IdOf(node);
        return id && m_listed.insert(*id).second && m_ids.count(*id) > 0;
    }

    const std::unordered_set<std::int32_t>& m_ids;
    std::unordered_set<std::int32_t> m_listed;
    std::int32_t m_removed = 0;
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
    Json document = Json::parse(bytes, nullptr, false);
    if (document.is_discarded())
        return Failure {"is not valid JSON"};
    if (!document.is_object() || !document.contains("roots") || !document["roots"].is_object())
        return Failure {"holds no bookmark roots"};
    return document;
}

}  // namespace

LoadOutcome ReadChromiumBookmarks(const std::string& bytes)
{
    const Outcome<Json> document = ParseTree(bytes);
    if (!document)
        return {nullptr, document.Reason(), {}};
    auto bookmarks = std::make_shared<cBookmarks>();
    TreeReader reader(*bookmarks);
    const Json& roots = (*document)["roots"];
    for (const Root& root : kRoots) {
        const auto found = roots.find(root.key);
        if (found != roots.end() && !reader.ReadFolder(*found, kFolderSeparator + std::string(root.shown), 1))
            return {nullptr, "nests its folders deeper than the browser reads", {}};
    }
    return {std::move(bookmarks), {}, {}};
}

ChromiumRewrite ChromiumBookmarksWithout(const std::string& bytes,
                                         const std::unordered_set<std::int32_t>& ids)
{
    Outcome<Json> document = ParseTree(bytes);
    if (!document)
        return {bytes, 0};
    TreePruner pruner(ids);
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
    std::string text = document->dump(3);
    if (!bytes.empty() && bytes.back() == '\n')
        text.push_back('\n');
    return {std::move(text), pruner.Removed()};
}

}  // namespace brimtor
