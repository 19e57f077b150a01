// kvsaveloop COMPANY: saves the settings record to HKCU\Software\COMPANY over and over,
// alternating between two item orders in which every item changes its slot, until killed.
// kvsaveloop --ini PATH: the same into a profile file.
#include "framework/ini_profile.h"
#include "framework/registry_profile.h"
#include "settings/settings_record.h"

#include <memory>
#include <string>

namespace {
constexpr int kItems = 200;

std::string ItemText(int n) {
    return "tip" + std::to_string(n) + "*C:\\prog" + std::to_string(n) + ".exe";
}

void FillItems(KestrovarOptions& options, bool rotated) {
    options.Items.RemoveAllItems();
    for (int slot = 0; slot < kItems; ++slot) {
        int n = rotated ? (slot + 1) % kItems : kItems - 1 - slot;
        std::string text = ItemText(n);
        size_t star = text.find('*');
        options.Items.SetItem(slot, text.substr(0, star), text.substr(star + 1));
    }
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    const std::string target = argv[1];
    std::unique_ptr<ProfileStore> store;
    if (target == "--ini" && argc > 2) {
        auto ini = std::make_unique<IniProfile>(argv[2]);
        ini->Load();
        store = std::move(ini);
    } else {
        store = std::make_unique<RegistryProfile>(target, "Kestrovar");
    }
    ProfileStore& profile = *store;
    KestrovarOptions options;
    for (bool rotated = false;; rotated = !rotated) {
        FillItems(options, rotated);
        SaveOptions(options, profile);
    }
}
