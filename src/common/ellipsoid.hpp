#pragma once
// A reference ellipsoid as both programs' tables and set-up screens hold it, and the ellipsoids
// both programs know by name.

#include <string>

namespace common {

struct Ellipsoid {
    std::string Name;            // display name
    double A = 0.0;              // semi-major axis, metres
    double InvFlattening = 0.0;  // 1/f, not f (298.3)
};

inline Ellipsoid Krasovsky1940() {
    return {"Красовского-1940", 6378245.0, 298.3};
}
inline Ellipsoid Wgs84Ellipsoid() {
    return {"WGS84", 6378137.0, 298.257223563};
}
inline Ellipsoid Pz9001Ellipsoid() {
    return {"ПЗ90.01", 6378136.0, 298.257839303};
}

}  // namespace common
