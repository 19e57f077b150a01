// A fixture for tests of the launcher button: two buttons side by side on a stand-in launcher
// window that is also their host, over settings in a registry profile of the test's own, which
// is deleted before and after each test.
#pragma once

#include <windows.h>

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/registry_profile.h"
#include "items/kv_button.h"
#include "settings/kestrovar_settings.h"
#include "support/gui_driver.h"

namespace kvtest {

inline constexpr int kButtonSize = 22;

// Launcher is a Window that is also the buttons' ButtonHost.
template <typename Launcher>
class ButtonFixture : public ::testing::Test {
protected:
    ButtonFixture(std::string company, const char* launcherClass, DWORD launcherExStyle)
        : company_(std::move(company)), launcherClass_(launcherClass), launcherExStyle_(launcherExStyle) {}

    void SetUp() override {
        DeleteProfile();
        profile_ = std::make_unique<RegistryProfile>(company_, "Kestrovar");
        settings_ = std::make_unique<CKestrovarSettings>(*profile_);
        const RECT frame = {100, 100, 300, 200};
        ASSERT_TRUE(launcher_.Create(launcherClass_, launcherExStyle_, launcherClass_, WS_POPUP | WS_VISIBLE, frame,
                                     nullptr, 0));
        for (int i = 0; i < 2; ++i) {
            auto button = std::make_unique<CKVButton>(*settings_, launcher_);
            const RECT rect = {3 + i * 25, 3, 3 + i * 25 + kButtonSize, 3 + kButtonSize};
            ASSERT_TRUE(button->CreateButton(launcher_.hwnd(), rect, kFirstButtonId + i));
            buttons_.push_back(std::move(button));
        }
        PumpPending();
    }

    void TearDown() override {
        buttons_.clear();
        launcher_.DestroyWindow();
        DeleteProfile();
    }

    CKVButton& Button(int i = 0) { return *buttons_[static_cast<size_t>(i)]; }

    std::unique_ptr<RegistryProfile> profile_;
    std::unique_ptr<CKestrovarSettings> settings_;
    Launcher launcher_;
    std::vector<std::unique_ptr<CKVButton>> buttons_;

private:
    void DeleteProfile() { SHDeleteKeyA(HKEY_CURRENT_USER, ("Software\\" + company_).c_str()); }

    const std::string company_;
    const char* const launcherClass_;
    const DWORD launcherExStyle_;
};

}  // namespace kvtest
