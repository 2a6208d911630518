// The robust reading of one note: the patch decision and both zones, with a
// confidence per zone.
#include <tuple>

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
  NoteReading reading;
  result.Zone1Confidence = 0.0;
  result.Zone2Confidence = 0.0;
  const PatchCodes codes = ReadPatches(grey, frame, scales, outlines, reading, result);
  if (!reading.Decision.Recognised) return reading;
  const auto place = [&](const RegionPlace& where, Outline& outline) {
    return PlaceWithOutline(frame, scales, where, outlines, outline);
  };

  const double pitch = DigitPitch(scales), width = DigitWidth(scales);
  struct Zones {
    ZoneReading zone1, zone2;  // the chosen pair, not yet settled
    PlacedRegion place1, place2;
    Outline outline1{}, outline2{};
    double score() const { return zone1.score() + zone2.score(); }
  };
  const auto readZones = [&](bool turned) {
    Zones z;
    z.place1 = place(turned ? Zone1UpsideDown : Zone1Upright, z.outline1);
    z.place2 = place(turned ? Zone2UpsideDown : Zone2Upright, z.outline2);
    const GreyPlane plane1 = CutZonePlane(grey, frame, z.place1, turned);
    const GreyPlane plane2 = CutZonePlane(grey, frame, z.place2, turned);
    std::vector<ZoneReading> zone1 = ReadZoneCandidates(plane1, 1, pitch, width, references);
    std::vector<ZoneReading> zone2 = ReadZoneCandidates(plane2, 2, pitch, width, references);
    std::tie(z.zone1, z.zone2) = ChooseReadings(zone1, zone2);
    // Two readings of different numbers: one of them may have started at the
    // wrong first digit. The less sure zone, and any zone not read surely, is
    // read from every first digit, and a pair that reads one number stands.
    if (z.zone1.read() && z.zone2.read() && !ReadOneNumber(z.zone1, z.zone2)) {
      const double sure1 = z.zone1.confidence(), sure2 = z.zone2.confidence();
      if (sure1 < SureZoneConfidence || sure1 <= sure2)
        zone1 = ReadZoneCandidates(plane1, 1, pitch, width, references, true);
      if (sure2 < SureZoneConfidence || sure2 < sure1)
        zone2 = ReadZoneCandidates(plane2, 2, pitch, width, references, true);
      std::tie(z.zone1, z.zone2) = ChooseReadings(zone1, zone2);
    }
    return z;
  };
  Zones zones = readZones(reading.Decision.UpsideDown);
  // The two patches disagree on the orientation: the second place lies by
  // zone 1's number on an upright note, whose digits can pass for marks. The
  // orientation whose zones read better stands.
  const auto valid = [](int code) { return code >= 1 && code <= 10; };
  if (valid(codes.First) && valid(codes.Second) && codes.First % 2 != codes.Second % 2) {
    Zones other = readZones(!reading.Decision.UpsideDown);
    if (other.score() > zones.score()) {
      zones = std::move(other);
      reading.Decision.UpsideDown = !reading.Decision.UpsideDown;
      result.UpsideDown = reading.Decision.UpsideDown;
    }
  }
  reading.Zone1 = zones.place1;
  reading.Zone2 = zones.place2;
  reading.Zone1Outline = zones.outline1;
  reading.Zone2Outline = zones.outline2;
  ZoneReading& zone1 = zones.zone1;
  ZoneReading& zone2 = zones.zone2;
  SettleZones(zone1, zone2);
  result.Zone1Number = zone1.text();
  result.Zone2Number = zone2.text();
  result.Zone1Confidence = zone1.confidence();
  result.Zone2Confidence = zone2.confidence();
  return reading;
}

}  // namespace morvex
