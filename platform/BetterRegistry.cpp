#include "platform/BetterRegistry.h"

#include "platform/SettingsStore.h"

namespace ondrex {

namespace {

std::string RootName(HKEY rootKey) {
    switch (rootKey) {
    case HKEY_CLASSES_ROOT:
        return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER:
        return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE:
        return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS:
        return "HKEY_USERS";
    case HKEY_CURRENT_CONFIG:
        return "HKEY_CURRENT_CONFIG";
    default:
        return "HKEY_" + std::to_string(rootKey);
    }
}

std::string Message(const char* format, const std::string& name) {
    std::string text = format;
    text.replace(text.find("%s"), 2, name);
    return text;
}

} // namespace

TBetterRegistry::TBetterRegistry() : TBetterRegistry(TSettingsStore::Default()) {}

TBetterRegistry::TBetterRegistry(std::shared_ptr<TSettingsStore> store)
    : store_(std::move(store)) {}

TBetterRegistry::~TBetterRegistry() = default;

void TBetterRegistry::SetRootKey(HKEY rootKey) {
    CloseKey();
    rootKey_ = rootKey;
}

std::string TBetterRegistry::Resolve(const std::string& key) const {
    std::string path;
    if (!key.empty() && key.front() == '\\')
        path = key.substr(1);
    else if (open_ && !currentPath_.empty())
        path = key.empty() ? currentPath_ : currentPath_ + "\\" + key;
    else
        path = key;
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
    return path;
}

std::string TBetterRegistry::FullPath(const std::string& relative) const {
    return relative.empty() ? RootName(rootKey_) : RootName(rootKey_) + "\\" + relative;
}

bool TBetterRegistry::Open(const std::string& key, bool canCreate, bool readOnly) {
    const std::string path = Resolve(key);
    const std::string full = FullPath(path);
    if (!store_->KeyExists(full) && !(canCreate && store_->CreateKey(full))) return false;
    currentPath_ = path;
    open_ = true;
    readOnly_ = readOnly;
    return true;
}

bool TBetterRegistry::OpenKey(const std::string& key, bool canCreate) {
    return Open(key, canCreate, false);
}

bool TBetterRegistry::OpenKeyReadOnly(const std::string& key) {
    return Open(key, false, true);
}

void TBetterRegistry::CloseKey() {
    currentPath_.clear();
    open_ = false;
    readOnly_ = false;
}

bool TBetterRegistry::KeyExists(const std::string& key) const {
    return store_->KeyExists(FullPath(Resolve(key)));
}

bool TBetterRegistry::CreateKey(const std::string& key) {
    return store_->CreateKey(FullPath(Resolve(key)));
}

bool TBetterRegistry::DeleteKey(const std::string& key) {
    const std::string path = Resolve(key);
    return !path.empty() && store_->DeleteKey(FullPath(path));
}

std::vector<std::string> TBetterRegistry::GetKeyNames() const {
    return store_->SubKeyNames(FullPath(currentPath_));
}

bool TBetterRegistry::ValueExists(const std::string& name) const {
    return store_->FindValue(FullPath(currentPath_), name).has_value();
}

bool TBetterRegistry::DeleteValue(const std::string& name) {
    RequireWritable(name);
    return store_->DeleteValue(FullPath(currentPath_), name);
}

std::vector<std::string> TBetterRegistry::GetValueNames() const {
    return store_->ValueNames(FullPath(currentPath_));
}

std::int32_t TBetterRegistry::ReadInteger(const std::string& name) const {
    auto value = store_->FindValue(FullPath(currentPath_), name);
    if (!value) throw ERegistryException(Message("Failed to get data for '%s'", name));
    if (!value->isInteger) throw ERegistryException(Message("Invalid data type for '%s'", name));
    return value->integer;
}

std::string TBetterRegistry::ReadString(const std::string& name) const {
    auto value = store_->FindValue(FullPath(currentPath_), name);
    if (!value) return {};
    if (value->isInteger) throw ERegistryException(Message("Invalid data type for '%s'", name));
    return value->text;
}

void TBetterRegistry::RequireWritable(const std::string& name) const {
    if (readOnly_ || !open_) throw ERegistryException(Message("Failed to set data for '%s'", name));
}

void TBetterRegistry::WriteInteger(const std::string& name, std::int32_t value) {
    RequireWritable(name);
    TSettingsStore::TValue stored;
    stored.isInteger = true;
    stored.integer = value;
    if (!store_->SetValue(FullPath(currentPath_), name, stored))
        throw ERegistryException(Message("Failed to set data for '%s'", name));
}

void TBetterRegistry::WriteString(const std::string& name, const std::string& value) {
    RequireWritable(name);
    TSettingsStore::TValue stored;
    stored.text = value;
    if (!store_->SetValue(FullPath(currentPath_), name, stored))
        throw ERegistryException(Message("Failed to set data for '%s'", name));
}

} // namespace ondrex
