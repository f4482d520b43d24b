#pragma once
// The registry as the components see it: a root key, a current key reached by absolute
// ("\A\B") or relative ("B") paths, typed integer and string values. Behind it stands the
// settings store (an INI file) instead of a system registry; every change reaches the file
// at once.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace ondrex {

class TSettingsStore;

using HKEY = std::uint32_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
constexpr HKEY HKEY_USERS = 0x80000003;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;

// "Invalid data type for '%s'", "Failed to get data for '%s'", "Failed to set data for '%s'".
class ERegistryException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TBetterRegistry {
public:
    // On the process-wide store (see TSettingsStore::Default).
    TBetterRegistry();
    explicit TBetterRegistry(std::shared_ptr<TSettingsStore> store);
    ~TBetterRegistry();
    TBetterRegistry(const TBetterRegistry&) = delete;
    TBetterRegistry& operator=(const TBetterRegistry&) = delete;

    HKEY RootKey() const { return rootKey_; }
    // Closes the current key.
    void SetRootKey(HKEY rootKey);
    // Path of the open key below the root, without a leading backslash; empty when none.
    const std::string& CurrentPath() const { return currentPath_; }
    bool HasCurrentKey() const { return open_; }
    bool ReadOnly() const { return readOnly_; }

    // A path starting with "\" is absolute below the root; any other is relative to the open
    // key. OpenKey creates missing keys when asked; OpenKeyReadOnly never creates, and writes
    // through a read-only key fail.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();

    bool KeyExists(const std::string& key) const;
    bool CreateKey(const std::string& key);
    bool DeleteKey(const std::string& key);
    std::vector<std::string> GetKeyNames() const;

    bool ValueExists(const std::string& name) const;
    bool DeleteValue(const std::string& name);
    std::vector<std::string> GetValueNames() const;

    std::int32_t ReadInteger(const std::string& name) const;
    void WriteInteger(const std::string& name, std::int32_t value);
    // A missing value reads as empty text.
    std::string ReadString(const std::string& name) const;
    void WriteString(const std::string& name, const std::string& value);

private:
    std::string Resolve(const std::string& key) const;
    std::string FullPath(const std::string& relative) const;
    bool Open(const std::string& key, bool canCreate, bool readOnly);
    void RequireWritable(const std::string& name) const;

    std::shared_ptr<TSettingsStore> store_;
    HKEY rootKey_ = HKEY_CURRENT_USER;
    std::string currentPath_;
    bool open_ = false;
    bool readOnly_ = false;
};

} // namespace ondrex
