// The code page both ways: every byte string decodes to UTF-8 that encodes back to the same
// bytes (the one unassigned byte 0x98 aside), and encoding arbitrary bytes never yields more
// bytes than it was given and keeps ASCII.

#include <string>

#include "common/cp1251.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view bytes = fuzz::AsText(data, size);

    const std::string utf8 = common::Cp1251ToUtf8(bytes);
    bool ok = true;
    const std::string back = common::Utf8ToCp1251(utf8, ok);
    const bool unassigned = bytes.find('\x98') != std::string_view::npos;
    FUZZ_CHECK(ok == !unassigned, "only the unassigned byte is lost");
    std::string expected(bytes);
    for (char& c : expected) {
        if (c == '\x98') c = common::kCp1251Replacement;
    }
    FUZZ_CHECK(back == expected, "decode then encode gives the bytes back");

    bool anyOk = true;
    const std::string encoded = common::Utf8ToCp1251(bytes, anyOk);
    FUZZ_CHECK(encoded.size() <= bytes.size(), "never longer");
    bool ascii = true;
    for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
    if (ascii) FUZZ_CHECK(encoded == bytes && anyOk, "ASCII unchanged");
    return 0;
}
