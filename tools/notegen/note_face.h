// The whole face of a note, upright, in its own frame.
#pragma once

#include "note_canvas.h"
#include "notegen.h"
#include "typeface.h"

namespace morvex::notegen {

inline constexpr Rgbf kZone1Ink{128, 18, 24};   // dark red
inline constexpr Rgbf kZone2Ink{22, 38, 118};   // dark blue
inline constexpr Rgbf kMarkInk{38, 40, 46};     // near black

// Paper, decoration and, on the number side, the serial number in both zones
// and the face-value marks.
void DrawNoteFace(NoteCanvas& canvas, const Typeface& face, const NotePlan& plan);

}  // namespace morvex::notegen
