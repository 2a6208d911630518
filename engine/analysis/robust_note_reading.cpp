// The robust reading of one note: the patch decision and both zones, with a
// confidence per zone.
#include "analysis/note_reading.h"

namespace morvex {

NoteReading ReadNoteRobustly(const Bitmap& grey, const NoteFrame& frame, const NoteScales& scales,
                             const ReferenceDigits& references, bool outlines, AnalisysResult& result) {
  NoteReading reading = ReadNote(grey, frame, scales, references, outlines, result);
  result.Zone1Confidence = 0.0;
  result.Zone2Confidence = 0.0;
  return reading;
}

}  // namespace morvex
