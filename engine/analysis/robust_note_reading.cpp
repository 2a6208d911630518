// The robust reading of one note: the patch decision and both zones, with a
// confidence per zone.
#include "analysis/note_reading.h"
#include "analysis/region.h"
#include "zones/robust_reading.h"
#include "zones/zones.h"

namespace morvex {

namespace {

GreyPlane CutZonePlane(const Bitmap& grey, const NoteFrame& frame, const PlacedRegion& place, bool upsideDown) {
  Bitmap zone = CutRegion(grey, frame, place);
  if (upsideDown) TurnHalf(zone);
  return BrightnessPlane(zone);
}

}  // namespace

NoteReading ReadNoteRobustly(const Bitmap& grey, const NoteFrame& frame, const NoteScales& scales,
                             const ReferenceDigits& references, bool outlines, AnalisysResult& result) {
  const auto place = [&](const RegionPlace& where, Outline& outline) {
    const PlacedRegion region = PlaceRegion(frame, scales, where);
    if (outlines) outline = RegionOutline(frame, scales, where);
    return region;
  };
  NoteReading reading;
  Outline firstOutline{}, secondOutline{};
  const PlacedRegion first = place(PatchFirstPlace, firstOutline);
  const int code1 = ClassifyPatch(CutRegion(grey, frame, first));
  const PlacedRegion second = place(PatchSecondPlace, secondOutline);
  const int code2 = ClassifyPatch(CutRegion(grey, frame, second));
  reading.Decision = DecidePatches(code1, code2);
  result.Zone1Confidence = 0.0;
  result.Zone2Confidence = 0.0;
  if (!reading.Decision.Recognised) {
    result.Zone1Number = "#######";
    result.Zone2Number = "#######";
    result.Denomination = -1;
    return reading;
  }
  const bool secondUsed = reading.Decision.Place == PatchPlace::Second;
  reading.Patch = secondUsed ? second : first;
  reading.PatchOutline = secondUsed ? secondOutline : firstOutline;
  result.Denomination = reading.Decision.Denomination;
  result.UpsideDown = reading.Decision.UpsideDown;

  const bool turned = reading.Decision.UpsideDown;
  reading.Zone1 = place(turned ? Zone1UpsideDown : Zone1Upright, reading.Zone1Outline);
  reading.Zone2 = place(turned ? Zone2UpsideDown : Zone2Upright, reading.Zone2Outline);
  const double pitch = DigitPitch(scales), width = DigitWidth(scales);
  ZoneReading zone1 = ReadZoneRobustly(CutZonePlane(grey, frame, reading.Zone1, turned), 1, pitch, width, references);
  ZoneReading zone2 = ReadZoneRobustly(CutZonePlane(grey, frame, reading.Zone2, turned), 2, pitch, width, references);
  SettleZones(zone1, zone2);
  result.Zone1Number = zone1.text();
  result.Zone2Number = zone2.text();
  result.Zone1Confidence = zone1.confidence();
  result.Zone2Confidence = zone2.confidence();
  return reading;
}

}  // namespace morvex
