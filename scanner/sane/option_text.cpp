#include "morvex/sane/option_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <vector>

#include "morvex/sane/error.h"

namespace morvex::sane {

namespace {

// A fixed-point step: values closer than this are the same SANE_Fixed.
constexpr double kFixedStep = 1.0 / 65536;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return out;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

std::vector<std::string_view> SplitCommas(std::string_view text) {
  std::vector<std::string_view> parts;
  for (;;) {
    const std::size_t comma = text.find(',');
    parts.push_back(Trim(text.substr(0, comma)));
    if (comma == std::string_view::npos) return parts;
    text.remove_prefix(comma + 1);
  }
}

// Decimal text of a number, locale-independent, at most four decimals.
std::string Decimal(double v) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 4);
  std::string s(buf, ec == std::errc() ? end : buf);
  if (s.find('.') != std::string::npos) {
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
  }
  if (s == "-0") s = "0";
  return s;
}

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
  return out;
}

std::string WithUnit(const OptionDescriptor& o, const std::string& text) {
  const std::string unit = UnitSymbol(o.unit);
  return unit.empty() ? text : text + " " + unit;
}

bool Near(double a, double b, OptionType type) { return type == OptionType::Fixed ? std::fabs(a - b) <= kFixedStep : a == b; }

// Why one number does not meet the option's constraint, or empty.
std::string CheckNumber(const OptionDescriptor& o, double v) {
  if (o.constraint == ConstraintKind::Range) {
    const double slack = o.type == OptionType::Fixed ? kFixedStep : 0;
    if (v < o.range.min - slack || v > o.range.max + slack) return "out of range";
    if (o.range.quant > 0) {
      const double steps = (v - o.range.min) / o.range.quant;
      if (!Near(steps * o.range.quant, std::round(steps) * o.range.quant, o.type)) return "not on a step";
    }
  } else if (o.constraint == ConstraintKind::WordList) {
    if (std::none_of(o.words.begin(), o.words.end(), [&](double w) { return Near(w, v, o.type); })) return "not in the list";
  }
  return "";
}

}  // namespace

std::string AcceptedValues(const OptionDescriptor& o) {
  std::string what;
  switch (o.type) {
    case OptionType::Group:
      return "nothing (a group of options)";
    case OptionType::Button:
      return "no value (it is a button)";
    case OptionType::Bool:
      return "yes or no";
    case OptionType::String:
      if (o.constraint == ConstraintKind::StringList) return "one of " + Join(o.strings);
      return "any text of at most " + std::to_string(std::max(0, o.size - 1)) + " bytes";
    case OptionType::Int:
    case OptionType::Fixed: {
      const bool ints = o.type == OptionType::Int;
      if (o.constraint == ConstraintKind::WordList) {
        std::vector<std::string> words;
        for (double w : o.words) words.push_back(Decimal(w));
        what = WithUnit(o, "one of " + Join(words));
      } else if (o.constraint == ConstraintKind::Range) {
        what = WithUnit(o, std::string(ints ? "an integer" : "a decimal number") + " from " + Decimal(o.range.min) +
                               " to " + Decimal(o.range.max));
        if (o.range.quant > 0) what += " in steps of " + Decimal(o.range.quant);
      } else {
        what = WithUnit(o, ints ? "an integer" : "a decimal number");
      }
      if (o.count > 1) what = std::to_string(o.count) + " values separated by commas, each " + what;
      return what;
    }
  }
  return what;
}

