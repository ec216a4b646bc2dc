#include "common/cp1251.hpp"

#include <cstdint>

namespace common {

namespace {

constexpr char32_t kUnassigned = 0xFFFD;

// The characters of the bytes 0x80..0xFF; 0xC0..0xFF are А..я in order.
constexpr char32_t kHighHalf[128] = {
    0x0402,      0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x20AC,      0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 0x88
    0x0452,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    kUnassigned, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 0x98
    0x00A0,      0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // 0xA0
    0x0401,      0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // 0xA8
    0x00B0,      0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // 0xB0
    0x0451,      0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // 0xB8
    0x0410,      0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // 0xC0
    0x0418,      0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // 0xC8
    0x0420,      0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // 0xD0
    0x0428,      0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // 0xD8
    0x0430,      0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // 0xE0
    0x0438,      0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // 0xE8
    0x0440,      0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // 0xF0
    0x0448,      0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // 0xF8
};

// Reads one UTF-8 sequence at `at`, advancing it; false (and one byte consumed) for a
// malformed, overlong or surrogate sequence.
bool NextCodePoint(std::string_view text, std::size_t& at, char32_t& code) {
    const auto lead = static_cast<unsigned char>(text[at++]);
    int length = 0;
    char32_t minimum = 0;
    if (lead < 0x80) {
        code = lead;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 1, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - at < static_cast<std::size_t>(length)) return false;
    for (int i = 0; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return false;
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
    at += length;
    return true;
}

bool EncodeCodePoint(char32_t code, char& byte) {
    if (code < 0x80) {
        byte = static_cast<char>(code);
        return true;
    }
    if (code == kUnassigned) return false;
    for (int i = 0; i < 128; ++i) {
        if (kHighHalf[i] == code) {
            byte = static_cast<char>(0x80 + i);
            return true;
        }
    }
    return false;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string Utf8ToCp1251(std::string_view utf8, bool& ok) {
    std::string out;
    out.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        char32_t code = 0;
        char byte = kCp1251Replacement;
        if (!NextCodePoint(utf8, at, code) || !EncodeCodePoint(code, byte)) {
            ok = false;
            byte = kCp1251Replacement;
        }
        out += byte;
    }
    return out;
}

std::string Utf8ToCp1251(std::string_view utf8) {
    bool ignored = true;
    return Utf8ToCp1251(utf8, ignored);
}

std::string Cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        AppendUtf8(out, byte < 0x80 ? char32_t{byte} : kHighHalf[byte - 0x80]);
    }
    return out;
}

std::string EncodeText(std::string_view utf8, TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? std::string(utf8) : Utf8ToCp1251(utf8);
}

}  // namespace common
