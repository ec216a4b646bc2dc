#pragma once
// The single-byte Cyrillic code page (windows-1251) of the files both programs read and write.
// Source bytes pass through the converters unchanged; only text the programs compose themselves
// (sheet names with their Cyrillic quarter letters) is encoded, and the windows decode file
// bytes to show them.

#include <string>
#include <string_view>

namespace common {

// The byte written for a character the code page lacks, and for malformed UTF-8.
inline constexpr char kCp1251Replacement = '?';

// UTF-8 to windows-1251. Characters the code page lacks and malformed UTF-8 sequences become
// kCp1251Replacement; `ok` (set by the caller) is cleared when that happened.
std::string Utf8ToCp1251(std::string_view utf8, bool& ok);
std::string Utf8ToCp1251(std::string_view utf8);

// The encoding of the text a program composes into a file: windows-1251 as the programs always
// wrote, or UTF-8 where the user or the source (its byte-order mark) asks for it.
enum class TextEncoding { Cp1251, Utf8 };
// UTF-8 text in the chosen encoding.
std::string EncodeText(std::string_view utf8, TextEncoding encoding);

// windows-1251 to UTF-8; the one unassigned byte 0x98 becomes U+FFFD.
std::string Cp1251ToUtf8(std::string_view bytes);

}  // namespace common
