// The built launcher images, read from their files: the link options that keep the hidden
// launcher small must stay in effect.
//  - Sections aligned in the file as in memory: Wine maps such an image from the file; any
//    other alignment makes it copy the whole image into private memory.
//  - The libraries loaded only at their first call do not appear among the imports resolved
//    at process start.
//  - The program's manifest declares the systems it supports, that it runs as its invoker, and
//    that it draws itself at the DPI of its monitor (the system must not stretch it).
#include <windows.h>

#include "support/own_paths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<char>;

Bytes ReadImage(const std::string& name) {
    std::ifstream file(std::filesystem::path(Wide(kvtest::OwnFolder() + "\\" + name)), std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

template <typename T>
const T* At(const Bytes& image, size_t offset) {
    return offset + sizeof(T) <= image.size() ? reinterpret_cast<const T*>(image.data() + offset) : nullptr;
}

const IMAGE_NT_HEADERS* NtHeaders(const Bytes& image) {
    const auto* dos = At<IMAGE_DOS_HEADER>(image, 0);
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return nullptr;
    const auto* nt = At<IMAGE_NT_HEADERS>(image, static_cast<size_t>(dos->e_lfanew));
    return nt && nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
}

// File offset of a relative virtual address, 0 if no section holds it.
size_t FileOffset(const Bytes& image, const IMAGE_NT_HEADERS* nt, DWORD rva) {
    const auto* sections = IMAGE_FIRST_SECTION(nt);
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i) {
        const IMAGE_SECTION_HEADER& s = sections[i];
        if (rva >= s.VirtualAddress && rva < s.VirtualAddress + std::max(s.Misc.VirtualSize, s.SizeOfRawData))
            return rva - s.VirtualAddress + s.PointerToRawData;
    }
    (void)image;
    return 0;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::vector<std::string> StartImports(const Bytes& image) {
    std::vector<std::string> names;
    const IMAGE_NT_HEADERS* nt = NtHeaders(image);
    if (!nt)
        return names;
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    size_t offset = FileOffset(image, nt, directory.VirtualAddress);
    while (const auto* entry = At<IMAGE_IMPORT_DESCRIPTOR>(image, offset)) {
        if (entry->Name == 0)
            break;
        const size_t nameOffset = FileOffset(image, nt, entry->Name);
        if (nameOffset == 0 || nameOffset >= image.size())
            break;
        names.push_back(Lower(
            std::string(image.data() + nameOffset, strnlen(image.data() + nameOffset, image.size() - nameOffset))));
        offset += sizeof(IMAGE_IMPORT_DESCRIPTOR);
    }
    return names;
}

TEST(LauncherImageTest, BothImagesAreAlignedInTheFileAsInMemory) {
    for (const char* name : {"Kestrovar.exe", "Kestrovar.dll"}) {
        const Bytes image = ReadImage(name);
        const IMAGE_NT_HEADERS* nt = NtHeaders(image);
        ASSERT_NE(nt, nullptr) << name;
        EXPECT_EQ(nt->OptionalHeader.FileAlignment, nt->OptionalHeader.SectionAlignment) << name;
    }
}

TEST(LauncherImageTest, RarelyUsedLibrariesAreNotLoadedAtStart) {
#if !defined(_WIN64)
    GTEST_SKIP() << "the 64-bit build alone loads them at their first call";
#endif
    const std::vector<std::string> imports = StartImports(ReadImage("Kestrovar.exe"));
    ASSERT_FALSE(imports.empty());
    EXPECT_NE(std::find(imports.begin(), imports.end(), "user32.dll"), imports.end());
    for (const char* later : {"comdlg32.dll", "ole32.dll", "version.dll", "winmm.dll", "psapi.dll"})
        EXPECT_EQ(std::find(imports.begin(), imports.end(), later), imports.end()) << later;
}

// The manifest resource (RT_MANIFEST id 1) of a built image, empty if it has none.
std::string ManifestOf(const char* name) {
    HMODULE image = LoadLibraryExW(Wide(kvtest::OwnFolder() + "\\" + name).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!image)
        return "";
    std::string text;
    if (HRSRC found = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24))) {
        const char* data = static_cast<const char*>(LockResource(LoadResource(image, found)));
        if (data)
            text.assign(data, SizeofResource(image, found));
    }
    FreeLibrary(image);
    return text;
}

TEST(LauncherImageTest, ManifestDeclaresSupportedSystemsInvokerLevelAndDpiAwareness) {
    const std::string manifest = ManifestOf("Kestrovar.exe");
    ASSERT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos) << manifest;
    const char* entries[] = {
        "<supportedOS Id=\"{e2011457-1546-43c5-a5fe-008deee3d3f0}\"/>",  // Vista
        "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>",  // 7
        "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>",  // 8
        "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>",  // 8.1
        "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",  // 10 and 11
        "<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">",
        "<trustInfo xmlns=\"urn:schemas-microsoft-com:asm.v3\">",
        "<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>",
        // Per-monitor v2 where the system has it, else system awareness.
        "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
        "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, "
        "System</dpiAwareness>",
    };
    for (const char* entry : entries)
        EXPECT_NE(manifest.find(entry), std::string::npos) << entry;
}

}  // namespace
