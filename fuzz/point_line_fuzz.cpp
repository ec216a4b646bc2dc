// ReadPointLine against a plain split of the line at its first four commas: it accepts exactly
// the lines whose name is followed by a comma and whose three numbers parse and are each
// followed by what they must be, the name and the tail are the bytes of the line, and the
// numbers are those ParseSignedReal gives for their fields.

#include <string>

#include "common/converter.hpp"
#include "common/point_line.hpp"
#include "common/text.hpp"
#include "fuzz_check.hpp"

namespace {

struct Fields {
    bool complete = false;  // name, first and second each followed by a comma
    std::string_view name, first, second, height, tail;
};

Fields Split(std::string_view line) {
    Fields f;
    std::string_view* parts[] = {&f.name, &f.first, &f.second};
    for (std::string_view* part : parts) {
        const auto comma = line.find(',');
        if (comma == std::string_view::npos) return f;
        *part = line.substr(0, comma);
        line.remove_prefix(comma + 1);
    }
    f.complete = true;
    const auto comma = line.find(',');
    f.height = line.substr(0, comma);
    f.tail = comma == std::string_view::npos ? std::string_view{} : line.substr(comma);
    return f;
}

double Parsed(std::string_view text, bool& ok) {
    return common::ParseSignedReal(text, ok);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
    const std::string_view line = fuzz::AsText(data, size);
    bool ok = true;
    const common::PointLine point = common::ReadPointLine(line, ok);

    const Fields f = Split(line);
    bool expectedOk = f.complete;
    const double first = Parsed(f.first, expectedOk);
    const double second = Parsed(f.second, expectedOk);
    const double height = Parsed(f.height, expectedOk);
    FUZZ_CHECK(ok == (expectedOk && !line.empty()), "accepts exactly the well-formed lines");
    if (!ok) return 0;

    FUZZ_CHECK(point.Name == f.name && point.Tail == f.tail, "name and tail are the line's bytes");
    FUZZ_CHECK(point.Name.data() == line.data(), "the name views the line");
    FUZZ_CHECK(point.First == first && point.Second == second && point.Height == height,
               "the numbers of the fields");
    if (!point.Tail.empty()) {
        FUZZ_CHECK(point.Tail.front() == ',' &&
                       point.Tail.data() + point.Tail.size() == line.data() + line.size(),
                   "the tail runs from the comma to the end");
    }
    return 0;
}
