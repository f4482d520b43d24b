#include "platform/SettingsStore.h"

#include "platform/BetterRegistry.h"
#include "platform/CodePage.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace ondrex {

namespace {

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                char hex[8];
                std::snprintf(hex, sizeof hex, "\\x%02x", c);
                out += hex;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    return out + "\"";
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads a quoted text starting at line[pos] == '"'; pos ends after the closing quote.
std::optional<std::string> Unquote(const std::string& line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        char c = line[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= line.size()) return std::nullopt;
        switch (line[pos]) {
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'x': {
            if (pos + 2 >= line.size()) return std::nullopt;
            int high = HexDigit(line[pos + 1]), low = HexDigit(line[pos + 2]);
            if (high < 0 || low < 0) return std::nullopt;
            out += static_cast<char>(high * 16 + low);
            pos += 2;
            break;
        }
        default:
            out += line[pos];
        }
    }
    return std::nullopt;
}

std::optional<TSettingsStore::TValue> ParseValue(const std::string& text) {
    TSettingsStore::TValue value;
    if (text.rfind("dword:", 0) == 0) {
        std::string digits = text.substr(6);
        if (digits.empty() || digits.size() > 8) return std::nullopt;
        for (char c : digits)
            if (HexDigit(c) < 0) return std::nullopt;
        value.isInteger = true;
        value.integer = static_cast<std::int32_t>(std::stoul(digits, nullptr, 16));
        return value;
    }
    std::size_t pos = 0;
    auto quoted = Unquote(text, pos);
    if (!quoted || pos != text.size()) return std::nullopt;
    value.text = *quoted;
    return value;
}

bool ValidKeyPath(const std::string& path) {
    if (path.empty() || path.front() == '\\' || path.back() == '\\') return false;
    if (path.find("\\\\") != std::string::npos) return false;
    for (unsigned char c : path)
        if (c < 0x20 || c == 0x7F || c == ']') return false;
    return true;
}

std::shared_ptr<TSettingsStore>& DefaultStore() {
    static std::shared_ptr<TSettingsStore> store;
    return store;
}

std::string& DefaultFileNameOverride() {
    static std::string fileName;
    return fileName;
}

} // namespace

TSettingsStore::TSettingsStore(std::string fileName) : fileName_(std::move(fileName)) {
    Load();
}

std::string TSettingsStore::DefaultFileName() {
    if (!DefaultFileNameOverride().empty()) return DefaultFileNameOverride();
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::filesystem::path base;
    if (config && *config && std::filesystem::path(config).is_absolute()) {
        base = config;
    } else {
        const char* home = std::getenv("HOME");
        base = std::filesystem::path(home && *home ? home : ".") / ".config";
    }
    return (base / "ondrex" / "registry.ini").string();
}

std::shared_ptr<TSettingsStore> TSettingsStore::Default() {
    auto& store = DefaultStore();
    if (!store) store = std::make_shared<TSettingsStore>(DefaultFileName());
    return store;
}

void TSettingsStore::SetDefaultFileName(const std::string& fileName) {
    DefaultFileNameOverride() = fileName;
    DefaultStore().reset();
}

std::string TSettingsStore::Normalize(const std::string& path) {
    return AnsiLowerCase(TCodePage::Utf8, path);
}

TSettingsStore::TKey* TSettingsStore::Find(const std::string& path) {
    auto it = keys_.find(Normalize(path));
    return it == keys_.end() ? nullptr : &it->second;
}

const TSettingsStore::TKey* TSettingsStore::Find(const std::string& path) const {
    auto it = keys_.find(Normalize(path));
    return it == keys_.end() ? nullptr : &it->second;
}

TSettingsStore::TKey& TSettingsStore::Ensure(const std::string& path) {
    for (std::size_t slash = path.find('\\'); slash != std::string::npos;
         slash = path.find('\\', slash + 1)) {
        std::string parent = path.substr(0, slash);
        keys_.try_emplace(Normalize(parent), TKey{parent, {}});
    }
    return keys_.try_emplace(Normalize(path), TKey{path, {}}).first->second;
}

bool TSettingsStore::KeyExists(const std::string& path) const {
    return Find(path) != nullptr;
}

