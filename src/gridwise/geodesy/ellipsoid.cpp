#include "gridwise/geodesy/ellipsoid.hpp"

namespace gridwise {

TEllConst DeriveEllipsoid(const TEll& ell) {
    const long double a = ell.A;
    const long double invF = ell.InvFlattening;
    const long double b = (invF * a - a) / invF;
    const long double a2 = a * a;
    const long double b2 = b * b;
    TEllConst result;
    result.A = static_cast<double>(a);
    result.B = static_cast<double>(b);
    result.E2 = static_cast<double>((a2 - b2) / a2);
    result.Ep2 = static_cast<double>((a2 - b2) / b2);
    return result;
}

}  // namespace gridwise
