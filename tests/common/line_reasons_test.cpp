// Why a point-list line is bad: every refusal of ReadPointLine gets its own reason.

#include "common/line_reasons.hpp"

#include <gtest/gtest.h>

#include "common/converter.hpp"
#include "common/point_line.hpp"

namespace {

TEST(PointLineReason, EveryWayALineFailsToRead) {
    struct Row {
        std::string_view line;
        std::string_view reason;
    };
    const Row rows[] = {
        {"", "пустая строка"},
        {"name only", "нет запятой после имени точки"},
        {"p,55", "нет запятой после поля 2 (широта)"},
        {"p,55,37", "нет запятой после поля 3 (долгота)"},
        {"p,,37,0", "поле 2 (широта) пусто"},
        {"p,5a,37,0", "поле 2 (широта) не число: \"5a\""},
        {"p,55, 37,0", "поле 3 (долгота) не число: \" 37\""},
        {"p,55,37,", "поле 4 (высота) пусто"},
        {"p,55,37,code", "поле 4 (высота) не число: \"code\""},
        {"p,55,37,1e3,x", "поле 4 (высота) не число: \"1e3\""},
        {"p,55,37,0123456789012345678901234567890123456789xyz",
         "поле 4 (высота) не число: \"0123456789012345678901234567890123456789...\""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        bool ok = true;
        common::ReadPointLine(row.line, ok);
        EXPECT_FALSE(ok);  // each row is a line the reader refuses
        std::string reason;
        common::AppendPointLineReason(row.line, common::kLatitudeName, common::kLongitudeName,
                                      reason);
        EXPECT_EQ(reason, row.reason);
    }
}

TEST(RangeReason, NamesTheFieldTheValueAndTheRange) {
    std::string reason;
    common::AppendRangeReason(reason, common::kLatitudeName, 95.25, "-90..90");
    EXPECT_EQ(reason, "широта 95.25 вне диапазона -90..90");
    EXPECT_EQ(common::RangeText(-500000, 1500000.5), "-500000..1500000.5");
}

}  // namespace
