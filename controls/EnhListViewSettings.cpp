// Saving and restoring column widths and the current sort in the settings store: under
// HKEY_CURRENT_USER\<RegistryKey>, subkey Columns (value Sizes, widths joined by ",") and
// subkey Sort (Ascending "1"/"0", SortCol as a decimal). Malformed values fall back to
// defaults without a word.

#include "controls/TCustomEnhListView.h"

#include "platform/BetterRegistry.h"
#include "platform/ScopedGuard.h"

#include <algorithm>
#include <charconv>

namespace ondrex {

namespace {

bool ToInt(std::string_view text, int& value) {
    // Blanks around the digits are accepted, as the classic conversion did.
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    int parsed = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return false;
    value = parsed;
    return true;
}

std::string Join(const std::vector<int>& values) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) out += ',';
        out += std::to_string(values[i]);
    }
    return out;
}

} // namespace

std::string TCustomEnhListView::ReadSettingsValue(const std::string& key, const char* name) {
    TBetterRegistry registry;
    if (!registry.OpenKey(key, true)) return {};
    return registry.ReadString(name);
}

void TCustomEnhListView::WriteSettingsValue(const std::string& key, const char* name,
                                            const std::string& value) {
    TBetterRegistry registry;
    if (registry.OpenKey(key, true)) registry.WriteString(name, value);
}

std::string TCustomEnhListView::SettingsPath(const char* section) {
    std::string key = SaveSettings().RegistryKey;
    while (!key.empty() && key.front() == '\\')
        key.erase(0, 1);
    return "\\" + key + "\\" + section;
}

void TCustomEnhListView::ParseList(const std::string& text, std::vector<int>& values,
                                   const int* fallback) {
    std::string_view rest = text;
    for (std::size_t i = 0; i < values.size() && !rest.empty(); ++i) {
        const std::size_t comma = rest.find(',');
        const std::string_view part = rest.substr(0, comma);
        if (!ToInt(part, values[i]) && fallback) values[i] = *fallback;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
}

void TCustomEnhListView::WriteColumnSizes() {
    std::vector<int> widths;
    for (int i = 0; i < Columns().Count(); ++i) {
        const TListColumn* column = GetActualColumn(i);
        widths.push_back(column ? column->Width() : 0);
    }
    WriteSettingsValue(SettingsPath("Columns"), "Sizes", Join(widths));
}

void TCustomEnhListView::ReadColumnSizes() {
    const int count = Columns().Count();
    std::vector<int> widths(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        const TListColumn* column = GetActualColumn(i);
        widths[std::size_t(i)] = column ? column->Width() : 0;
    }
    const std::string sizes = ReadSettingsValue(SettingsPath("Columns"), "Sizes");
    if (sizes.empty()) return;
    ParseList(sizes, widths, nullptr);
    if (widths[0] == -1) return;
    for (int i = 0; i < count; ++i)
        if (TListColumn* column = GetActualColumn(i)) column->SetWidth(widths[std::size_t(i)]);
}

bool TCustomEnhListView::WriteSortSettings() {
    const std::string key = SettingsPath("Sort");
    WriteSettingsValue(key, "Ascending", currentSortAscending_ ? "1" : "0");
    WriteSettingsValue(key, "SortCol", std::to_string(currentSortColumn_));
    return true;
}

bool TCustomEnhListView::ReadSortSettings() {
    const std::string key = SettingsPath("Sort");
    int ascending = 1;
    ToInt(ReadSettingsValue(key, "Ascending"), ascending);
    int column = 0;
    ToInt(ReadSettingsValue(key, "SortCol"), column);
    column = std::min(column, Columns().Count() - 1);
    column = std::max(column, 0);
    const TScopedPair<TCustomEnhListView, &TCustomEnhListView::BeginUpdate,
                      &TCustomEnhListView::EndUpdate>
        update(*this);
    SetCurrentSortAscending(ascending != 0);
    SetCurrentSortColumn(column);
    Resort();
    return true;
}

bool TCustomEnhListView::WriteSettings() {
    if (Columns().Count() > 0) {
        if (SaveSettings().SaveColumnSizes) WriteColumnSizes();
        if (SaveSettings().SaveCurrentSort) WriteSortSettings();
    }
    return true;
}

bool TCustomEnhListView::ReadSettings() {
    if (Columns().Count() > 0 && SaveSettings().SaveColumnSizes) ReadColumnSizes();
    if (SaveSettings().SaveCurrentSort) ReadSortSettings();
    return true;
}

bool TCustomEnhListView::LoadSettings() {
    if (!SaveSettings().AutoSave) return false;
    return ReadSettings();
}

void TCustomEnhListView::StoreSettings() {
    if (!SaveSettings().AutoSave || loading_) return;
    WriteSettings();
}

} // namespace ondrex
