// The launcher's icon cache. It owns the store of every icon the buttons show, the data file
// the store is filled from at start and written to at the quit, the data-loaded flag (read by
// the loading notification icon's thread, hence atomic) and the icon size of the last load.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>

#include "items/icon_store.h"
#include "launcher/grid_layout.h"
#include "settings/kestrovar_settings.h"

class LauncherIconCache {
public:
    explicit LauncherIconCache(CKestrovarSettings& settings) : settings_(settings) {}

    // The icon of a command: from the store once it is loaded, else from the shell.
    HICON GetIcon(const std::string& command);
    // What an item on a volume that cannot be reached now shows.
    HICON DefaultItemIcon();
    // Empties the store and refills it from the data file, pairing its images with the used
    // items by position; a file that cannot be read is told in a message box owned by owner.
    // The loaded flag is left to the caller, which sets it when the whole load is over.
    void Fill(HWND owner);
    // Writes the data file at the quit, unless nothing has changed since it was read.
    void Save();
    void DeleteDataFile();
    void Clear() { store_.Clear(); }

    bool IsLoaded() const { return loaded_; }
    void SetLoaded(bool loaded) { loaded_ = loaded; }
    const std::atomic<bool>* LoadedFlag() const { return &loaded_; }

    // The icons are made at the size they are drawn at: IconSize at the launcher's scale. A
    // rebuild at another size than that of the last load reloads them.
    void SetScale(DrawScale scale) { scale_ = scale; }
    int IconSize() const { return scale_.Length(settings_.IconSize); }
    bool SizeDiffersFromLoad() const { return lastLoadIconSize_ != IconSize(); }
    void NoteLoadedSize() { lastLoadIconSize_ = IconSize(); }
    void ForgetLoadedSize() { lastLoadIconSize_ = 0; }

private:
    CKestrovarSettings& settings_;
    IconStore store_;
    std::atomic<bool> loaded_{false};
    DrawScale scale_;
    int lastLoadIconSize_ = 0;
};
