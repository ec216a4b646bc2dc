#pragma once
// Reference ellipsoids and the constants every projection operation takes.

#include "common/ellipsoid.hpp"

namespace gridwise {

// A reference ellipsoid as the tables and the set-up screen hold it.
using TEll = common::Ellipsoid;

// Constants derived from a TEll; the projection reads only these.
struct TEllConst {
    double A = 0.0;    // semi-major axis a
    double B = 0.0;    // semi-minor axis b
    double E2 = 0.0;   // first eccentricity squared
    double Ep2 = 0.0;  // second eccentricity squared
};

// b, e² and e'² from a and 1/f, in extended precision. Pure; no failure.
TEllConst DeriveEllipsoid(const TEll& ell);

}  // namespace gridwise