std::optional<std::string> CheckValue(const OptionDescriptor& o, const OptionValue& v) {
  auto none = [] { return std::optional<std::string>(); };
  switch (o.type) {
    case OptionType::Group:
      return "it is a group of options";
    case OptionType::Button:
      return std::holds_alternative<std::monostate>(v) ? none() : std::optional<std::string>("it takes no value");
    case OptionType::Bool:
      return std::holds_alternative<bool>(v) ? none() : std::optional<std::string>("it takes yes or no");
    case OptionType::String: {
      const auto* s = std::get_if<std::string>(&v);
      if (!s) return "it takes a text";
      if (s->size() >= static_cast<std::size_t>(std::max(o.size, 1)) || s->find('\0') != std::string::npos) {
        return "the text is too long";
      }
      if (o.constraint == ConstraintKind::StringList && std::find(o.strings.begin(), o.strings.end(), *s) == o.strings.end()) {
        return "'" + *s + "' is not in its list";
      }
      return none();
    }
    case OptionType::Int:
    case OptionType::Fixed: {
      std::vector<double> numbers;
      if (const auto* ints = std::get_if<std::vector<std::int32_t>>(&v); ints && o.type == OptionType::Int) {
        numbers.assign(ints->begin(), ints->end());
      } else if (const auto* reals = std::get_if<std::vector<double>>(&v); reals && o.type == OptionType::Fixed) {
        numbers = *reals;
      } else {
        return std::string("it takes ") + (o.type == OptionType::Int ? "integers" : "decimal numbers");
      }
      if (numbers.size() != static_cast<std::size_t>(o.count)) {
        return "it takes " + std::to_string(o.count) + (o.count == 1 ? " value" : " values");
      }
      for (double n : numbers) {
        const std::string why = CheckNumber(o, n);
        if (!why.empty()) return Decimal(n) + " is " + why;
      }
      return none();
    }
  }
  return none();
}

OptionValue ParseOptionValue(const OptionDescriptor& o, std::string_view text) {
  auto refuse = [&](const std::string& why) -> OptionError {
    return OptionError("option '" + o.name + "' does not accept '" + std::string(text) + "'" +
                       (why.empty() ? "" : " (" + why + ")") + ": it takes " + AcceptedValues(o));
  };
  OptionValue value;
  switch (o.type) {
    case OptionType::Group:
      throw OptionError("'" + o.name + "' is a group of options, not an option");
    case OptionType::Button:
      if (!text.empty()) throw refuse("");
      value = std::monostate{};
      break;
    case OptionType::Bool: {
      const std::string t = Lower(Trim(text));
      if (t == "yes" || t == "true" || t == "on" || t == "1") {
        value = true;
      } else if (t == "no" || t == "false" || t == "off" || t == "0") {
        value = false;
      } else {
        throw refuse("");
      }
      break;
    }
    case OptionType::Int: {
      std::vector<std::int32_t> ints;
      for (std::string_view part : SplitCommas(text)) {
        if (!part.empty() && part.front() == '+') part.remove_prefix(1);
        std::int32_t n = 0;
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), n);
        if (part.empty() || ec != std::errc() || end != part.data() + part.size()) throw refuse("");
        ints.push_back(n);
      }
      value = std::move(ints);
      break;
    }
    case OptionType::Fixed: {
      std::vector<double> reals;
      for (std::string_view part : SplitCommas(text)) {
        if (!part.empty() && part.front() == '+') part.remove_prefix(1);
        double d = 0;
        const auto [end, ec] = std::from_chars(part.data(), part.data() + part.size(), d, std::chars_format::fixed);
        // SANE_Fixed holds -32768 .. 32767.99998.
        if (part.empty() || ec != std::errc() || end != part.data() + part.size() || !(d >= -32768.0 && d < 32768.0)) {
          throw refuse("");
        }
        reals.push_back(d);
      }
      value = std::move(reals);
      break;
    }
    case OptionType::String: {
      std::string s(text);
      // A word of the list may be typed in any letter case.
      for (const std::string& word : o.strings) {
        if (Lower(word) == Lower(s)) s = word;
      }
      value = std::move(s);
      break;
    }
  }
  if (const auto why = CheckValue(o, value)) throw refuse(*why);
  return value;
}

std::string FormatValue(const OptionValue& value) {
  if (const bool* b = std::get_if<bool>(&value)) return *b ? "yes" : "no";
  std::vector<std::string> parts;
  if (const auto* ints = std::get_if<std::vector<std::int32_t>>(&value)) {
    for (std::int32_t n : *ints) parts.push_back(std::to_string(n));
  }
  if (const auto* reals = std::get_if<std::vector<double>>(&value)) {
    for (double d : *reals) parts.push_back(Decimal(d));
  }
  if (const auto* s = std::get_if<std::string>(&value)) return *s;
  std::string out;
  for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "," : "") + parts[i];
  return out;
}

}  // namespace morvex::sane
