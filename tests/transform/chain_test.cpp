// The chain's own rules: the system texts of the command line and the chaining of line steps.

#include "transform/chain.hpp"

#include <gtest/gtest.h>

namespace transform {
namespace {

TEST(ParseSystemAndForm, DatumFormAndZone) {
    struct Row {
        std::string_view text;
        bool valid;
        Datum datum;
        Form form;
        int zone;
    };
    const Row rows[] = {
        {"sk42", true, Datum::Sk42, Form::Geodetic, 0},
        {"sk95/geo", true, Datum::Sk95, Form::Geodetic, 0},
        {"pz90.11/gk", true, Datum::Pz9011, Form::GaussKruger, 0},
        {"gsk2011/gk:60", true, Datum::Gsk2011, Form::GaussKruger, 60},
        {"wgs84/utm:1", true, Datum::Wgs84, Form::Utm, 1},
        {"sk42/sk63", true, Datum::Sk42, Form::Sk63, 0},
        {"user/utm", true, Datum::User, Form::Utm, 0},
        {"SK42", false, Datum::Sk42, Form::Geodetic, 0},
        {"sk42/", false, Datum::Sk42, Form::Geodetic, 0},
        {"sk42/gk:0", false, Datum::Sk42, Form::Geodetic, 0},
        {"sk42/gk:61", false, Datum::Sk42, Form::Geodetic, 0},
        {"sk42/gk:", false, Datum::Sk42, Form::Geodetic, 0},
        {"sk42/gk:-7", false, Datum::Sk42, Form::Geodetic, 0},
        {"sk42/sk63:3", false, Datum::Sk42, Form::Geodetic, 0},
        {"sk42/geo:3", false, Datum::Sk42, Form::Geodetic, 0},
        {"", false, Datum::Sk42, Form::Geodetic, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const std::optional<SystemAndForm> parsed = ParseSystemAndForm(row.text);
        ASSERT_EQ(parsed.has_value(), row.valid);
        if (!parsed) continue;
        EXPECT_EQ(parsed->datum, row.datum);
        EXPECT_EQ(parsed->form, row.form);
        EXPECT_EQ(parsed->zone, row.zone);
    }
}

TEST(ChainLines, EachStepReadsThePreviousOutputAndAnyStepRefuses) {
    const common::LineFunction upper = [](std::string_view line, std::string& out) {
        for (char c : line) out += static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
        return true;
    };
    const common::LineFunction noDigits = [](std::string_view line, std::string& out) {
        if (line.find_first_of("0123456789") != std::string_view::npos) return false;
        out += line;
        out += '!';
        return true;
    };
    const common::LineFunction chain = ChainLines({upper, noDigits, upper});
    std::string out;
    EXPECT_TRUE(chain("abc", out));
    EXPECT_EQ(out, "ABC!");
    out.clear();
    EXPECT_FALSE(chain("ab1", out));
    // A longer line after a shorter one: the buffers between steps start empty each time.
    out.clear();
    EXPECT_TRUE(chain("x", out));
    EXPECT_EQ(out, "X!");
}

TEST(BuildChain, PresetOfThePairAndTheLabels) {
    struct Row {
        std::string_view from, to;
        int preset;
        std::string_view summary;
    };
    const Row rows[] = {
        {"sk42/gk", "wgs84", 1, "Пересчёт СК42 x, y (Гаусса-Крюгера) => WGS84 B, L (вариант 1)"},
        {"wgs84/utm:37", "sk42/gk:7", 2,
         "Пересчёт WGS84 x, y (UTM, зона 37) => СК42 x, y (Гаусса-Крюгера, зона 7) (вариант 2)"},
        {"sk42", "pz90.11/gk", 20,
         "Пересчёт СК42 B, L => ПЗ90.11 x, y (Гаусса-Крюгера) (вариант 20)"},
        {"gsk2011", "sk95", 33, "Пересчёт ГСК-2011 B, L => СК95 B, L (вариант 33)"},
        {"sk42/gk", "sk42", 0, "Пересчёт СК42 x, y (Гаусса-Крюгера) => СК42 B, L"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.from);
        datumer::DatumerState datums = datumer::MakeDatumerState();
        Chain chain;
        ASSERT_EQ(BuildChain(*ParseSystemAndForm(row.from), *ParseSystemAndForm(row.to), false,
                             datums, {}, chain),
                  "");
        EXPECT_EQ(chain.Preset, row.preset);
        EXPECT_EQ(chain.Summary, row.summary);
        EXPECT_TRUE(static_cast<bool>(chain.Lines));
    }
}

}  // namespace
}  // namespace transform
