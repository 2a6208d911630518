// The face-value patches, the decision and the two number zones of one note.
#pragma once

#include <array>

#include "analysis/frame.h"
#include "analysis/layout.h"
#include "morvex/engine.h"

namespace morvex {

using Outline = std::array<IntPoint, 4>;

// What was read and where, for the marking.
struct NoteReading {
  PatchDecision Decision;
  PlacedRegion Zone1, Zone2, Patch;
  // Outline corners, computed only when asked for.
  Outline Zone1Outline{}, Zone2Outline{}, PatchOutline{};
};

// A region placed on the note, with its outline corners when asked for.
PlacedRegion PlaceWithOutline(const NoteFrame& frame, const NoteScales& scales, const RegionPlace& where,
                              bool outlines, Outline& outline);

// The patch codes at the first and second places.
struct PatchCodes {
  int First = 0;
  int Second = 0;
};

// Cuts and classifies the patch at both places and decides face value and
// orientation into reading and result; when no patch is recognised, result
// gets the failure answer.
PatchCodes ReadPatches(const Bitmap& grey, const NoteFrame& frame, const NoteScales& scales, bool outlines,
                       NoteReading& reading, AnalisysResult& result);

// Cuts and classifies the patch at both places, decides face value and
// orientation, and reads both zones into result; when no patch is recognised
// result gets the failure answer ("#######" twice, face value -1). With
// outlines, each region's outline corners are computed right after its origin.
NoteReading ReadNote(const Bitmap& grey, const NoteFrame& frame, const NoteScales& scales,
                     const ReferenceDigits& references, bool outlines, AnalisysResult& result);

// The robust reading of the patches and zones on a frame of BuildSquareFrame;
// fills the confidences of result as well.
NoteReading ReadNoteRobustly(const Bitmap& grey, const NoteFrame& frame, const NoteScales& scales,
                             const ReferenceDigits& references, bool outlines, AnalisysResult& result);

// Tints the zones and the patch that gave the answer and draws the outlines
// (only the note's when nothing was recognised) on the 24-bit working image.
void MarkNote(Bitmap& image, const NoteFrame& frame, const NoteReading& reading);

}  // namespace morvex
