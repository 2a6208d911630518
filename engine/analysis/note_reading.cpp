#include "analysis/note_reading.h"

#include "analysis/marking.h"
#include "analysis/region.h"
#include "zones/zones.h"

namespace morvex {

namespace {

int ClassifyAt(const Bitmap& grey, const NoteFrame& frame, const PlacedRegion& place) {
  const Bitmap patch = CutRegion(grey, frame, place);
  return ClassifyPatch(patch);
}

Bitmap CutZone(const Bitmap& grey, const NoteFrame& frame, const PlacedRegion& place, bool upsideDown) {
  Bitmap zone = CutRegion(grey, frame, place);
  if (upsideDown) TurnHalf(zone);
  return zone;
}

}  // namespace

PlacedRegion PlaceWithOutline(const NoteFrame& frame, const NoteScales& scales, const RegionPlace& where,
                              bool outlines, Outline& outline) {
  const PlacedRegion region = PlaceRegion(frame, scales, where);
  if (outlines) outline = RegionOutline(frame, scales, where);
  return region;
}

PatchCodes ReadPatches(const Bitmap& grey, const NoteFrame& frame, const NoteScales& scales, bool outlines,
                       NoteReading& reading, AnalisysResult& result) {
  Outline firstOutline{}, secondOutline{};
  const PlacedRegion first = PlaceWithOutline(frame, scales, PatchFirstPlace, outlines, firstOutline);
  PatchCodes codes;
  codes.First = ClassifyAt(grey, frame, first);
  const PlacedRegion second = PlaceWithOutline(frame, scales, PatchSecondPlace, outlines, secondOutline);
  codes.Second = ClassifyAt(grey, frame, second);
  reading.Decision = DecidePatches(codes.First, codes.Second);
  if (!reading.Decision.Recognised) {
    result.Zone1Number = "#######";
    result.Zone2Number = "#######";
    result.Denomination = -1;
    return codes;
  }
  const bool secondUsed = reading.Decision.Place == PatchPlace::Second;
  reading.Patch = secondUsed ? second : first;
  reading.PatchOutline = secondUsed ? secondOutline : firstOutline;
  result.Denomination = reading.Decision.Denomination;
  result.UpsideDown = reading.Decision.UpsideDown;
  return codes;
}

NoteReading ReadNote(const Bitmap& grey, const NoteFrame& frame, const NoteScales& scales,
                     const ReferenceDigits& references, bool outlines, AnalisysResult& result) {
  NoteReading reading;
  ReadPatches(grey, frame, scales, outlines, reading, result);
  if (!reading.Decision.Recognised) return reading;

  const bool turned = reading.Decision.UpsideDown;
  reading.Zone1 = PlaceWithOutline(frame, scales, turned ? Zone1UpsideDown : Zone1Upright, outlines, reading.Zone1Outline);
  Bitmap zone1 = CutZone(grey, frame, reading.Zone1, turned);
  reading.Zone2 = PlaceWithOutline(frame, scales, turned ? Zone2UpsideDown : Zone2Upright, outlines, reading.Zone2Outline);
  Bitmap zone2 = CutZone(grey, frame, reading.Zone2, turned);
  result.Zone1Number = ReadZone1Number(zone1, references);
  result.Zone2Number = ReadZone2Number(zone2, DigitPitch(scales), DigitWidth(scales), references);
  return reading;
}

void MarkNote(Bitmap& image, const NoteFrame& frame, const NoteReading& reading) {
  const bool found = reading.Decision.Recognised;
  if (found) {
    TintRegion(image, reading.Zone1.Height, reading.Zone1.Width, frame.k, reading.Zone1.Origin, TintChannel::Red);
    TintRegion(image, reading.Zone2.Height, reading.Zone2.Width, frame.k, reading.Zone2.Origin, TintChannel::Blue);
    TintRegion(image, reading.Patch.Height, reading.Patch.Width, frame.k, reading.Patch.Origin, TintChannel::Green);
  }
  DrawOutline(image, {frame.P1, frame.P2, frame.P3, frame.P4}, NoteOutlineColour);
  if (found) {
    DrawOutline(image, reading.Zone1Outline, Zone1OutlineColour);
    DrawOutline(image, reading.Zone2Outline, Zone2OutlineColour);
    DrawOutline(image, reading.PatchOutline, PatchOutlineColour);
  }
}

}  // namespace morvex
