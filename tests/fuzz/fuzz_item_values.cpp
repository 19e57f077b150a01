// Item values from the profile: whatever the stored texts, loading keeps only tip*command
// pairs of two non-empty pieces, and saving then loading gives the same list.
#include "fuzz_input.h"
#include "memory_profile.h"
#include "settings/item_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> lines = FuzzLines(data, size);
    MemoryProfile stored;
    for (size_t i = 0; i < lines.size() && i < 16; ++i)
        stored.Set("Path Name", "Button" + std::to_string(i * 7), lines[i]);

    ItemList items;
    ReadItems(items, stored);
    for (const auto& record : items.records()) {
        FUZZ_CHECK(!record->strTip.empty() && !record->strCommand.empty());
        FUZZ_CHECK(record->strTip.find('*') == std::string::npos);
        FUZZ_CHECK(record->strCommand.find('*') == std::string::npos);
    }

    MemoryProfile saved;
    WriteItems(items, saved);
    ItemList reloaded;
    ReadItems(reloaded, saved);
    FUZZ_CHECK(reloaded.size() == items.size());
    for (const auto& record : items.records()) {
        const CLaunchItem* again = reloaded.FindItem(record->nIndex);
        FUZZ_CHECK(again && again->strTip == record->strTip && again->strCommand == record->strCommand);
    }
    return 0;
}
