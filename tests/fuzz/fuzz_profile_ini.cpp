// The profile file: whatever text is read, writing what was read and reading it again gives the
// same sections, names, types and values.
#include <string>

#include "fuzz_input.h"
#include "text/profile_ini.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ProfileSections read = ParseProfileIni(std::string_view(reinterpret_cast<const char*>(data), size));
    for (auto it = read.begin(); it != read.end();)
        it = it->second.empty() ? read.erase(it) : std::next(it);  // an empty section is not written
    const std::string written = FormatProfileIni(read);
    FUZZ_CHECK(ParseProfileIni(std::string_view(written).substr(3)) == read);
    return 0;
}
