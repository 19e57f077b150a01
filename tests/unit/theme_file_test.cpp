#include "text/text_file.h"
#include "theme/theme_file.h"

#include <gtest/gtest.h>

TEST(ThemeFile, EncodingFromTheMarkOrTheBytes) {
    const std::string name = "背景表.bmp";
    const struct {
        std::string bytes;
        TextFileEncoding encoding;
        std::string payload;
    } cases[] = {
        {std::string("\xFF\xFE[\0", 4), TextFileEncoding::kUtf16Le, std::string("[\0", 2)},
        {"\xFF\xFE\x41", TextFileEncoding::kUtf16Le, "\x41"},  // an odd byte count keeps its bytes
        {"\xEF\xBB\xBF" + name, TextFileEncoding::kUtf8WithBom, name},
        {"\xEF\xBB", TextFileEncoding::kCp932, "\xEF\xBB"},  // a cut mark is no mark
        {"\xFF", TextFileEncoding::kCp932, "\xFF"},
        {name, TextFileEncoding::kUtf8, name},
        {"", TextFileEncoding::kUtf8, ""},
        {"\x94\x77\x8C\x69\x95\x5C.bmp", TextFileEncoding::kCp932, "\x94\x77\x8C\x69\x95\x5C.bmp"},
    };
    for (const auto& c : cases) {
        const TextFileBytes detected = DetectTextFileEncoding(c.bytes);
        EXPECT_EQ(c.encoding, detected.encoding) << c.bytes;
        EXPECT_EQ(c.payload, detected.payload) << c.bytes;
    }
}

TEST(ThemeFile, ValuesAreReadAsTheSystemReadsThem) {
    const std::string text =
        "; comment\r\n[design]\r\n  bodyimage = 背景表.bmp \r\nQuoted=\"a b\"\r\nBare\r\nLong=😀😀😀\r\n"
        "; a comment that a lone carriage return ends\r[Position]\r\nx=3\r\n[Design]\r\nLate=never read\r\n";
    const struct {
        const char* section;
        const char* key;
        const char* defaultValue;
        size_t maxUnits;
        const char* expected;
    } cases[] = {
        {"Design", "BodyImage", "", 260, "背景表.bmp"},
        {"DESIGN", "quoted", "", 260, "a b"},
        {"Design", "Bare", "d", 260, ""},
        {"Design", "Late", "d  ", 260, "d"},  // only the first section of a name, default's blanks dropped
        {"Position", "x", "", 260, "3"},
        {"Position", "BodyImage", "none", 260, "none"},
        {"Design", "Long", "", 6, "😀😀"},  // 5 units: never half a pair
        {"Design", "Long", "", 1, ""},
        {"Absent", "x", "0xFF00FF", 4, "0xF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, ThemeFileValue(text, c.section, c.key, c.defaultValue, c.maxUnits)) << c.key;
}
