#pragma once
// TransformDatum as the batch converters evaluate it. A file holds only the text of the target
// point, so the converters need the plain transformation's text, not its doubles: here the
// transformation is evaluated in double, with the standard's latitude iteration followed pass
// by pass from a closed start, together with a bound on the distance of each value from the
// plain evaluation's. When every value within the bounds writes the same text, the fast values
// are kept; otherwise, and wherever the bounds are not derived (near the axis, the equator
// plane, the +-180 deg meridian, the poles, far from the ellipsoid), TransformDatum decides.
// The point screen keeps TransformDatum itself.

#include <cstdint>

#include "datumer/geodesy/transform.hpp"

namespace datumer {

// The decimals a converter writes the target with; the height only when it is written.
struct WrittenDecimals {
    std::uint8_t Angle = 10;  // B2 and L2
    std::uint8_t Height = 3;
    bool HeightWritten = true;
};

// The fast evaluation of one point: the target and the largest distance of each of its values
// from those of TransformDatum (degrees, degrees, metres). `usable` is false where no bound is
// derived; only TransformDatum applies there.
struct BoundedTarget {
    GeodeticPoint target;
    GeodeticPoint bound;
    bool usable = false;
};

class FileDatumTransform {
  public:
    FileDatumTransform(const DatumParams& params, WrittenDecimals decimals);

    BoundedTarget Estimate(const GeodeticPoint& source) const;
    // A target whose B2, L2 (and H2 when written) print as those of TransformDatum.
    GeodeticPoint operator()(const GeodeticPoint& source) const;

  private:
    DatumParams params_;
    WrittenDecimals decimals_;
    double e1_ = 0, e2_ = 0;     // squared eccentricities as TransformDatum forms them
    double scale_ = 1;           // 1 + M
    double halfE2A2_ = 0;        // e2² a2 / 2, so that p = halfE2A2_ / r
    double geocentricSize_ = 0;  // what the rounding of the geocentric coordinates scales with
};

}  // namespace datumer
