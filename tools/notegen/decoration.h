// The light print of the note: guilloche borders, rosettes, wave fields,
// lettering and, on the side without number, hatched panels. All of it stays
// far brighter than the dark print and keeps clear of the number zones and the
// face-value patch places.
#pragma once

#include <cstdint>

#include "note_canvas.h"
#include "typeface.h"

namespace morvex::notegen {

// The colour of the light print of a face value.
Rgbf DecorationTint(int denomination);

void DrawFrontDecoration(NoteCanvas& canvas, const Typeface& face, int denomination, std::uint64_t seed);
void DrawBackDecoration(NoteCanvas& canvas, const Typeface& face, int denomination, std::uint64_t seed);

}  // namespace morvex::notegen
