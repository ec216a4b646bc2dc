#include "datumer/state.hpp"

#include "datumer/rules/point_rules.hpp"

namespace datumer {

DatumerState MakeDatumerState() {
    DatumerState state;
    InitDatumPresets(state);
    state.SelectedPreset = 1;
    EnterPointScreen(state);
    return state;
}

}  // namespace datumer
