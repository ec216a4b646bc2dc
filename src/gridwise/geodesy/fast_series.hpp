#pragma once
// The projection as the batch converters evaluate it: the same series as GeoToPlane and
// PlaneToGeo, with the same doubles as results, without the slow parts of the C library's
// extended-precision functions, so that a million-line file converts at the speed of the file
// system rather than of the argument reduction of sinl.
//
// How the doubles stay the same:
// - the kernels reduce arguments by pi/2 or pi themselves and take sin and cos within the
//   quarter by their Taylor series; the Krueger series take their small periodic sums in
//   double and, near the central meridian, their arctangents by series. Each kernel returns
//   its values with a bound on their distance from the plain series' values, and the projection
//   keeps them only when no value within the bound rounds to another double or verdict; for
//   the few others it evaluates the plain series;
// - the footpoint bisection evaluates each trial arc cheaply with a bound on its error and
//   takes the exact extended-precision arc only when the bound leaves the comparison open, so
//   every halving decides as the plain search decides and the latitude found is the same.
// The tests compare these with the plain series on large random samples, values and bounds.

#include "gridwise/geodesy/coordinates.hpp"
#include "gridwise/geodesy/ellipsoid.hpp"
#include "gridwise/geodesy/projection.hpp"

namespace gridwise {

// The fast kernels of the classic (kruger false) and the Krueger series.
const SeriesKernels& FastSeries(bool kruger);
// The same for a file that writes the result: the inverse series in double with bounds wide
// enough for text only, the classic one from a footpoint found from the digits of an estimate.
const SeriesKernels& WrittenSeries(bool kruger);

// GeoToPlane and PlaneToGeo with the fast kernels, without the auxiliary values. With
// writtenDecimals >= 0 (a converter that writes the result with that many decimals) only the
// text is that of the plain series; with kDoublesKept the doubles are.
PlaneCoords FastGeoToPlane(const GeoCoords& point, const TEllConst& ell,
                           const ProjectionSettings& settings, bool& ok,
                           int writtenDecimals = kDoublesKept);
GeoCoords FastPlaneToGeo(const PlaneCoords& point, const TEllConst& ell,
                         const ProjectionSettings& settings, bool& ok,
                         int writtenDecimals = kDoublesKept);

// As FootpointLatitudeExtended.
long double FastFootpointLatitude(const TEllConst& ell, long double X);

}  // namespace gridwise
