#pragma once
// Map sheet names of a point after the international sheet system, at seven scales from
// 1:1 000 000 to 1:10 000. A point on the common edge of two sheets gets the northern or eastern
// one; edges that a double cannot hold are settled by 80-bit extended-precision arithmetic.
// Near the poles (B >= 88 or B < -88) no names are formed: the first field holds a polar-zone
// message and every other field "-".

#include <array>
#include <string>
#include <string_view>

namespace common {

// The four names the point screens show.
struct TNom {
    std::string Sheet1M;    // 1:1 000 000, or the polar-zone message
    std::string Sheet500k;  // 1:500 000
    std::string Sheet200k;  // 1:200 000
    std::string Sheet10k;   // 1:10 000, the full chain holding the 1:100 000..1:25 000 names
};

// Index of a scale: 0 = 1:1 000 000, 1 = 1:500 000, 2 = 1:200 000, 3 = 1:100 000,
// 4 = 1:50 000, 5 = 1:25 000, 6 = 1:10 000. Other values pick nothing.
using NomenclatureScale = int;
inline constexpr int kNomenclatureScaleCount = 7;

// All seven names, indexed by NomenclatureScale.
struct TNom2 {
    std::array<std::string, kNomenclatureScaleCount> Field;
};

// The polar-zone texts; each program shows its own.
struct PolarMessages {
    std::string_view North;
    std::string_view South;
};
inline constexpr PolarMessages kGridwisePolarMessages{"Полярная зона (Z)", "Полярная зона (sZ)"};
inline constexpr PolarMessages kDatumerPolarMessages{
    "Полярная зона (Z). Расчёт номенклатуры не проводится.",
    "Полярная зона (sZ). Расчёт номенклатуры не проводится."};

// B, L in decimal degrees, north and east positive; L is expected in [-180, 180]. A longitude
// outside it (or NaN) gives the 1:1 000 000 name with column "?" and "-" in the other fields.
TNom2 AllSheetNames(double B, double L, const PolarMessages& polar = kGridwisePolarMessages);
TNom SheetNames(double B, double L, const PolarMessages& polar = kGridwisePolarMessages);

// Any point record with fields B and L (Gridwise's two-value point, Datumer's B, L, H point).
template <class Point>
requires requires(const Point& p) {
    static_cast<double>(p.B);
    static_cast<double>(p.L);
}
TNom SheetNames(const Point& point, const PolarMessages& polar = kGridwisePolarMessages) {
    return SheetNames(point.B, point.L, polar);
}

// Sets `name` to the sheet name at `scale`; a scale outside 0..6 leaves `name` as it was.
void SheetNameAtScale(double B, double L, NomenclatureScale scale, std::string& name,
                      const PolarMessages& polar = kGridwisePolarMessages);

}  // namespace common
