#pragma once
// The rules of the point screen without its widgets: the range checks of "РАСЧЁТ" with their
// messages, the computation of every value the screen shows, and the texts it shows them in.
// The window and the command-line tool call exactly these.

#include <array>
#include <string>
#include <string_view>

#include "common/nomenclature.hpp"
#include "common/text.hpp"
#include "gridwise/geodesy/projection.hpp"
#include "gridwise/state.hpp"

namespace gridwise {

using common::AngleFormat;
using common::kAngleFormatItems;

// Reset of the screen's values (on show and on "Всё заново"): angles, points and results to
// zero, scale 1, no result shown, PointValid all true.
void ResetPointState(GridwiseState& state);

// Field numbers of PointValid.
inline constexpr int kLatitudeDegreesField = 1;  // or the decimal latitude
inline constexpr int kLatitudeMinutesField = 2;
inline constexpr int kLatitudeSecondsField = 3;
inline constexpr int kLongitudeDegreesField = 4;  // or the decimal longitude
inline constexpr int kLongitudeMinutesField = 5;
inline constexpr int kLongitudeSecondsField = 6;
inline constexpr int kAbscissaField = 7;
inline constexpr int kOrdinateField = 8;

// The change event of field 1..8 in the given format: parses the text into PointB, PointL or
// PlanePoint (in the decimal format the minutes and seconds fields are not parsed and set 0),
// sets the field's flag, leaves the stored value when the text does not parse. Returns the flag.
bool EditPointField(GridwiseState& state, int field, AngleFormat format, std::string_view text);
// The compute button is enabled exactly when this holds.
bool PointInputsValid(const GridwiseState& state);

// Value := Min/60 + Deg + Sec/3600, as "РАСЧЁТ" composes a typed degrees-minutes-seconds angle.
void ComposeDegrees(common::TDegMinSec& angle);

// "РАСЧЁТ", B,L -> x,y: in the degrees-minutes-seconds format first composes both values, then
// checks them in order. Returns the message of the first failing check, or an empty text.
std::string CheckGeoInput(common::TDegMinSec& pointB, common::TDegMinSec& pointL,
                          AngleFormat format);
// The checks alone, on values already composed.
std::string GeoRangeMessage(const common::TDegMinSec& pointB, const common::TDegMinSec& pointL);

// "РАСЧЁТ", x,y -> B,L: the checks of the typed plane point against the settings.
std::string CheckPlaneInput(const PlaneCoords& point, const TWorkStructure& work);

// The signed point from the unsigned typed values and the hemisphere lists.
GeoCoords SignedPoint(double latitude, double longitude, bool south, bool west);

// Everything a computed point shows.
struct PointResult {
    bool ok = true;  // false: the projection failed ("Ошибка расчёта")
    GeoCoords CalcPoint;
    PlaneCoords PlanePoint;
    int zone = 0;  // B,L -> x,y: the zone used (SK63: the chosen one); x,y -> B,L: of the ordinate
    double LengthScale = 1.0;
    double Convergence = 0.0;  // signed degrees
    double Dsh1000 = 0.0;      // millimetres per 1000 m
    double AreaDistortion = 0.0;
    bool sheetsKnown = false;  // the point has an absolute longitude and ok holds
    common::TNom sheets;       // the four names the screen shows
    common::TNom2 allSheets;   // all seven names
};

// Steps 5-8 of "РАСЧЁТ" with the settings of the state (Work, Algorithm), after the checks.
PointResult ComputeToPlane(const GridwiseState& state, const GeoCoords& calcPoint);
PointResult ComputeToGeo(const GridwiseState& state, const PlaneCoords& planePoint);

// "РАСЧЁТ" in the direction of the state: the checks (a failing one returns its message and
// changes nothing else), then the computation, whose values are stored in state.Point (after
// x,y -> B,L success also PointB, PointL split and ResultShown set) and returned in `result`.
// Returns an empty text when the checks passed; result.ok then tells whether the projection
// succeeded.
std::string ComputePoint(GridwiseState& state, AngleFormat format, bool south, bool west,
                         PointResult& result);

// The texts the point screen shows for a result.
inline constexpr std::string_view kCalculationError = "Ошибка расчёта";
inline constexpr std::string_view kZoneUnknown = "Зона неизвестна!";
inline constexpr std::string_view kNoValue = "-";
struct PointTexts {
    std::string x, y;                   // B,L -> x,y: the result or "Ошибка расчёта"
    std::array<std::string, 4> sheets;  // 1:1 000 000, 1:500 000, 1:200 000, 1:10 000
    std::string scale, convergence, dsh, areaDistortion;
};
PointTexts FormatPointResult(const PointResult& result, bool directionToPlane, bool addZoneNumber,
                             char separator);

// Single value texts.
std::string PlaneCoordinateText(double value, char separator);  // 4 decimals
std::string ScaleText(double scale, char separator);            // 6 decimals
// Sign, degrees, "° ", two-digit minutes, "' ", seconds with 2 decimals, the double quote.
std::string ConvergenceText(double degrees, char separator);
std::string DshText(double dsh1000, char separator);                // + " мм/км2"
std::string AreaDistortionText(double distortion, char separator);  // + " ‰"

// An angle in the fields of the degrees-minutes-seconds format: Deg as a whole number, minutes
// with "0" in front below 10, seconds 07.250000 (truncated).
struct DmsTexts {
    std::string deg, min, sec;
};
DmsTexts DmsAngleTexts(const common::TDegMinSec& angle, char separator);
// An angle in the decimal format field: |value| with 10 decimals.
std::string DecimalAngleText(double value, char separator);
// Hemisphere list items.
inline constexpr std::string_view kNorth = "с.ш.";
inline constexpr std::string_view kSouth = "ю.ш.";
inline constexpr std::string_view kEast = "в.д.";
inline constexpr std::string_view kWest = "з.д.";

// Row captions of the point screen.
inline constexpr std::string_view kSheetCaptions[] = {
    "1:1 000 000  :", "1:500 000     :", "1:200 000     :", "1:10 000       :"};
inline constexpr std::string_view kAuxCaptions[] = {
    "Масштаб длин :", "Сближ. мерид. :", "dSH (1000 м)    :", "Иск. площади  :"};

}  // namespace gridwise
