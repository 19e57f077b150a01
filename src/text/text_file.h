// Text files written on any system (theme definitions, the profile file) are read alike,
// whatever the code page of the one reading them.
#pragma once

#include <string>
#include <string_view>

enum class TextFileEncoding { kUtf16Le, kUtf8WithBom, kUtf8, kCp932 };

struct TextFileBytes {
    TextFileEncoding encoding;
    std::string_view payload;  // the bytes after the byte-order mark
};

// In this order: UTF-16LE with its byte-order mark, UTF-8 with its mark, valid UTF-8, and
// otherwise CP932, the code page older files were written in.
TextFileBytes DetectTextFileEncoding(std::string_view bytes);

#ifdef _WIN32
// The file's bytes as UTF-8, decoded by the encoding DetectTextFileEncoding finds.
std::string DecodeTextFile(std::string_view bytes);
#endif
