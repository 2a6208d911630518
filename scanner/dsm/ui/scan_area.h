// The scan area: the bed a device can scan and the part of it a scan takes,
// in the device's own units (millimetres or pixels) of tl-x, tl-y, br-x, br-y.
#pragma once

#include <optional>

#include "morvex/sane/device.h"

namespace morvex::dsm {

struct ScanArea {
  double left = 0, top = 0, right = 0, bottom = 0;
};

// The bed, from the ranges of tl-x, tl-y, br-x and br-y; nothing when the
// device has no settable scan area of that kind.
struct Bed {
  ScanArea extent;
  morvex::sane::OptionUnit unit = morvex::sane::OptionUnit::Mm;
  double width() const { return extent.right - extent.left; }
  double height() const { return extent.bottom - extent.top; }
};
std::optional<Bed> BedOf(const morvex::sane::Device& device);

// The device's current area; nothing when it cannot be read.
std::optional<ScanArea> CurrentArea(const morvex::sane::Device& device);

// Sets the four options, in an order in which the top-left corner never
// passes the bottom-right one. Throws what Device::set throws.
void SetArea(morvex::sane::Device& device, const ScanArea& area);

// A banknote's size, for the preset that takes one note in the middle of the bed.
inline constexpr double kNoteWidthMm = 160;
inline constexpr double kNoteHeightMm = 75;

// The preset areas: the whole bed; a note-sized area centred on the bed and
// cut to it (pixel units are converted at `dpi`; with other units or no dpi
// the area keeps the note's share of an A4-sized bed).
ScanArea WholeBed(const Bed& bed);
ScanArea NoteArea(const Bed& bed, double dpi);

// The area that the fractions (0..1 of the bed's width and height) mark, and back.
ScanArea AreaFromFractions(const Bed& bed, double left, double top, double right, double bottom);
ScanArea FractionsOf(const Bed& bed, const ScanArea& area);

// Whether two areas are the same within `tolerance` device units.
bool SameArea(const ScanArea& a, const ScanArea& b, double tolerance);

}  // namespace morvex::dsm
