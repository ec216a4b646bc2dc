#pragma once
// The projection as the batch converters evaluate it: the same series, in the same extended
// precision and order of operations as GeoToPlane and PlaneToGeo, with fewer calls of the slow
// extended-precision functions, so that a million-line file converts at the speed of the file
// system rather than of the argument reduction of sinl.
//
// Where the fast form differs from the plain one:
// - sin and cos of one argument come from one sincosl (the library reduces the argument once and
//   returns the very values sinl and cosl return);
// - of the periodic terms only the largest (sin 2B of the meridian arc, the first Krueger term)
//   use the library at their own argument; the higher multiple angles come from the
//   double-angle identities, whose extended-precision error (about 1e-19 relative on terms of a
//   few metres) lies far below the last bit of the double results;
// - tan B in the classic forward series is sin B / cos B (it only enters terms of l^2 and up);
// - the footpoint bisection evaluates each trial arc cheaply with a bound on its error and takes
//   the exact extended-precision arc only when the bound leaves the comparison open, so every
//   halving decides as the plain search decides and the latitude found is the same.
// The tests compare these with the plain GeoToPlane and PlaneToGeo on large random samples.

#include "gridwise/coordinates.hpp"
#include "gridwise/ellipsoid.hpp"
#include "gridwise/projection.hpp"

namespace gridwise {

// The fast kernels of the classic (kruger false) and the Krueger series.
const SeriesKernels& FastSeries(bool kruger);

// GeoToPlane and PlaneToGeo with the fast kernels, without the auxiliary values.
PlaneCoords FastGeoToPlane(const GeoCoords& point, const TEllConst& ell,
                           const ProjectionSettings& settings, bool& ok);
GeoCoords FastPlaneToGeo(const PlaneCoords& point, const TEllConst& ell,
                         const ProjectionSettings& settings, bool& ok);

// As FootpointLatitudeExtended.
long double FastFootpointLatitude(const TEllConst& ell, long double X);

}  // namespace gridwise
