// SANE's option descriptors and values in this layer's types.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "descriptor.h"

namespace morvex::sane {

namespace {

OptionType TypeOf(SANE_Value_Type t) {
  switch (t) {
    case SANE_TYPE_BOOL: return OptionType::Bool;
    case SANE_TYPE_INT: return OptionType::Int;
    case SANE_TYPE_FIXED: return OptionType::Fixed;
    case SANE_TYPE_STRING: return OptionType::String;
    case SANE_TYPE_BUTTON: return OptionType::Button;
    default: return OptionType::Group;
  }
}

OptionUnit UnitOf(SANE_Unit u) {
  switch (u) {
    case SANE_UNIT_PIXEL: return OptionUnit::Pixel;
    case SANE_UNIT_BIT: return OptionUnit::Bit;
    case SANE_UNIT_MM: return OptionUnit::Mm;
    case SANE_UNIT_DPI: return OptionUnit::Dpi;
    case SANE_UNIT_PERCENT: return OptionUnit::Percent;
    case SANE_UNIT_MICROSECOND: return OptionUnit::Microsecond;
    default: return OptionUnit::None;
  }
}

std::string Text(const char* s) { return s ? s : ""; }

// A word of an Int or Fixed option as a decimal.
double Number(OptionType type, SANE_Word w) { return type == OptionType::Fixed ? SANE_UNFIX(w) : static_cast<double>(w); }

SANE_Word FixedWord(double v) { return static_cast<SANE_Word>(std::lround(v * (1 << SANE_FIXED_SCALE_SHIFT))); }

std::size_t WordCount(const OptionDescriptor& o) { return static_cast<std::size_t>(o.size) / sizeof(SANE_Word); }

}  // namespace

const char* UnitSymbol(OptionUnit unit) {
  switch (unit) {
    case OptionUnit::None: return "";
    case OptionUnit::Pixel: return "pel";
    case OptionUnit::Bit: return "bit";
    case OptionUnit::Mm: return "mm";
    case OptionUnit::Dpi: return "dpi";
    case OptionUnit::Percent: return "%";
    case OptionUnit::Microsecond: return "us";
  }
  return "";
}

OptionDescriptor DescribeOption(int index, const SANE_Option_Descriptor& d) {
  OptionDescriptor o;
  o.index = index;
  o.name = Text(d.name);
  o.title = Text(d.title);
  o.description = Text(d.desc);
  o.type = TypeOf(d.type);
  o.unit = UnitOf(d.unit);
  o.size = d.size < 0 ? 0 : d.size;
  const bool words = o.type == OptionType::Bool || o.type == OptionType::Int || o.type == OptionType::Fixed;
  o.count = words ? std::max<int>(1, static_cast<int>(WordCount(o))) : 1;
  const SANE_Int cap = d.cap;
  o.active = SANE_OPTION_IS_ACTIVE(cap);
  o.softSelect = (cap & SANE_CAP_SOFT_SELECT) != 0;
  o.hardSelect = (cap & SANE_CAP_HARD_SELECT) != 0;
  o.softDetect = (cap & SANE_CAP_SOFT_DETECT) != 0;
  o.emulated = (cap & SANE_CAP_EMULATED) != 0;
  o.automatic = (cap & SANE_CAP_AUTOMATIC) != 0;
  o.advanced = (cap & SANE_CAP_ADVANCED) != 0;
  switch (d.constraint_type) {
    case SANE_CONSTRAINT_RANGE:
      if (d.constraint.range) {
        o.constraint = ConstraintKind::Range;
        o.range = {Number(o.type, d.constraint.range->min), Number(o.type, d.constraint.range->max),
                   Number(o.type, d.constraint.range->quant)};
      }
      break;
    case SANE_CONSTRAINT_WORD_LIST:
      if (d.constraint.word_list) {
        o.constraint = ConstraintKind::WordList;
        const SANE_Word n = d.constraint.word_list[0];  // the list's first word is its length
        for (SANE_Word i = 1; i <= n; ++i) o.words.push_back(Number(o.type, d.constraint.word_list[i]));
      }
      break;
    case SANE_CONSTRAINT_STRING_LIST:
      if (d.constraint.string_list) {
        o.constraint = ConstraintKind::StringList;
        for (const SANE_String_Const* s = d.constraint.string_list; *s; ++s) o.strings.emplace_back(*s);
      }
      break;
    default:
      break;
  }
  return o;
}

std::string KindMismatch(const OptionDescriptor& o, const OptionValue& v) {
  switch (o.type) {
    case OptionType::Bool:
      return std::holds_alternative<bool>(v) ? "" : "a yes/no value";
    case OptionType::Int: {
      const auto* ints = std::get_if<std::vector<std::int32_t>>(&v);
      if (!ints) return "integers";
      return ints->size() == static_cast<std::size_t>(o.count) ? "" : std::to_string(o.count) + " integers";
    }
    case OptionType::Fixed: {
      const auto* reals = std::get_if<std::vector<double>>(&v);
      if (!reals) return "decimal numbers";
      return reals->size() == static_cast<std::size_t>(o.count) ? "" : std::to_string(o.count) + " decimal numbers";
    }
    case OptionType::String: {
      const auto* s = std::get_if<std::string>(&v);
      if (!s) return "a text";
      if (s->find('\0') != std::string::npos) return "a text without zero bytes";
      return s->size() < static_cast<std::size_t>(o.size) ? "" : "a text of at most " + std::to_string(o.size - 1) + " bytes";
    }
    case OptionType::Button:
      return std::holds_alternative<std::monostate>(v) ? "" : "no value";
    case OptionType::Group:
      return "nothing (a group is no option)";
  }
  return "";
}

std::vector<std::uint8_t> EncodeValue(const OptionDescriptor& o, const OptionValue& v) {
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::max(o.size, static_cast<int>(sizeof(SANE_Word)))), 0);
  auto put = [&](std::size_t i, SANE_Word w) { std::memcpy(bytes.data() + i * sizeof(SANE_Word), &w, sizeof w); };
  if (const bool* b = std::get_if<bool>(&v)) put(0, *b ? SANE_TRUE : SANE_FALSE);
  if (const auto* ints = std::get_if<std::vector<std::int32_t>>(&v)) {
    for (std::size_t i = 0; i < ints->size() && i < WordCount(o); ++i) put(i, (*ints)[i]);
  }
  if (const auto* reals = std::get_if<std::vector<double>>(&v)) {
    for (std::size_t i = 0; i < reals->size() && i < WordCount(o); ++i) put(i, FixedWord((*reals)[i]));
  }
  if (const auto* s = std::get_if<std::string>(&v)) std::memcpy(bytes.data(), s->data(), std::min(s->size(), bytes.size() - 1));
  return bytes;
}

OptionValue DecodeValue(const OptionDescriptor& o, const std::vector<std::uint8_t>& bytes) {
  auto word = [&](std::size_t i) {
    SANE_Word w = 0;
    if ((i + 1) * sizeof w <= bytes.size()) std::memcpy(&w, bytes.data() + i * sizeof w, sizeof w);
    return w;
  };
  switch (o.type) {
    case OptionType::Bool:
      return word(0) != SANE_FALSE;
    case OptionType::Int: {
      std::vector<std::int32_t> ints;
      for (std::size_t i = 0; i < static_cast<std::size_t>(o.count); ++i) ints.push_back(word(i));
      return ints;
    }
    case OptionType::Fixed: {
      std::vector<double> reals;
      for (std::size_t i = 0; i < static_cast<std::size_t>(o.count); ++i) reals.push_back(SANE_UNFIX(word(i)));
      return reals;
    }
    case OptionType::String: {
      const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
      return std::string(bytes.begin(), end);
    }
    default:
      return std::monostate{};
  }
}

}  // namespace morvex::sane
