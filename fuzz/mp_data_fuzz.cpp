// The data line of Polish-format maps against an independent reading of its syntax: lines that
// are not data lines are copied byte for byte; a data line is accepted exactly when all its
// groups are well formed and in range, and is written as its prefix and its groups with five
// rounded decimals; a transform that refuses a point makes the line bad.

#include <cmath>
#include <string>
#include <vector>

#include "common/mpdata.hpp"
#include "common/text.hpp"
#include "fuzz_check.hpp"

namespace {

struct Pair {
    double lat, lon;
};

// Length of the key: blanks, "data" or "origin" in any case, digits, blanks, "=", blanks; 0 when
// the line has none.
std::size_t DataKey(std::string_view line) {
    std::string lower(line);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    std::size_t p = lower.find_first_not_of(" \t");
    if (p == std::string::npos) return 0;
    if (lower.compare(p, 4, "data") == 0)
        p += 4;
    else if (lower.compare(p, 6, "origin") == 0)
        p += 6;
    else
        return 0;
    p = lower.find_first_not_of("0123456789", p);
    if (p != std::string::npos) p = lower.find_first_not_of(" \t", p);
    if (p == std::string::npos || lower[p] != '=') return 0;
    p = lower.find_first_not_of(" \t", p + 1);
    return p == std::string::npos ? line.size() : p;
}

// group {"," group} [","], group = "(" lat "," lon ["," anything but ")"] ")".
bool ReadGroups(std::string_view rest, std::vector<Pair>& pairs) {
    if (rest.empty()) return false;
    while (true) {
        if (rest.empty() || rest.front() != '(') return false;
        const auto close = rest.find(')');
        if (close == std::string_view::npos) return false;
        std::string_view content = rest.substr(1, close - 1);
        rest.remove_prefix(close + 1);
        const auto comma = content.find(',');
        if (comma == std::string_view::npos) return false;
        std::string_view lonText = content.substr(comma + 1);
        lonText = lonText.substr(0, lonText.find(','));
        bool ok = true;
        const Pair p{common::ParseSignedReal(content.substr(0, comma), ok),
                     common::ParseSignedReal(lonText, ok)};
        if (!ok || std::fabs(p.lat) > 90.0 || std::fabs(p.lon) > 180.0) return false;
        pairs.push_back(p);
        if (rest.empty()) return true;
        if (rest.front() != ',') return false;
        rest.remove_prefix(1);
        if (rest.empty()) return true;
    }
}

std::string Expected(std::string_view line, std::size_t key, const std::vector<Pair>& pairs) {
    std::string out(line.substr(0, key));
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        out += i == 0 ? "(" : ",(";
        out += common::FormatFixed(false, 1, true, pairs[i].lat, 5, '.');
        out += ',';
        out += common::FormatFixed(false, 1, true, pairs[i].lon, 5, '.');
        out += ')';
    }
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view whole = fuzz::AsText(data, size);
    // A byte-order mark stays in front and the key is read after it.
    const std::string_view mark = whole.starts_with("\xEF\xBB\xBF") ? whole.substr(0, 3) : "";
    const std::string_view line = whole.substr(mark.size());
    const std::size_t key = DataKey(line);
    FUZZ_CHECK(common::DataPrefixLength(line) == key, "data lines recognised");

    const common::PointTransform identity = [](double&, double&) { return true; };
    std::string out;
    const bool ok = common::ConvertMapLine(whole, out, identity);
    FUZZ_CHECK(!ok || out.starts_with(mark), "the byte-order mark stays in front");
    if (key == 0) {
        FUZZ_CHECK(ok && out == whole, "other lines are copied byte for byte");
        return 0;
    }
    std::vector<Pair> pairs;
    const bool wellFormed = ReadGroups(line.substr(key), pairs);
    FUZZ_CHECK(ok == wellFormed, "accepts exactly the well-formed data lines");
    if (!ok) return 0;
    FUZZ_CHECK(out.substr(mark.size()) == Expected(line, key, pairs),
               "prefix and groups with five decimals");

    // Reading the groups one by one gives the same pairs.
    common::CoordinateGroupReader reader(line.substr(key));
    std::size_t count = 0;
    double lat = 0.0;
    double lon = 0.0;
    while (reader.Next(lat, lon)) {
        FUZZ_CHECK(count < pairs.size() && lat == pairs[count].lat && lon == pairs[count].lon,
                   "the reader gives the groups in order");
        ++count;
    }
    FUZZ_CHECK(!reader.Failed() && count == pairs.size(), "the reader reads every group");

    // A transform that refuses the last point makes the line bad.
    std::size_t seen = 0;
    const common::PointTransform refuseLast = [&](double&, double&) {
        return ++seen < pairs.size();
    };
    std::string refused;
    FUZZ_CHECK(common::ConvertMapLine(whole, refused, refuseLast) == pairs.empty(),
               "a refused point is a bad line");
    return 0;
}
