// ParseUnsignedInt: accepts exactly 1 to 18 digits, gives the number or, above the 32-bit range,
// the largest 32-bit value; the number prints back as the text without its leading zeros.

#include <cstdint>
#include <limits>
#include <string>

#include "common/text.hpp"
#include "fuzz_check.hpp"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    bool ok = true;
    const std::int32_t value = common::ParseUnsignedInt(text, ok);

    const bool digitsOnly = text.find_first_not_of("0123456789") == std::string_view::npos;
    FUZZ_CHECK(ok == (!text.empty() && text.size() <= 18 && digitsOnly), "accepted exactly");
    if (!ok) {
        FUZZ_CHECK(value == 0, "a refused text gives 0");
        return 0;
    }
    FUZZ_CHECK(value >= 0, "never negative");
    const auto first = text.find_first_not_of('0');
    const std::string_view significant =
        first == std::string_view::npos ? std::string_view("0") : text.substr(first);
    const std::string top = std::to_string(std::numeric_limits<std::int32_t>::max());
    const bool above =
        significant.size() > top.size() || (significant.size() == top.size() && significant > top);
    if (above) {
        FUZZ_CHECK(value == std::numeric_limits<std::int32_t>::max(), "saturates");
    } else {
        FUZZ_CHECK(std::to_string(value) == significant, "prints back");
    }
    return 0;
}
