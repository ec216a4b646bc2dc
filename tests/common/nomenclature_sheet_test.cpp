#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "common/nomenclature.hpp"

namespace {

using common::AllSheetNames;
using common::SheetNameAtScale;
using common::SheetNames;

struct SheetRow {
    double B;
    double L;
    std::array<const char*, 7> names;  // 1:1 000 000 .. 1:10 000
};

const SheetRow kSheetTable[] = {
    {55.75,
     37.6,
     {"N-37", "N-37-А", "N-37-02", "N-37-004", "N-37-004-В", "N-37-004-В-а", "N-37-004-В-а-4"}},
    {55.5,
     37.5,
     {"N-37", "N-37-А", "N-37-02", "N-37-016", "N-37-016-А", "N-37-016-А-в", "N-37-016-А-в-3"}},
    {52.0,
     36.0,
     {"N-37", "N-37-В", "N-37-31", "N-37-133", "N-37-133-В", "N-37-133-В-в", "N-37-133-В-в-3"}},
    {0.0,
     0.0,
     {"A-31", "A-31-В", "A-31-31", "A-31-133", "A-31-133-В", "A-31-133-В-в", "A-31-133-В-в-3"}},
    {-0.0001,
     -0.0001,
     {"sA-30", "sA-30-Б", "sA-30-06", "sA-30-012", "sA-30-012-Б", "sA-30-012-Б-б",
      "sA-30-012-Б-б-2"}},
    {-33.9,
     18.4,
     {"sI-34", "sI-34-А", "sI-34-13", "sI-34-061", "sI-34-061-Г", "sI-34-061-Г-б",
      "sI-34-061-Г-б-3"}},
    {87.99,
     180.0,
     {"V-01", "V-01-А", "V-01-01", "V-01-001", "V-01-001-А", "V-01-001-А-а", "V-01-001-А-а-1"}},
    {60.0,
     30.0,
     {"P-36", "P-36-В", "P-36-31", "P-36-133", "P-36-133-В", "P-36-133-В-в", "P-36-133-В-в-3"}},
    {-88.0,
     10.0,
     {"sV-32", "sV-32-Г", "sV-32-35", "sV-32-141", "sV-32-141-В", "sV-32-141-В-в",
      "sV-32-141-В-в-3"}},
    // A 1:10 000 corner: the north-eastern sheet.
    {55.125,
     37.0625,
     {"N-37", "N-37-А", "N-37-08", "N-37-027", "N-37-027-В", "N-37-027-В-а", "N-37-027-В-а-2"}},
    // The western edge of the sheet system is column 1 like the antimeridian.
    {87.99,
     -180.0,
     {"V-01", "V-01-А", "V-01-01", "V-01-001", "V-01-001-А", "V-01-001-А-а", "V-01-001-А-а-1"}},
    // Just below the equator and west of Greenwich by less than the rounding of a remainder:
    // the remainders round up to a whole band and column, the point stays in the north-eastern
    // corner sheets of sA-30.
    {-1e-20,
     -1e-20,
     {"sA-30", "sA-30-Б", "sA-30-06", "sA-30-012", "sA-30-012-Б", "sA-30-012-Б-б",
      "sA-30-012-Б-б-2"}},
};

TEST(SheetNameAtScale, SheetTable) {
    for (const SheetRow& row : kSheetTable) {
        for (int scale = 0; scale < 7; ++scale) {
            std::string name = "untouched";
            SheetNameAtScale(row.B, row.L, scale, name);
            EXPECT_EQ(name, row.names[scale]) << row.B << ", " << row.L << " scale " << scale;
        }
    }
}

TEST(SheetNames, ShowsFourOfTheSevenScales) {
    for (const SheetRow& row : kSheetTable) {
        const common::TNom nom = SheetNames(row.B, row.L);
        EXPECT_EQ(nom.Sheet1M, row.names[0]);
        EXPECT_EQ(nom.Sheet500k, row.names[1]);
        EXPECT_EQ(nom.Sheet200k, row.names[2]);
        EXPECT_EQ(nom.Sheet10k, row.names[6]);
    }
}

TEST(SheetNameAtScale, ScaleOutsideTheListLeavesTheText) {
    for (int scale : {7, 8, -1, 1000}) {
        std::string name = "N-99";
        SheetNameAtScale(55.75, 37.6, scale, name);
        EXPECT_EQ(name, "N-99") << scale;
    }
}

struct PolarCase {
    double B;
    const char* gridwise;
    const char* datumer;
};

TEST(SheetNames, PolarZonesNameNoSheet) {
    const double inf = std::numeric_limits<double>::infinity();
    const PolarCase cases[] = {
        {88.0, "Полярная зона (Z)", "Полярная зона (Z). Расчёт номенклатуры не проводится."},
        {90.0, "Полярная зона (Z)", "Полярная зона (Z). Расчёт номенклатуры не проводится."},
        {inf, "Полярная зона (Z)", "Полярная зона (Z). Расчёт номенклатуры не проводится."},
        {-88.0001, "Полярная зона (sZ)", "Полярная зона (sZ). Расчёт номенклатуры не проводится."},
        {-inf, "Полярная зона (sZ)", "Полярная зона (sZ). Расчёт номенклатуры не проводится."},
    };
    for (const PolarCase& c : cases) {
        const common::TNom2 all = AllSheetNames(c.B, 37.0);
        EXPECT_EQ(all.Field[0], c.gridwise) << c.B;
        for (int i = 1; i < 7; ++i) EXPECT_EQ(all.Field[i], "-") << c.B;
        const common::TNom datumer = SheetNames(c.B, 37.0, common::kDatumerPolarMessages);
        EXPECT_EQ(datumer.Sheet1M, c.datumer);
        EXPECT_EQ(datumer.Sheet500k, "-");
        EXPECT_EQ(datumer.Sheet10k, "-");
    }
    // Just below the northern limit is still named; the southern limit itself is named.
    EXPECT_EQ(SheetNames(std::nextafter(88.0, 0.0), 37.0).Sheet1M, "V-37");
    EXPECT_EQ(SheetNames(-88.0, 37.0).Sheet1M, "sV-37");
}

TEST(SheetNames, TakesAnyPointRecordWithLatitudeAndLongitude) {
    struct PlanePoint {
        double B, L;
    };
    struct PointWithHeight {
        double B, L, H;
    };
    EXPECT_EQ(SheetNames(PlanePoint{55.75, 37.6}).Sheet10k, "N-37-004-В-а-4");
    EXPECT_EQ(
        SheetNames(PointWithHeight{-88.5, 37.6, 150.0}, common::kDatumerPolarMessages).Sheet1M,
        "Полярная зона (sZ). Расчёт номенклатуры не проводится.");
}

TEST(SheetNames, PointOutsideTheSheetSystemGetsNoName) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Outside {
        double B, L;
        const char* first;
    };
    const Outside cases[] = {
        {55.0, 180.5, "N-?"}, {55.0, -181.0, "N-?"}, {55.0, 1e300, "N-?"},
        {55.0, nan, "N-?"},   {nan, 37.0, "?-37"},   {nan, nan, "?-?"},
    };
    for (const Outside& c : cases) {
        const common::TNom2 all = AllSheetNames(c.B, c.L);
        EXPECT_EQ(all.Field[0], c.first) << c.B << ", " << c.L;
        for (int i = 1; i < 7; ++i) EXPECT_EQ(all.Field[i], "-");
    }
}

// Every point of a fine grid over the whole sheet system gets seven names, each below 1:100 000
// the one before it with one more part, and the 1:100 000 number stays in 1..144.
TEST(SheetNames, EveryPointOfAGridGetsAChainOfNames) {
    for (double B = -88.0; B < 88.0; B += 0.5 + 1.0 / 7.0) {
        for (double L = -180.0; L <= 180.0; L += 0.5 + 1.0 / 11.0) {
            const common::TNom2 all = AllSheetNames(B, L);
            for (int i : {1, 2, 3}) {
                ASSERT_EQ(all.Field[i].rfind(all.Field[0] + "-", 0), 0u) << B << ", " << L;
            }
            for (int i : {4, 5, 6}) {
                ASSERT_EQ(all.Field[i].rfind(all.Field[i - 1] + "-", 0), 0u) << B << ", " << L;
            }
            const int number = std::stoi(all.Field[3].substr(all.Field[3].rfind('-') + 1));
            ASSERT_GE(number, 1);
            ASSERT_LE(number, 144);
        }
    }
}

}  // namespace