bool TSettingsStore::CreateKey(const std::string& path) {
    if (!ValidKeyPath(path)) return false;
    if (Find(path)) return true;
    Ensure(path);
    Save();
    return true;
}

bool TSettingsStore::DeleteKey(const std::string& path) {
    const std::string key = Normalize(path);
    auto it = keys_.find(key);
    if (it == keys_.end()) return false;
    const std::string prefix = key + "\\";
    keys_.erase(it);
    for (auto sub = keys_.lower_bound(prefix);
         sub != keys_.end() && sub->first.compare(0, prefix.size(), prefix) == 0;)
        sub = keys_.erase(sub);
    Save();
    return true;
}

std::vector<std::string> TSettingsStore::SubKeyNames(const std::string& path) const {
    std::vector<std::string> names;
    const std::string prefix = Normalize(path) + "\\";
    for (auto it = keys_.lower_bound(prefix);
         it != keys_.end() && it->first.compare(0, prefix.size(), prefix) == 0; ++it)
        if (it->first.find('\\', prefix.size()) == std::string::npos)
            names.push_back(it->second.path.substr(prefix.size()));
    return names;
}

std::optional<TSettingsStore::TValue> TSettingsStore::FindValue(const std::string& path,
                                                                const std::string& name) const {
    if (const TKey* key = Find(path))
        for (const auto& [valueName, value] : key->values)
            if (SameText(valueName, name)) return value;
    return std::nullopt;
}

bool TSettingsStore::SetValue(const std::string& path, const std::string& name,
                              const TValue& value) {
    TKey* key = Find(path);
    if (!key) return false;
    bool found = false;
    for (auto& [valueName, stored] : key->values)
        if (SameText(valueName, name)) {
            stored = value;
            found = true;
        }
    if (!found) key->values.emplace_back(name, value);
    Save();
    return true;
}

bool TSettingsStore::DeleteValue(const std::string& path, const std::string& name) {
    TKey* key = Find(path);
    if (!key) return false;
    auto before = key->values.size();
    std::erase_if(key->values, [&](const auto& entry) { return SameText(entry.first, name); });
    if (key->values.size() == before) return false;
    Save();
    return true;
}

std::vector<std::string> TSettingsStore::ValueNames(const std::string& path) const {
    std::vector<std::string> names;
    if (const TKey* key = Find(path))
        for (const auto& entry : key->values)
            names.push_back(entry.first);
    return names;
}

void TSettingsStore::Load() {
    std::ifstream in(fileName_, std::ios::binary);
    if (!in) return;
    TKey* current = nullptr;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            current = nullptr;
            if (line.back() != ']') continue;
            std::string path = line.substr(1, line.size() - 2);
            if (ValidKeyPath(path)) current = &Ensure(path);
            continue;
        }
        std::size_t pos = 0;
        auto name = Unquote(line, pos);
        if (!current || !name || pos >= line.size() || line[pos] != '=') continue;
        if (auto value = ParseValue(line.substr(pos + 1))) {
            std::erase_if(current->values,
                          [&](const auto& entry) { return SameText(entry.first, *name); });
            current->values.emplace_back(*name, *value);
        }
    }
}

void TSettingsStore::Save() const {
    std::ostringstream out;
    out << "; Ondrex settings\n";
    for (const auto& [normalized, key] : keys_) {
        out << "\n[" << key.path << "]\n";
        for (const auto& [name, value] : key.values) {
            out << Quote(name) << '=';
            if (value.isInteger) {
                char hex[16];
                std::snprintf(hex, sizeof hex, "dword:%08x",
                              static_cast<std::uint32_t>(value.integer));
                out << hex << '\n';
            } else {
                out << Quote(value.text) << '\n';
            }
        }
    }
    std::error_code error;
    const std::filesystem::path target(fileName_);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), error);
    const std::string temporary = fileName_ + ".tmp";
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        file << out.str();
        if (!file.flush())
            throw ERegistryException("Failed to write settings file '" + fileName_ + "'");
    }
    std::filesystem::rename(temporary, target, error);
    if (error)
        throw ERegistryException("Failed to write settings file '" + fileName_ +
                                 "': " + error.message());
}

} // namespace ondrex
