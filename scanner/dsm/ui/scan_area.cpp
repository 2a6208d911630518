#include "scan_area.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace morvex::dsm {

namespace {

using morvex::sane::ConstraintKind;
using morvex::sane::OptionDescriptor;
using morvex::sane::OptionType;
using morvex::sane::OptionValue;

constexpr std::array<const char*, 4> kCorners = {"tl-x", "tl-y", "br-x", "br-y"};

// The least and greatest value the option allows.
std::optional<std::pair<double, double>> Limits(const OptionDescriptor* o) {
  if (!o || !o->settable() || o->count != 1 || (o->type != OptionType::Int && o->type != OptionType::Fixed)) {
    return std::nullopt;
  }
  if (o->constraint == ConstraintKind::Range) return std::pair{o->range.min, o->range.max};
  if (o->constraint == ConstraintKind::WordList && !o->words.empty()) {
    const auto [lo, hi] = std::minmax_element(o->words.begin(), o->words.end());
    return std::pair{*lo, *hi};
  }
  return std::nullopt;
}

double Number(const OptionValue& v) {
  if (const auto* ints = std::get_if<std::vector<std::int32_t>>(&v); ints && !ints->empty()) return (*ints)[0];
  if (const auto* reals = std::get_if<std::vector<double>>(&v); reals && !reals->empty()) return (*reals)[0];
  return 0;
}

// The allowed value nearest to `v`: inside the range and on its steps.
OptionValue Fit(const OptionDescriptor& o, double v) {
  if (o.constraint == ConstraintKind::Range) {
    if (o.range.quant > 0) v = o.range.min + std::round((v - o.range.min) / o.range.quant) * o.range.quant;
    v = std::clamp(v, o.range.min, o.range.max);
  } else if (o.constraint == ConstraintKind::WordList && !o.words.empty()) {
    v = *std::min_element(o.words.begin(), o.words.end(),
                          [v](double a, double b) { return std::abs(a - v) < std::abs(b - v); });
  }
  if (o.type == OptionType::Int) return std::vector<std::int32_t>{static_cast<std::int32_t>(std::lround(v))};
  return std::vector<double>{v};
}

void SetOne(morvex::sane::Device& device, const char* name, double value) {
  const OptionDescriptor* o = device.find(name);
  if (o) device.set(name, Fit(*o, value));
}

}  // namespace

std::optional<Bed> BedOf(const morvex::sane::Device& device) {
  std::array<std::pair<double, double>, 4> limits;
  for (std::size_t i = 0; i < kCorners.size(); ++i) {
    const auto l = Limits(device.find(kCorners[i]));
    if (!l) return std::nullopt;
    limits[i] = *l;
  }
  Bed bed;
  bed.extent = {limits[0].first, limits[1].first, limits[2].second, limits[3].second};
  bed.unit = device.find("br-x")->unit;
  if (bed.width() <= 0 || bed.height() <= 0) return std::nullopt;
  return bed;
}

std::optional<ScanArea> CurrentArea(const morvex::sane::Device& device) {
  std::array<double, 4> v{};
  try {
    for (std::size_t i = 0; i < kCorners.size(); ++i) {
      const OptionDescriptor* o = device.find(kCorners[i]);
      if (!o || !o->readable()) return std::nullopt;
      v[i] = Number(device.get(kCorners[i]));
    }
  } catch (const std::exception&) {
    return std::nullopt;
  }
  return ScanArea{v[0], v[1], v[2], v[3]};
}

void SetArea(morvex::sane::Device& device, const ScanArea& area) {
  const std::optional<ScanArea> now = CurrentArea(device);
  // Moving right (down) past the present far edge sets the far edge first,
  // otherwise the near one, so that no step asks for an area whose corners
  // cross.
  const auto set_edges = [&](const char* near_name, double near_edge, const char* far_name, double far_edge,
                             bool far_first) {
    if (far_first) SetOne(device, far_name, far_edge);
    SetOne(device, near_name, near_edge);
    if (!far_first) SetOne(device, far_name, far_edge);
  };
  set_edges("tl-x", area.left, "br-x", area.right, now && area.left > now->right);
  set_edges("tl-y", area.top, "br-y", area.bottom, now && area.top > now->bottom);
}

ScanArea WholeBed(const Bed& bed) { return bed.extent; }

ScanArea NoteArea(const Bed& bed, double dpi) {
  double width = 0, height = 0;
  if (bed.unit == morvex::sane::OptionUnit::Mm) {
    width = kNoteWidthMm;
    height = kNoteHeightMm;
  } else if (bed.unit == morvex::sane::OptionUnit::Pixel && dpi > 0) {
    width = kNoteWidthMm / 25.4 * dpi;
    height = kNoteHeightMm / 25.4 * dpi;
  } else {
    width = bed.width() * kNoteWidthMm / 210.0;
    height = bed.height() * kNoteHeightMm / 297.0;
  }
  width = std::min(width, bed.width());
  height = std::min(height, bed.height());
  const double cx = (bed.extent.left + bed.extent.right) / 2;
  const double cy = (bed.extent.top + bed.extent.bottom) / 2;
  return {cx - width / 2, cy - height / 2, cx + width / 2, cy + height / 2};
}

ScanArea AreaFromFractions(const Bed& bed, double left, double top, double right, double bottom) {
  auto x = [&](double f) { return bed.extent.left + std::clamp(f, 0.0, 1.0) * bed.width(); };
  auto y = [&](double f) { return bed.extent.top + std::clamp(f, 0.0, 1.0) * bed.height(); };
  return {x(std::min(left, right)), y(std::min(top, bottom)), x(std::max(left, right)), y(std::max(top, bottom))};
}

ScanArea FractionsOf(const Bed& bed, const ScanArea& area) {
  return {(area.left - bed.extent.left) / bed.width(), (area.top - bed.extent.top) / bed.height(),
          (area.right - bed.extent.left) / bed.width(), (area.bottom - bed.extent.top) / bed.height()};
}

bool SameArea(const ScanArea& a, const ScanArea& b, double tolerance) {
  return std::abs(a.left - b.left) <= tolerance && std::abs(a.top - b.top) <= tolerance &&
         std::abs(a.right - b.right) <= tolerance && std::abs(a.bottom - b.bottom) <= tolerance;
}

}  // namespace morvex::dsm
