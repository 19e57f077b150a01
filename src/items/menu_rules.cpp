#include "items/menu_rules.h"

#include <algorithm>

#include "items/command_ids.h"
#include "settings/launch_item.h"
#include "settings/settings_record.h"

namespace {

MenuEntry Command(int id, const char* text, bool checked = false) {
    MenuEntry entry;
    entry.id = id;
    entry.text = text;
    entry.checked = checked;
    return entry;
}

MenuEntry Separator() {
    MenuEntry entry;
    entry.kind = MenuEntry::kSeparator;
    return entry;
}

void AppendItemCommands(const MenuContext& context, std::vector<MenuEntry>& menu) {
    const bool withinUsedRange = context.clickedIndex <= context.highestUsedIndex;
    menu.push_back(Command(kCmdRegister, "登録(&A)"));
    if (withinUsedRange) {
        menu.push_back(Command(kCmdInsertBlank, "空白を挿入(&I)"));
        menu.push_back(Command(kCmdDelete, "削除(&D)"));
    }
    menu.push_back(Separator());
    if (withinUsedRange && context.hasRecord) {
        // The missing opening parenthesis is the established text of this entry.
        menu.push_back(Command(kCmdEditTip, "ﾂｰﾙﾁｯﾌﾟﾃｷｽﾄの編集&P)"));
        menu.push_back(Command(kCmdEditCommand, "起動ｺﾏﾝﾄﾞの編集(&E)"));
        menu.push_back(Command(kCmdOpenLink, "ﾘﾝｸ先を開く(&L)"));
        menu.push_back(Separator());
    }
}

MenuEntry ThemeSubmenu(const MenuContext& context) {
    MenuEntry submenu;
    submenu.kind = MenuEntry::kSubmenu;
    submenu.text = "ﾃｰﾏ(&T)";
    submenu.children.push_back(Command(kCmdDefaultTheme, kPlainThemeName, !context.skinMode));
    submenu.children.push_back(Separator());
    const size_t count = std::min(context.themeNames.size(), static_cast<size_t>(kMaxThemeMenuEntries));
    for (size_t n = 0; n < count; ++n) {
        MenuEntry entry;
        entry.id = kCmdFirstTheme + static_cast<int>(n);
        entry.text = context.themeNames[n];
        entry.checked = context.themeNames[n] == context.themeName;
        submenu.children.push_back(entry);
    }
    return submenu;
}

}  // namespace

std::vector<MenuEntry> BuildLauncherMenu(const MenuContext& context) {
    std::vector<MenuEntry> menu;
    if (context.onButton)
        AppendItemCommands(context, menu);
    menu.push_back(Command(kCmdSettings, "設定(&O)"));
    if (!context.themeNames.empty())
        menu.push_back(ThemeSubmenu(context));
    menu.push_back(Separator());
    menu.push_back(Command(kCmdVersion, "ﾊﾞｰｼﾞｮﾝ情報(&V)"));
    menu.push_back(Command(kCmdCancel, "ｷｬﾝｾﾙ(&C)"));
    menu.push_back(Separator());
    menu.push_back(Command(kCmdQuit, "Kestrovarの終了(&X)"));
    return menu;
}

std::optional<int> ThemeIndexFromCommand(int id) {
    if (id < kCmdFirstTheme || id >= kCmdFirstTheme + kMaxThemeMenuEntries)
        return std::nullopt;
    return id - kCmdFirstTheme;
}

bool CommandTargetChanged(const std::string& oldProgram, const std::string& newCommand) {
    return newCommand.find(oldProgram) == std::string::npos;
}

namespace {
constexpr char kProfileSeparator = '*';
constexpr char kFullWidthAsterisk[] = "＊";
}  // namespace

std::string StorableTooltip(const std::string& tip, const std::string& command) {
    if (tip.empty())
        return command.empty() ? std::string() : std::string(kNoTooltipText);
    std::string storable;
    for (const char c : tip) {
        if (c == kProfileSeparator)
            storable += kFullWidthAsterisk;
        else
            storable += c;
    }
    return storable;
}

bool IsStorableCommand(const std::string& command) {
    return command.find(kProfileSeparator) == std::string::npos;
}

namespace {
std::string ProgramPart(const std::string& command, const PathProbe& probe) {
    std::string program, parameters;
    SplitCommandLine(command, program, parameters, probe);
    return program;
}
}  // namespace

std::string TooltipAfterCommandEdit(const std::string& oldTip,
                                    const std::string& oldCommand,
                                    const std::string& newCommand,
                                    const PathProbe& probe,
                                    const std::function<std::string(const std::string&)>& describe) {
    if (newCommand.empty())
        return std::string();
    if (!oldTip.empty() && !CommandTargetChanged(ProgramPart(oldCommand, probe), newCommand))
        return oldTip;
    // The description belongs to the program, not to the command with its parameters.
    const std::string newProgram = ProgramPart(newCommand, probe);
    std::string tip = describe(newProgram.empty() ? newCommand : newProgram);
    if (tip.empty())
        tip = newCommand;
    return StorableTooltip(tip, newCommand);
}
