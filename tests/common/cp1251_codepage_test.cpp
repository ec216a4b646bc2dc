#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "common/cp1251.hpp"
#include "common/nomenclature.hpp"

namespace {

using common::Cp1251ToUtf8;
using common::Utf8ToCp1251;

// The C library's own converter, as an independent reference for the code page.
std::string ReferenceDecode(unsigned char byte, bool& ok) {
    iconv_t cd = iconv_open("UTF-8", "CP1251");
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        ok = false;
        return {};
    }
    char in[1] = {static_cast<char>(byte)};
    char out[8] = {};
    char* inp = in;
    char* outp = out;
    std::size_t inLeft = 1;
    std::size_t outLeft = sizeof out;
    ok = iconv(cd, &inp, &inLeft, &outp, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    return std::string(out, outp);
}

TEST(Cp1251, EveryByteAgreesWithTheCLibraryAndComesBack) {
    bool available = true;
    ReferenceDecode('A', available);
    if (!available) GTEST_SKIP() << "no CP1251 converter in the C library";
    for (int byte = 0x01; byte <= 0xFF; ++byte) {
        const std::string one(1, static_cast<char>(byte));
        const std::string utf8 = Cp1251ToUtf8(one);
        bool ok = true;
        const std::string reference = ReferenceDecode(static_cast<unsigned char>(byte), ok);
        if (!ok) {
            EXPECT_EQ(utf8, "\xEF\xBF\xBD") << std::hex << byte;
            continue;
        }
        EXPECT_EQ(utf8, reference) << std::hex << byte;
        bool encoded = true;
        EXPECT_EQ(Utf8ToCp1251(utf8, encoded), one) << std::hex << byte;
        EXPECT_TRUE(encoded) << std::hex << byte;
    }
}

TEST(Cp1251, SheetNamesBecomeSingleBytes) {
    const common::TNom nom = common::SheetNames(55.75, 37.6);
    // "N-37-004-В-а-4": Cyrillic capital Ve is 0xC2, small a is 0xE0.
    EXPECT_EQ(Utf8ToCp1251(nom.Sheet10k), "N-37-004-\xC2-\xE0-4");
    EXPECT_EQ(Utf8ToCp1251("АБВГ абвг Ёё №"), "\xC0\xC1\xC2\xC3 \xE0\xE1\xE2\xE3 \xA8\xB8 \xB9");
    EXPECT_EQ(Utf8ToCp1251("Полярная зона (Z)"),
              "\xCF\xEE\xEB\xFF\xF0\xED\xE0\xFF \xE7\xEE\xED\xE0 (Z)");
}

TEST(Cp1251, UnrepresentableAndMalformedTextIsReplaced) {
    struct Case {
        std::string utf8;
        std::string bytes;
    };
    const Case cases[] = {
        {"a\xE4\xB8\xAD"
         "b",
         "a?b"},                    // a CJK character
        {"\xF0\x9F\x99\x82", "?"},  // outside the basic plane
        {"\xEF\xBF\xBD", "?"},      // the replacement character itself
        {"\xD0", "?"},              // cut off at the end
        {"\xD0z", "?z"},            // continuation missing
        {"\xC0\x80", "??"},         // overlong zero
        {"\xED\xA0\x80", "???"},    // a surrogate
        {"\x80\xBF", "??"},         // stray continuation bytes
        {"\xF8\x88\x80\x80\x80", "?????"},
    };
    for (const Case& c : cases) {
        bool ok = true;
        EXPECT_EQ(Utf8ToCp1251(c.utf8, ok), c.bytes);
        EXPECT_FALSE(ok);
    }
    bool ok = true;
    EXPECT_EQ(Utf8ToCp1251(std::string("x\0y", 3), ok), std::string("x\0y", 3));
    EXPECT_TRUE(ok);
}

}  // namespace
