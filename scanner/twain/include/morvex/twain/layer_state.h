// The layer's module-level state lives in one record (see session_state.h in
// the sources). ResetLayerState brings it back to the start of a run: an open
// session is abandoned, the image-list handles the layer owns are freed and
// every field gets its initial value. Tests call it between cases.
#pragma once

namespace morvex::twain {

void ResetLayerState();

}  // namespace morvex::twain
