#include "support/RegistryHive.hpp"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/FileIo.hpp"
#include "support/Text.hpp"
#include "support/modSpecialFolder.hpp"

namespace brimtor {

namespace {

const char* const kHeader = "REGEDIT4";
const char* const kHexDigits = "0123456789abcdef";

std::string RegistryFolder()
{
    return ConfigFolder() + "/registry";
}

std::string WithoutTrailingBackslash(const std::string& path)
{
    return (!path.empty() && path.back() == '\\') ? path.substr(0, path.size() - 1) : path;
}

std::string ParentPath(const std::string& path)
{
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string LastComponent(const std::string& path)
{
    const std::size_t slash = path.rfind('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A whole text of 1 to `maxDigits` hex digits.
std::optional<std::uint32_t> ParseHexNumber(const std::string& text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    std::uint32_t value = 0;
    for (char c : text) {
        const int digit = HexDigitValue(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// "01,ff,2a" as bytes; blanks around each byte are allowed, nothing at all is no bytes.
std::optional<std::string> ParseHexBytes(const std::string& text)
{
    std::string bytes;
    if (TrimBlanks(text).empty())
        return bytes;
    for (const std::string& piece : SplitAt(text, ',')) {
        const auto byte = ParseHexNumber(TrimBlanks(piece), 2);
        if (!byte)
            return std::nullopt;
        bytes += static_cast<char>(*byte);
    }
    return bytes;
}

std::string HexBytes(const std::string& bytes)
{
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (i > 0)
            text += ',';
        text += kHexDigits[byte >> 4];
        text += kHexDigits[byte & 0x0F];
    }
    return text;
}

std::string Quote(const std::string& text)
{
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

// Reads a quoted text starting at text[pos] == '"'; moves pos past the closing quote. Only a
// doubled backslash and a backslash before a quote are escapes, so a hand-written "C:\temp"
// keeps its backslash.
std::optional<std::string> Unquote(const std::string& text, std::size_t& pos)
{
    std::string value;
    for (++pos; pos < text.size(); ++pos) {
        char c = text[pos];
        if (c == '"') {
            ++pos;
            return value;
        }
        if (c == '\\' && pos + 1 < text.size() && (text[pos + 1] == '\\' || text[pos + 1] == '"'))
            c = text[++pos];
        value += c;
    }
    return std::nullopt;
}

// A string that the quoted form can carry: one terminating zero and no line breaks.
bool IsPlainString(const std::string& bytes)
{
    return !bytes.empty() && bytes.back() == '\0' && bytes.find('\0') == bytes.size() - 1
        && bytes.find_first_of("\r\n") == std::string::npos;
}

std::string FormatData(const RegistryData& data)
{
    if (data.type == 1 && IsPlainString(data.bytes))
        return Quote(data.bytes.substr(0, data.bytes.size() - 1));
    if (data.type == 4 && data.bytes.size() == 4) {
        std::string text = "dword:";
        for (int i = 3; i >= 0; --i)
            text += HexBytes(data.bytes.substr(static_cast<std::size_t>(i), 1));
        return text;
    }
    if (data.type == 3)
        return "hex:" + HexBytes(data.bytes);
    std::string type;
    for (std::uint32_t rest = data.type; type.empty() || rest > 0; rest /= 16)
        type.insert(type.begin(), kHexDigits[rest % 16]);
    return "hex(" + type + "):" + HexBytes(data.bytes);
}

std::optional<RegistryData> ParseData(const std::string& text)
{
    if (!text.empty() && text.front() == '"') {
        std::size_t pos = 0;
        const auto value = Unquote(text, pos);
        if (!value || !TrimBlanks(text.substr(pos)).empty())
            return std::nullopt;
        return RegistryData{1, *value + '\0'};
    }
    if (IStartsWith(text, "dword:")) {
        const auto number = ParseHexNumber(text.substr(6), 8);
        if (!number)
            return std::nullopt;
        return RegistryData{4, DwordBytes(*number)};
    }
    std::optional<std::uint32_t> type;
    std::size_t dataStart = 0;
    if (IStartsWith(text, "hex:")) {
        type = 3;
        dataStart = 4;
    } else if (IStartsWith(text, "hex(")) {
        const std::size_t close = text.find("):");
        if (close != std::string::npos) {
            type = ParseHexNumber(text.substr(4, close - 4), 8);
            dataStart = close + 2;
        }
    }
    if (!type)
        return std::nullopt;
    const auto bytes = ParseHexBytes(text.substr(dataStart));
    if (!bytes)
        return std::nullopt;
    return RegistryData{*type, *bytes};
}

// Physical lines, LF or CR LF ended; a hex value continued with a trailing backslash is joined
// into one logical line, and `original` keeps the lines it came from.
struct LogicalLine {
    std::string text;
    std::string original;
};

std::vector<LogicalLine> LogicalLines(const std::string& text)
{
    std::vector<LogicalLine> lines;
    bool continuing = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string trimmed = TrimBlanks(line);
        // Only hex data is ever continued; a comment or text ending with a backslash is not.
        const std::string& logical = continuing ? lines.back().text : trimmed;
        const bool hexData = IFind(logical, "=hex") != std::string::npos;
        const bool continues = hexData && !trimmed.empty() && trimmed.back() == '\\';
        const std::string piece = continues ? trimmed.substr(0, trimmed.size() - 1) : trimmed;
        if (continuing) {
            lines.back().text += piece;
            lines.back().original += "\n" + line;
        } else {
            lines.push_back({piece, line});
        }
        continuing = continues;
    }
    return lines;
}

// `"name"=data` or `@=data`; blanks around the "=" are allowed.
std::optional<std::pair<std::string, RegistryData>> ParseValueLine(const std::string& line)
{
    std::string name;
    std::size_t pos = 0;
    if (line.front() == '@') {
        pos = 1;
    } else if (line.front() == '"') {
        const auto quoted = Unquote(line, pos);
        if (!quoted)
            return std::nullopt;
        name = *quoted;
    } else {
        return std::nullopt;
    }
    const std::string rest = TrimBlanks(line.substr(pos));
    if (rest.empty() || rest.front() != '=')
        return std::nullopt;
    const auto data = ParseData(TrimBlanks(rest.substr(1)));
    if (!data)
        return std::nullopt;
    return std::make_pair(name, *data);
}

std::string ErrnoText(const std::string& what)
{
    return what + ": " + std::strerror(errno);
}

// An exclusive lock on the hive's lock file for as long as the object lives.
class HiveLock {
public:
    explicit HiveLock(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600))
    {
        if (m_fd < 0) {
            m_locked = Failure {ErrnoText("Cannot open the lock file " + path)};
            return;
        }
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                m_locked = Failure {ErrnoText("Cannot lock " + path)};
                return;
            }
        }
    }
    ~HiveLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    HiveLock(const HiveLock&) = delete;
    HiveLock& operator=(const HiveLock&) = delete;

    const Outcome<>& Locked() const { return m_locked; }

private:
    int m_fd;
    Outcome<> m_locked;
};

}  // namespace

RegistryHive::RegistryHive(std::string rootName)
    : m_rootName(std::move(rootName))
{
}

std::string RegistryHive::FilePath(const std::string& rootName)
{
    return RegistryFolder() + "/" + rootName + ".reg";
}

RegistryHive RegistryHive::Load(const std::string& rootName)
{
    const auto text = ReadFileBytes(FilePath(rootName));
    return Parse(rootName, text.value_or(std::string()));
}

Outcome<> RegistryHive::Update(const std::string& rootName, const std::function<bool(RegistryHive&)>& change)
{
    if (!MakePrivateFolders(RegistryFolder()))
        return Failure {ErrnoText("Cannot create the folder " + RegistryFolder())};
    const std::string path = FilePath(rootName);
    HiveLock lock(path + ".lock");
    if (!lock.Locked())
        return Failure {lock.Locked().Reason()};
    const auto text = ReadFileBytes(path);
    struct stat info {};
    // A hive that is there but cannot be read must not be replaced by an empty one.
    if (!text && ::stat(path.c_str(), &info) == 0)
        return Failure {"Cannot read " + path};
    RegistryHive hive = Parse(rootName, text.value_or(std::string()));
    if (!change(hive))
        return {};
    return ReplaceFileAtomically(path, hive.Serialize());
}

RegistryHive RegistryHive::Parse(const std::string& rootName, const std::string& text)
{
    RegistryHive hive(rootName);
    std::vector<LogicalLine> lines = LogicalLines(text);
    std::size_t next = 0;
    while (next < lines.size() && lines[next].text.empty())
        ++next;
    if (next < lines.size() && lines[next].text == kHeader)
        ++next;
    std::optional<std::size_t> current;  // the key the lines below belong to
    bool readable = true;  // false below an unreadable key header: its values stay raw too,
                           // so they can never land in the key before it
    for (; next < lines.size(); ++next) {
        const LogicalLine& line = lines[next];
        if (line.text.empty())
            continue;
        if (line.text.front() == '[') {
            const auto path = hive.HeaderPath(line.text);
            readable = path.has_value();
            if (readable) {
                current = hive.AddKey(*path);
                continue;
            }
        } else if (const auto value = ParseValueLine(line.text); readable && current && value) {
            hive.Put(hive.m_keys[*current], value->first, value->second, true);
            continue;
        }
        if (current)
            hive.m_keys[*current].entries.push_back({line.original, {}, {}});
        else
            hive.m_preamble.push_back(line.original);
    }
    return hive;
}

std::optional<std::string> RegistryHive::HeaderPath(const std::string& line) const
{
    if (line.size() < 2 || line.back() != ']')
        return std::nullopt;
    const std::string inner = line.substr(1, line.size() - 2);
    if (!IStartsWith(inner, m_rootName))
        return std::nullopt;
    if (inner.size() == m_rootName.size())
        return std::string();
    const std::string path = inner.substr(m_rootName.size() + 1);
    if (inner[m_rootName.size()] != '\\' || path.empty() || !IsValidPath(path))
        return std::nullopt;
    return WithoutTrailingBackslash(path);
}

std::string RegistryHive::Serialize() const
{
    std::string text = std::string(kHeader) + "\n\n";
    for (const std::string& line : m_preamble)
        text += line + "\n";
    if (!m_preamble.empty())
        text += "\n";
    for (const Key& key : m_keys) {
        text += "[" + m_rootName + (key.path.empty() ? "" : "\\" + key.path) + "]\n";
        for (const Entry& entry : key.entries) {
            if (entry.raw) {
                text += *entry.raw + "\n";
            } else {
                text += (entry.name.empty() ? "@" : Quote(entry.name)) + "="
                    + FormatData(entry.data) + "\n";
            }
        }
        text += "\n";
    }
    return text;
}

bool RegistryHive::IsValidPath(const std::string& path)
{
    const std::string trimmed = WithoutTrailingBackslash(path);
    if (trimmed.find_first_of("\r\n") != std::string::npos)
        return false;
    if (trimmed.empty())
        return true;
    return trimmed.front() != '\\' && trimmed.back() != '\\'
        && trimmed.find("\\\\") == std::string::npos;
}

const RegistryHive::Key* RegistryHive::FindKey(const std::string& path) const
{
    if (!IsValidPath(path))
        return nullptr;
    const auto found = m_index.find(ToLowerAscii(WithoutTrailingBackslash(path)));
    return found == m_index.end() ? nullptr : &m_keys[found->second];
}

RegistryHive::Key* RegistryHive::FindKey(const std::string& path)
{
    return const_cast<Key*>(static_cast<const RegistryHive*>(this)->FindKey(path));
}

std::size_t RegistryHive::AddKey(const std::string& path)
{
    const std::string key = WithoutTrailingBackslash(path);
    if (const auto found = m_index.find(ToLowerAscii(key)); found != m_index.end())
        return found->second;
    if (!ParentPath(key).empty())
        AddKey(ParentPath(key));
    m_keys.push_back({key, {}});
    m_index[ToLowerAscii(key)] = m_keys.size() - 1;
    return m_keys.size() - 1;
}

template <typename K>
auto RegistryHive::FindEntry(K& key, const std::string& name)
{
    return std::find_if(key.entries.begin(), key.entries.end(),
                        [&name](const Entry& entry) { return !entry.raw && IEquals(entry.name, name); });
}

void RegistryHive::Put(Key& key, const std::string& name, const RegistryData& data, bool reading)
{
    if (const auto found = FindEntry(key, name); found != key.entries.end()) {
        found->data = data;
        return;
    }
    // A new value goes right after the last value the store read, never after kept lines: an
    // unreadable section header there would swallow it on the next read.
    auto at = key.entries.end();
    while (!reading && at != key.entries.begin() && std::prev(at)->raw)
        --at;
    key.entries.insert(at, {std::nullopt, name, data});
}

bool RegistryHive::KeyExists(const std::string& path) const
{
    return IsValidPath(path)
        && (WithoutTrailingBackslash(path).empty() || FindKey(path) != nullptr);
}

const RegistryData* RegistryHive::FindValue(const std::string& path, const std::string& name) const
{
    const Key* key = FindKey(path);
    if (key == nullptr)
        return nullptr;
    const auto found = FindEntry(*key, name);
    return found == key->entries.end() ? nullptr : &found->data;
}

std::vector<std::string> RegistryHive::ValueNames(const std::string& path) const
{
    std::vector<std::string> names;
    const Key* key = FindKey(path);
    for (std::size_t i = 0; key != nullptr && i < key->entries.size(); ++i) {
        if (!key->entries[i].raw)
            names.push_back(key->entries[i].name);
    }
    return names;
}

std::vector<std::string> RegistryHive::SubKeyNames(const std::string& path) const
{
    std::vector<std::string> names;
    if (!KeyExists(path))
        return names;
    const std::string parent = WithoutTrailingBackslash(path);
    for (const Key& key : m_keys) {
        if (!key.path.empty() && IEquals(ParentPath(key.path), parent))
            names.push_back(LastComponent(key.path));
    }
    return names;
}

bool RegistryHive::CreateKey(const std::string& path)
{
    if (!IsValidPath(path))
        return false;
    if (!WithoutTrailingBackslash(path).empty())
        AddKey(path);
    return true;
}

bool RegistryHive::DeleteKey(const std::string& path)
{
    const Key* key = FindKey(path);
    if (key == nullptr || key->path.empty() || !SubKeyNames(path).empty())
        return false;
    const std::size_t index = static_cast<std::size_t>(key - m_keys.data());
    m_keys.erase(m_keys.begin() + static_cast<std::ptrdiff_t>(index));
    m_index.clear();
    for (std::size_t i = 0; i < m_keys.size(); ++i)
        m_index[ToLowerAscii(m_keys[i].path)] = i;
    return true;
}

bool RegistryHive::DeleteValue(const std::string& path, const std::string& name)
{
    Key* key = FindKey(path);
    if (key == nullptr)
        return false;
    const auto found = FindEntry(*key, name);
    if (found == key->entries.end())
        return false;
    key->entries.erase(found);
    return true;
}

bool RegistryHive::SetValue(const std::string& path, const std::string& name,
                            const RegistryData& data)
{
    if (!IsValidPath(path) || name.find_first_of("\r\n") != std::string::npos)
        return false;
    Put(m_keys[AddKey(path)], name, data, false);
    return true;
}

std::string DwordBytes(std::uint32_t number)
{
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8)
        bytes += static_cast<char>((number >> shift) & 0xFF);
    return bytes;
}

}  // namespace brimtor
