// A device's options as SANE describes them, and their values.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace morvex::sane {

enum class OptionType { Bool, Int, Fixed, String, Button, Group };
enum class OptionUnit { None, Pixel, Bit, Mm, Dpi, Percent, Microsecond };
enum class ConstraintKind { None, Range, WordList, StringList };

// A range constraint in the option's own numbers (fixed-point values already
// converted to decimals). quant 0 means any value in [min, max].
struct OptionRange {
  double min = 0;
  double max = 0;
  double quant = 0;
};

struct OptionDescriptor {
  int index = 0;            // SANE's option number (0 is the option count)
  std::string name;         // "mode", "resolution", "tl-x"; empty for groups
  std::string title;
  std::string description;
  OptionType type = OptionType::Int;
  OptionUnit unit = OptionUnit::None;
  int size = 0;             // bytes of the value as SANE holds it
  int count = 1;            // values of a Bool, Int or Fixed option (arrays > 1)

  ConstraintKind constraint = ConstraintKind::None;
  OptionRange range;                 // ConstraintKind::Range
  std::vector<double> words;         // ConstraintKind::WordList (Int or Fixed)
  std::vector<std::string> strings;  // ConstraintKind::StringList

  // SANE's capabilities.
  bool active = true;       // not SANE_CAP_INACTIVE
  bool softSelect = false;  // can be set by software
  bool hardSelect = false;  // set by a switch on the device
  bool softDetect = false;  // can be read
  bool emulated = false;
  bool automatic = false;   // the device can choose the value itself
  bool advanced = false;

  bool settable() const { return active && softSelect; }
  bool readable() const { return active && softDetect && type != OptionType::Button && type != OptionType::Group; }
};

// An option's value: nothing (Button, Group), a Bool, Int values, Fixed values
// as decimals, or a String.
using OptionValue = std::variant<std::monostate, bool, std::vector<std::int32_t>, std::vector<double>, std::string>;

// What setting an option did.
struct SetResult {
  OptionValue value;            // the value the device holds afterwards
  bool inexact = false;         // the device rounded or limited the value (SANE_INFO_INEXACT)
  bool reloadOptions = false;   // other options changed; options() was read again
  bool reloadParameters = false;  // the image parameters changed
};

// Unit as SANE front ends print it: "", "pel", "bit", "mm", "dpi", "%", "us".
const char* UnitSymbol(OptionUnit unit);

}  // namespace morvex::sane
