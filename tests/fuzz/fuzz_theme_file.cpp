// Theme definition files: the encoding is told from any bytes (cut marks, odd counts after a
// UTF-16 mark, malformed UTF-8), and a value read from any text stays within the text and within
// the limit, and is valid UTF-8 whenever the text is.
#include <string>

#include "fuzz_input.h"
#include "text/unicode.h"
#include "text/text_file.h"
#include "theme/theme_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const TextFileBytes detected = DetectTextFileEncoding(bytes);
    FUZZ_CHECK(detected.payload.size() <= bytes.size());
    FUZZ_CHECK(bytes.compare(bytes.size() - detected.payload.size(), std::string::npos, detected.payload) == 0);
    if (detected.encoding == TextFileEncoding::kUtf8)
        FUZZ_CHECK(IsValidUtf8(bytes));

    // The first line names the section and key to look up, the rest is the file's text.
    const std::vector<std::string> lines = FuzzLines(data, size);
    const std::string& name = lines[0];
    const size_t limit = size % 300;
    for (const std::string& key : {name, std::string("BodyImage")}) {
        const std::string value = ThemeFileValue(bytes, name, key, name, limit);
        FUZZ_CHECK(Utf16Length(value) < (limit == 0 ? 1 : limit));
        if (IsValidUtf8(bytes))
            FUZZ_CHECK(IsValidUtf8(value));
    }
    return 0;
}
