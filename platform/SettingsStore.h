#pragma once
// The settings store in place of a system registry: a tree of keys, each holding named
// integer and string values, kept in an INI file ($XDG_CONFIG_HOME/ondrex/registry.ini by
// default). Key paths are backslash-separated and start with the root key's name
// ("HKEY_CURRENT_USER\Software\Ondrex"); key and value names compare case-insensitively.
// Every change is written to the file at once (through a temporary file and a rename).
//
// File layout, one section per key:
//   [HKEY_CURRENT_USER\Software\Ondrex]
//   "Count"=dword:0000002a
//   "Title"="text with \"escapes\" and \\ backslashes"
// Lines that do not parse are skipped, so a damaged file falls back to defaults.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ondrex {

class TSettingsStore {
public:
    struct TValue {
        bool isInteger = false;
        std::int32_t integer = 0;
        std::string text;
    };

    // Loads the file when it exists.
    explicit TSettingsStore(std::string fileName);

    // The store of the process; its file comes from SetDefaultFileName or from the
    // environment ($XDG_CONFIG_HOME, else $HOME/.config).
    static std::shared_ptr<TSettingsStore> Default();
    // Switches Default() to another file (tests point it at a temporary path).
    static void SetDefaultFileName(const std::string& fileName);
    static std::string DefaultFileName();

    const std::string& FileName() const { return fileName_; }

    bool KeyExists(const std::string& path) const;
    // Creates the key and its missing parents. False for a name with control characters or
    // an empty name part.
    bool CreateKey(const std::string& path);
    // Deletes the key with everything below it.
    bool DeleteKey(const std::string& path);
    // Names of the direct subkeys.
    std::vector<std::string> SubKeyNames(const std::string& path) const;

    std::optional<TValue> FindValue(const std::string& path, const std::string& name) const;
    // The key must exist.
    bool SetValue(const std::string& path, const std::string& name, const TValue& value);
    bool DeleteValue(const std::string& path, const std::string& name);
    std::vector<std::string> ValueNames(const std::string& path) const;

private:
    struct TKey {
        std::string path;
        std::vector<std::pair<std::string, TValue>> values;
    };
    static std::string Normalize(const std::string& path);
    TKey* Find(const std::string& path);
    const TKey* Find(const std::string& path) const;
    TKey& Ensure(const std::string& path);
    void Load();
    void Save() const;

    std::string fileName_;
    std::map<std::string, TKey> keys_; // by lower-cased path
};

} // namespace ondrex
