#include "common/nomenclature.hpp"

#include <cmath>
#include <string>

namespace common {

namespace {

// 1:1 000 000 rows, 4 degrees each, from -88 northward.
constexpr std::string_view kRowLabels[44] = {
    "sV", "sU", "sT", "sS", "sR", "sQ", "sP", "sO", "sN", "sM", "sL", "sK", "sJ", "sI", "sH",
    "sG", "sF", "sE", "sD", "sC", "sB", "sA", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",
    "I",  "J",  "K",  "L",  "M",  "N",  "O",  "P",  "Q",  "R",  "S",  "T",  "U",  "V"};
constexpr int kRowCount = 44;
constexpr int kColumnCount = 60;
constexpr int kSheets100kPerSide = 12;

// Quarter labels, north-west, north-east, south-west, south-east.
using QuarterLabels = std::string_view[4];
constexpr QuarterLabels kQuarters500k = {"А", "Б", "В", "Г"};
constexpr QuarterLabels kQuarters50k = {"А", "Б", "В", "Г"};
constexpr QuarterLabels kQuarters25k = {"а", "б", "в", "г"};
constexpr QuarterLabels kQuarters10k = {"1", "2", "3", "4"};

// The fractions of a degree as the nearest extended-precision values.
constexpr long double kThird = 1.0L / 3.0L;
constexpr long double kSixth = 1.0L / 6.0L;
constexpr long double kTwelfth = 1.0L / 12.0L;
constexpr long double kTwentyFourth = 1.0L / 24.0L;
// The northern edge of the top 1:100 000 row inside its band, as the nearest double.
constexpr double kTopRow100kEdge = 11.0 / 3.0;

// A sum or difference formed in extended precision and stored as a double.
double Stored(long double sum) {
    return static_cast<double>(sum);
}

// Where a point lies: the 1:1 000 000 cell and the remainders inside it, then inside the
// 1:100 000 sheet.
struct SheetPosition {
    int row1M = -1;      // index into kRowLabels, -1 when B lies in no band
    int column1M = -1;   // 1..60, -1 when L lies in no column
    int row100k = 0;     // 1..12 from the north
    int column100k = 0;  // 1..12 from the west
    double dB = 0.0;
    double dL = 0.0;
};

void FindBand(double B, SheetPosition& at) {
    double lower = -88.0;
    for (int i = 0; i < kRowCount; ++i) {
        if (B >= lower && static_cast<long double>(lower) + 4.0L > B) {
            at.row1M = i;
            at.dB = Stored(static_cast<long double>(B) - lower);
            return;
        }
        lower = Stored(static_cast<long double>(lower) + 4.0L);
    }
}

void FindColumn(double L, SheetPosition& at) {
    double lower = -180.0;
    for (int i = 0; i < kColumnCount; ++i) {
        if (L >= lower && static_cast<long double>(lower) + 6.0L > L) {
            at.column1M = i + 1;
            at.dL = Stored(static_cast<long double>(L) - lower);
            break;
        }
        lower = Stored(static_cast<long double>(lower) + 6.0L);
    }
    // The antimeridian counts as the western edge of column 1.
    if (L == 180.0) {
        at.column1M = 1;
        at.dL = 0.0;
    }
}

// The 1:100 000 row, counted from the north. A remainder that rounding put on or past the band's
// northern edge, or into the few units in the last place between two rows' bounds, goes to the
// northern of the rows it touches.
void FindRow100k(SheetPosition& at) {
    double lowerEdges[kSheets100kPerSide];
    double v = kTopRow100kEdge;
    int rowsAbove = 0;
    for (int r = 1; r <= kSheets100kPerSide; ++r) {
        lowerEdges[r - 1] = v;
        if (at.dB >= v && static_cast<long double>(v) + kThird > at.dB) {
            at.row100k = r;
            at.dB = Stored(static_cast<long double>(at.dB) - v);
            return;
        }
        if (v > at.dB) ++rowsAbove;
        v = Stored(static_cast<long double>(v) - kThird);
    }
    at.row100k = rowsAbove < 1 ? 1 : rowsAbove;
    at.dB = Stored(static_cast<long double>(at.dB) - lowerEdges[at.row100k - 1]);
}

// The 1:100 000 column, counted from the west. A remainder rounded up to the full 6 degrees goes
// to the easternmost column.
void FindColumn100k(SheetPosition& at) {
    double w = 0.0;
    for (int c = 1; c <= kSheets100kPerSide; ++c) {
        if (at.dL >= w && static_cast<long double>(w) + 0.5L > at.dL) {
            at.column100k = c;
            at.dL = Stored(static_cast<long double>(at.dL) - w);
            return;
        }
        w = Stored(static_cast<long double>(w) + 0.5L);
    }
    at.column100k = kSheets100kPerSide;
    at.dL = Stored(static_cast<long double>(at.dL) - 5.5L);
}

// The quarter (0 north-west .. 3 south-east) of a sheet whose halves measure halfB by halfL;
// dB and dL become the remainders inside that quarter.
int Quarter(double& dB, double& dL, long double halfB, long double halfL) {
    const bool north = dB >= halfB;
    const bool east = dL >= halfL;
    if (north) dB = Stored(dB - halfB);
    if (east) dL = Stored(dL - halfL);
    return (north ? 0 : 2) + (east ? 1 : 0);
}

// A sheet number with leading zeros to `width` digits ("02", "004").
std::string PaddedNumber(int n, std::size_t width) {
    std::string digits = std::to_string(n);
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return digits;
}

void FillAll(TNom2& names, std::string first) {
    names.Field[0] = std::move(first);
    for (int i = 1; i < kNomenclatureScaleCount; ++i) names.Field[i].assign(1, '-');
}

std::string Joined(const std::string& name, std::string_view part) {
    std::string result = name;
    result += '-';
    result += part;
    return result;
}

}  // namespace

TNom2 AllSheetNames(double B, double L, const PolarMessages& polar) {
    TNom2 names;
    if (B >= 88.0) {
        FillAll(names, std::string(polar.North));
        return names;
    }
    if (B < -88.0) {
        FillAll(names, std::string(polar.South));
        return names;
    }
    SheetPosition at;
    FindBand(B, at);
    FindColumn(L, at);
    if (at.row1M < 0 || at.column1M < 0) {
        // Outside the sheet system (a longitude beyond 180 degrees, or not a number).
        const std::string row = at.row1M < 0 ? "?" : std::string(kRowLabels[at.row1M]);
        const std::string column = at.column1M < 0 ? "?" : PaddedNumber(at.column1M, 2);
        FillAll(names, row + "-" + column);
        return names;
    }
    const std::string name1M =
        std::string(kRowLabels[at.row1M]) + "-" + PaddedNumber(at.column1M, 2);
    FindRow100k(at);
    FindColumn100k(at);

    const int row = at.row100k - 1;
    const int column = at.column100k - 1;
    const int number100k = row * kSheets100kPerSide + at.column100k;
    const int quarter500k = column / 6 + (row / 6) * 2;
    const int number200k = column / 2 + 1 + (row / 2) * 6;

    names.Field[0] = name1M;
    names.Field[1] = Joined(name1M, kQuarters500k[quarter500k]);
    names.Field[2] = Joined(name1M, PaddedNumber(number200k, 2));
    names.Field[3] = Joined(name1M, PaddedNumber(number100k, 3));
    names.Field[4] = Joined(names.Field[3], kQuarters50k[Quarter(at.dB, at.dL, kSixth, 0.25L)]);
    names.Field[5] = Joined(names.Field[4], kQuarters25k[Quarter(at.dB, at.dL, kTwelfth, 0.125L)]);
    names.Field[6] =
        Joined(names.Field[5], kQuarters10k[Quarter(at.dB, at.dL, kTwentyFourth, 0.0625L)]);
    return names;
}

TNom SheetNames(double B, double L, const PolarMessages& polar) {
    TNom2 all = AllSheetNames(B, L, polar);
    return {std::move(all.Field[0]), std::move(all.Field[1]), std::move(all.Field[2]),
            std::move(all.Field[6])};
}

void SheetNameAtScale(double B, double L, NomenclatureScale scale, std::string& name,
                      const PolarMessages& polar) {
    if (scale < 0 || scale >= kNomenclatureScaleCount) return;
    name = std::move(AllSheetNames(B, L, polar).Field[scale]);
}

}  // namespace common
