#include "text/text_file.h"

#include "text/unicode.h"

namespace {

constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

bool StartsWith(std::string_view text, std::string_view start) {
    return text.substr(0, start.size()) == start;
}

}  // namespace

TextFileBytes DetectTextFileEncoding(std::string_view bytes) {
    if (StartsWith(bytes, kUtf16LeMark))
        return {TextFileEncoding::kUtf16Le, bytes.substr(kUtf16LeMark.size())};
    if (StartsWith(bytes, kUtf8Mark))
        return {TextFileEncoding::kUtf8WithBom, bytes.substr(kUtf8Mark.size())};
    if (IsValidUtf8(bytes))
        return {TextFileEncoding::kUtf8, bytes};
    return {TextFileEncoding::kCp932, bytes};
}
