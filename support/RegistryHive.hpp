#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "support/Outcome.hpp"

// The settings store that stands in for the system registry: one text file per root key in the
// REGEDIT4 syntax, e.g. HKEY_CURRENT_USER.reg, below ConfigFolder()/registry. Key paths are
// backslash-separated and relative to the root ("" is the root itself); key and value names
// match without regard to ASCII case, and keep the case they were created with.
//
// A hand-edited file may hold lines this store cannot read. They are never dropped: each one is
// kept, in its place under its key (or before the first key), and written back as it stands
// whenever the file is rewritten. So a damaged file never crashes the program and never loses
// what the user put there; the lines the store does understand keep working.
namespace brimtor {

struct RegistryData {
    std::uint32_t type = 0;  // the registry data type number
    std::string bytes;       // exactly the stored bytes, terminators included
};

// The four bytes of a DWORD value, least significant first, as the store keeps them.
std::string DwordBytes(std::uint32_t number);

class RegistryHive {
public:
    // The file of one root, e.g. ".../registry/HKEY_CURRENT_USER.reg".
    static std::string FilePath(const std::string& rootName);

    // The root's hive as it is on disk now; an empty hive when the file is missing. Never
    // creates anything.
    static RegistryHive Load(const std::string& rootName);

    // Reads the root's hive under its lock file, lets `change` edit it and, when `change`
    // returns true, rewrites the file in one step before the lock is released, so writers in
    // other processes never lose each other's values. The registry folder and files are
    // private to the user.
    static Outcome<> Update(const std::string& rootName,
                              const std::function<bool(RegistryHive&)>& change);

    // The hive held in REGEDIT4 text, and back.
    static RegistryHive Parse(const std::string& rootName, const std::string& text);
    std::string Serialize() const;

    // A path is usable when none of its components is empty; one trailing backslash is allowed.
    static bool IsValidPath(const std::string& path);

    bool KeyExists(const std::string& path) const;
    const RegistryData* FindValue(const std::string& path, const std::string& name) const;
    // Names as stored, in file order; "" is the key's default value.
    std::vector<std::string> ValueNames(const std::string& path) const;
    // Last components of the direct sub-keys, in file order.
    std::vector<std::string> SubKeyNames(const std::string& path) const;

    // Creates the key and every missing level above it. False for an invalid path.
    bool CreateKey(const std::string& path);
    // False when the key is missing, is the root, or still has sub-keys.
    bool DeleteKey(const std::string& path);
    // False when the key or the value is missing.
    bool DeleteValue(const std::string& path, const std::string& name);
    // Creates the key when needed; replaces a value of the same name in place. False for an
    // invalid path.
    bool SetValue(const std::string& path, const std::string& name, const RegistryData& data);

private:
    // A line of a key's body: a value the store understands, or a line kept as it stands.
    struct Entry {
        std::optional<std::string> raw;
        std::string name;
        RegistryData data;
    };
    struct Key {
        std::string path;  // as created; "" for the root
        std::vector<Entry> entries;
    };

    explicit RegistryHive(std::string rootName);

    // The key at the path; nothing for a missing key or an invalid path.
    Key* FindKey(const std::string& path);
    const Key* FindKey(const std::string& path) const;
    // The value of that name, not a kept line, or the end of the key's entries.
    template <typename K>
    static auto FindEntry(K& key, const std::string& name);
    // Adds the key and its missing parents; returns its index in m_keys.
    std::size_t AddKey(const std::string& path);
    // Sets a value, in place when the name is there already. While reading, a new value is
    // appended; afterwards it goes after the last value read (see the .cpp).
    static void Put(Key& key, const std::string& name, const RegistryData& data, bool reading);
    // The path of a "[ROOT\path]" line of this root, or nothing.
    std::optional<std::string> HeaderPath(const std::string& line) const;

    std::string m_rootName;
    std::vector<std::string> m_preamble;          // unreadable lines before the first key
    std::vector<Key> m_keys;                      // in file order
    std::unordered_map<std::string, std::size_t> m_index;  // lower-cased path -> m_keys index
};

}  // namespace brimtor
