#include "datumer/geodesy/proj_pipeline.hpp"

#include "datumer/rules/setup_rules.hpp"

namespace datumer {

namespace {

std::string Number(double value) {
    return SetupFieldText(value, '.');
}

std::string Ellipsoid(const TELL& ellipsoid) {
    return "+a=" + Number(ellipsoid.A) + " +rf=" + Number(ellipsoid.InvFlattening);
}

}  // namespace

std::string ProjPipeline(const DatumerState& state, int preset) {
    const TCHSK& p = PresetAt(state, preset);
    return "+proj=pipeline +step +proj=cart " + Ellipsoid(EllipsoidAt(state, p.SourceEll)) +
           " +step +proj=helmert +x=" + Number(p.DX) + " +y=" + Number(p.DY) +
           " +z=" + Number(p.DZ) + " +rx=" + Number(p.WX) + " +ry=" + Number(p.WY) +
           " +rz=" + Number(p.WZ) + " +s=" + Number(p.M) +
           " +convention=coordinate_frame +step +inv +proj=cart " +
           Ellipsoid(EllipsoidAt(state, p.TargetEll));
}

}  // namespace datumer
