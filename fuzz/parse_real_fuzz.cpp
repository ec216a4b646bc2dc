// ParseSignedReal and ParseUnsignedReal against an independent reading of the same grammar:
// they accept exactly the texts of the grammar, never give NaN or infinity with ok, agree with
// the C library's strtod of the counted digits, and a value with few digits prints back through
// FormatFixed as the text it came from.

#include <cmath>
#include <cstdlib>
#include <string>

#include "common/text.hpp"
#include "fuzz_check.hpp"

namespace {

constexpr std::size_t kCountedFractionDigits = 12;
// Up to this many significant digits a parsed value is close enough to its decimal text that
// rounding to the same number of decimals gives the text back.
constexpr std::size_t kExactDigits = 14;

struct Reading {
    bool accepted = false;
    bool negative = false;
    std::string integer;   // without leading zeros
    std::string fraction;  // the counted digits
};

bool OnlyDigits(std::string_view s) {
    return s.find_first_not_of("0123456789") == std::string_view::npos;
}

// The grammar: [sign] digits [separator digits], a sign only in front of something, at most
// one separator, nothing else.
Reading Read(std::string_view text, bool signAllowed) {
    Reading r;
    if (signAllowed && text.size() > 1 && (text[0] == '-' || text[0] == '+')) {
        r.negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return r;
    const auto separator = text.find_first_of(".,");
    std::string_view integer = text.substr(0, separator);
    std::string_view fraction =
        separator == std::string_view::npos ? std::string_view{} : text.substr(separator + 1);
    if (!OnlyDigits(integer) || !OnlyDigits(fraction)) return r;
    r.accepted = true;
    const auto first = integer.find_first_not_of('0');
    r.integer = first == std::string_view::npos ? "" : std::string(integer.substr(first));
    r.fraction = std::string(fraction.substr(0, kCountedFractionDigits));
    return r;
}

void CheckAgainstReading(const Reading& r, bool ok, double value) {
    const std::string plain = (r.integer.empty() ? "0" : r.integer) + "." + r.fraction;
    const double reference = r.accepted ? std::strtod(plain.c_str(), nullptr) : 0.0;
    // At the very top of the double range the two may round differently; above it both refuse.
    const bool nearOverflow = reference > 1.7e308;
    if (!nearOverflow) FUZZ_CHECK(ok == r.accepted, "accepted exactly the grammar");
    if (!ok) {
        FUZZ_CHECK(value == 0.0, "a refused text gives 0");
        return;
    }
    FUZZ_CHECK(r.accepted, "accepted only the grammar");
    FUZZ_CHECK(std::isfinite(value) && std::isfinite(reference), "never NaN or infinity with ok");

    const double magnitude = std::fabs(value);
    FUZZ_CHECK(std::fabs(magnitude - reference) <= std::ldexp(reference, -50),
               "agrees with strtod");
    FUZZ_CHECK(std::signbit(value) == r.negative, "keeps the sign");

    if (r.integer.size() + r.fraction.size() <= kExactDigits) {
        const bool zero = reference == 0.0;
        const std::string expected = (r.negative && !zero ? "-" : "") + plain;
        const auto decimals = static_cast<std::uint8_t>(r.fraction.size());
        FUZZ_CHECK(common::FormatFixed(false, 1, true, value, decimals, '.') == expected,
                   "prints back as its text");
    }
    // Twelve decimals and back: within half a unit of the twelfth decimal.
    const std::string printed = common::FormatFixed(false, 1, true, value, 12, '.');
    bool reparsedOk = true;
    const double reparsed = common::ParseSignedReal(printed, reparsedOk);
    FUZZ_CHECK(reparsedOk, "formatted text parses");
    FUZZ_CHECK(std::fabs(reparsed - value) <= 0.5e-12 + std::ldexp(magnitude, -50),
               "formatted text parses to the value");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);

    bool ok = true;
    const double value = common::ParseSignedReal(text, ok);
    CheckAgainstReading(Read(text, true), ok, value);

    bool unsignedOk = true;
    const double unsignedValue = common::ParseUnsignedReal(text, unsignedOk);
    CheckAgainstReading(Read(text, false), unsignedOk, unsignedValue);
    if (unsignedOk) FUZZ_CHECK(ok && value == unsignedValue, "unsigned agrees with signed");

    bool cleared = false;
    common::ParseSignedReal(text, cleared);
    FUZZ_CHECK(!cleared, "a parse never sets the flag");
    return 0;
}
