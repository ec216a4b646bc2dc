// Sheet names of any pair of doubles: never a crash; inside the sheet system every name is the
// chain of the one before it, the numbers stay in their ranges, the point lies inside the
// 1:1 000 000 sheet named, SheetNames and SheetNameAtScale agree with the seven names, and
// every name encodes to the single-byte code page.

#include <cmath>
#include <cstring>
#include <string>

#include "common/cp1251.hpp"
#include "common/nomenclature.hpp"
#include "fuzz_check.hpp"

namespace {

constexpr std::string_view kRowLetters = "ABCDEFGHIJKLMNOPQRSTUV";

// The last part of a name after its final "-".
std::string_view LastPart(std::string_view name) {
    return name.substr(name.rfind('-') + 1);
}

bool IsNumber(std::string_view part, std::size_t digits, int low, int high) {
    if (part.size() != digits) return false;
    int n = 0;
    for (char c : part) {
        if (c < '0' || c > '9') return false;
        n = n * 10 + (c - '0');
    }
    return n >= low && n <= high;
}

bool OneOf(std::string_view part, std::initializer_list<std::string_view> choices) {
    for (auto c : choices) {
        if (part == c) return true;
    }
    return false;
}

void CheckNamedPoint(double B, double L, const common::TNom2& all) {
    const std::string& name1M = all.Field[0];
    const auto dash = name1M.find('-');
    FUZZ_CHECK(dash != std::string::npos, "row and column");
    std::string_view row = std::string_view(name1M).substr(0, dash);
    const bool south = row.size() == 2 && row[0] == 's';
    if (south) row.remove_prefix(1);
    FUZZ_CHECK(row.size() == 1 && kRowLetters.find(row[0]) != std::string_view::npos, "row");
    FUZZ_CHECK(IsNumber(LastPart(name1M), 2, 1, 60), "column 01..60");

    // The band of the named row holds B; the named column holds L.
    const int band = static_cast<int>(kRowLetters.find(row[0]));
    const double lower = south ? -4.0 * (band + 1) : 4.0 * band;
    FUZZ_CHECK(B >= lower && B < lower + 4.0, "B inside the named band");
    const int column = std::stoi(std::string(LastPart(name1M)));
    const double west = -180.0 + 6.0 * (column - 1);
    FUZZ_CHECK(L == 180.0 ? column == 1 : (L >= west && L < west + 6.0),
               "L inside the named column");

    for (int i : {1, 2, 3}) {
        FUZZ_CHECK(all.Field[i].rfind(name1M + "-", 0) == 0, "scales under 1:1 000 000");
    }
    for (int i : {4, 5, 6}) {
        FUZZ_CHECK(all.Field[i].rfind(all.Field[i - 1] + "-", 0) == 0, "chain below 1:100 000");
    }
    FUZZ_CHECK(OneOf(LastPart(all.Field[1]), {"А", "Б", "В", "Г"}), "1:500 000 letter");
    FUZZ_CHECK(IsNumber(LastPart(all.Field[2]), 2, 1, 36), "1:200 000 number");
    FUZZ_CHECK(IsNumber(LastPart(all.Field[3]), 3, 1, 144), "1:100 000 number");
    FUZZ_CHECK(OneOf(LastPart(all.Field[4]), {"А", "Б", "В", "Г"}), "1:50 000 letter");
    FUZZ_CHECK(OneOf(LastPart(all.Field[5]), {"а", "б", "в", "г"}), "1:25 000 letter");
    FUZZ_CHECK(OneOf(LastPart(all.Field[6]), {"1", "2", "3", "4"}), "1:10 000 digit");
}

void CheckNames(double B, double L) {
    const common::TNom2 all = common::AllSheetNames(B, L);
    const common::TNom four = common::SheetNames(B, L);
    FUZZ_CHECK(four.Sheet1M == all.Field[0] && four.Sheet500k == all.Field[1] &&
                   four.Sheet200k == all.Field[2] && four.Sheet10k == all.Field[6],
               "SheetNames shows four of the seven");
    for (int scale = -1; scale <= 7; ++scale) {
        std::string name = "unchanged";
        common::SheetNameAtScale(B, L, scale, name);
        const bool picked = scale >= 0 && scale < 7;
        FUZZ_CHECK(name == (picked ? all.Field[scale] : "unchanged"), "SheetNameAtScale");
    }
    for (const std::string& name : all.Field) {
        bool ok = true;
        common::Utf8ToCp1251(name, ok);
        FUZZ_CHECK(ok, "every name has single-byte letters");
    }
    if (B >= 88.0 || B < -88.0) {
        FUZZ_CHECK(all.Field[0] == (B >= 88.0 ? "Полярная зона (Z)" : "Полярная зона (sZ)"),
                   "polar message");
        for (int i = 1; i < 7; ++i) FUZZ_CHECK(all.Field[i] == "-", "polar dash");
        return;
    }
    if (std::isnan(B) || std::isnan(L) || std::fabs(L) > 180.0) {
        for (int i = 1; i < 7; ++i) FUZZ_CHECK(all.Field[i] == "-", "outside: dash");
        return;
    }
    CheckNamedPoint(B, L, all);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    if (size < 2 * sizeof(double)) return 0;
    double B;
    double L;
    std::memcpy(&B, data, sizeof B);
    std::memcpy(&L, data + sizeof B, sizeof L);
    CheckNames(B, L);
    // The same bits folded into the sheet system, so that most inputs reach the edges.
    if (std::isfinite(B) && std::isfinite(L)) {
        CheckNames(std::fmod(B, 90.0), std::fmod(L, 180.0));
        // Near edges: a multiple of 1/48 degree plus a few units in the last place.
        const double edgeB = std::round(std::fmod(B, 88.0) * 48.0) / 48.0;
        const double edgeL = std::round(std::fmod(L, 180.0) * 32.0) / 32.0;
        const int ulps = size > 16 ? static_cast<signed char>(data[16]) % 8 : 0;
        double nearB = edgeB;
        double nearL = edgeL;
        for (int i = 0; i < std::abs(ulps); ++i) {
            nearB = std::nextafter(nearB, ulps > 0 ? 90.0 : -90.0);
            nearL = std::nextafter(nearL, ulps > 0 ? 180.0 : -180.0);
        }
        CheckNames(nearB, nearL);
    }
    return 0;
}
