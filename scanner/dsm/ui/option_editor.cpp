#include "option_editor.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "morvex/sane/error.h"
#include "morvex/sane/option_text.h"

namespace morvex::dsm {

namespace {

using morvex::sane::ConstraintKind;
using morvex::sane::OptionDescriptor;
using morvex::sane::OptionType;
using morvex::sane::OptionValue;

QString Text(const std::string& s) { return QString::fromStdString(s); }

QString UnitSuffix(const OptionDescriptor& o) {
  const std::string symbol = morvex::sane::UnitSymbol(o.unit);
  return symbol.empty() ? QString() : QStringLiteral(" ") + Text(symbol);
}

// The first number of an Int or Fixed value.
std::optional<double> FirstNumber(const OptionValue* value) {
  if (!value) return std::nullopt;
  if (const auto* ints = std::get_if<std::vector<std::int32_t>>(value); ints && !ints->empty()) return (*ints)[0];
  if (const auto* reals = std::get_if<std::vector<double>>(value); reals && !reals->empty()) return (*reals)[0];
  return std::nullopt;
}

OptionValue NumberValue(const OptionDescriptor& o, double number) {
  if (o.type == OptionType::Int) return std::vector<std::int32_t>{static_cast<std::int32_t>(std::lround(number))};
  return std::vector<double>{number};
}

QString NumberText(double number) { return QString::number(number, 'g', 10); }

int Decimals(double quant) {
  if (quant <= 0) return 2;
  int decimals = 0;
  while (decimals < 4 && std::abs(quant * std::pow(10.0, decimals) - std::round(quant * std::pow(10.0, decimals))) > 1e-9) {
    ++decimals;
  }
  return decimals;
}

QWidget* MakeCheckBox(const OptionDescriptor& o, const OptionValue* current, const OptionEditorHooks& hooks, QWidget* parent) {
  auto* box = new QCheckBox(Text(o.title), parent);
  if (const bool* on = current ? std::get_if<bool>(current) : nullptr) box->setChecked(*on);
  QObject::connect(box, &QCheckBox::toggled, box, [set = hooks.set](bool on) { set(OptionValue(on)); });
  return box;
}

QWidget* MakeButton(const OptionDescriptor& o, const OptionEditorHooks& hooks, QWidget* parent) {
  auto* button = new QPushButton(Text(o.title), parent);
  // Not pressed by Enter in another field of the dialog.
  button->setAutoDefault(false);
  QObject::connect(button, &QPushButton::clicked, button, [set = hooks.set] { set(OptionValue(std::monostate{})); });
  return button;
}

QWidget* MakeList(const OptionDescriptor& o, const OptionValue* current, const OptionEditorHooks& hooks, QWidget* parent) {
  auto* box = new QComboBox(parent);
  box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  box->setMinimumContentsLength(12);
  if (o.type == OptionType::String) {
    const std::string* now = current ? std::get_if<std::string>(current) : nullptr;
    for (const std::string& s : o.strings) {
      box->addItem(Text(s), Text(s));
      box->setItemData(box->count() - 1, Text(s), Qt::ToolTipRole);
      if (now && *now == s) box->setCurrentIndex(box->count() - 1);
    }
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [box, set = hooks.set](int index) {
      set(OptionValue(box->itemData(index).toString().toStdString()));
    });
  } else {
    const std::optional<double> now = FirstNumber(current);
    for (const double w : o.words) {
      box->addItem(NumberText(w) + UnitSuffix(o), w);
      if (now && *now == w) box->setCurrentIndex(box->count() - 1);
    }
    QObject::connect(box, &QComboBox::currentIndexChanged, box, [box, o, set = hooks.set](int index) {
      set(NumberValue(o, box->itemData(index).toDouble()));
    });
  }
  return box;
}

QWidget* MakeSpinBox(const OptionDescriptor& o, const OptionValue* current, const OptionEditorHooks& hooks, QWidget* parent) {
  const bool ranged = o.constraint == ConstraintKind::Range;
  const std::optional<double> now = FirstNumber(current);
  if (o.type == OptionType::Int) {
    auto* box = new QSpinBox(parent);
    box->setRange(ranged ? static_cast<int>(std::ceil(o.range.min)) : INT_MIN,
                  ranged ? static_cast<int>(std::floor(o.range.max)) : INT_MAX);
    if (ranged && o.range.quant >= 1) box->setSingleStep(static_cast<int>(o.range.quant));
    box->setSuffix(UnitSuffix(o));
    if (now) box->setValue(static_cast<int>(*now));
    box->setKeyboardTracking(false);  // a value when the user is done typing, not at each key
    QObject::connect(box, &QSpinBox::valueChanged, box, [set = hooks.set](int v) {
      set(OptionValue(std::vector<std::int32_t>{v}));
    });
    return box;
  }
  auto* box = new QDoubleSpinBox(parent);
  box->setDecimals(ranged ? Decimals(o.range.quant) : 4);
  // SANE's fixed-point numbers span -32768 to just under 32768.
  box->setRange(ranged ? o.range.min : -32768.0, ranged ? o.range.max : 32767.9999);
  if (ranged && o.range.quant > 0) box->setSingleStep(o.range.quant);
  box->setSuffix(UnitSuffix(o));
  if (now) box->setValue(*now);
  box->setKeyboardTracking(false);
  QObject::connect(box, &QDoubleSpinBox::valueChanged, box, [set = hooks.set](double v) {
    set(OptionValue(std::vector<double>{v}));
  });
  return box;
}

// Text typed by the user, read by the option's own rules (arrays as
// comma-separated numbers).
QWidget* MakeLine(const OptionDescriptor& o, const OptionValue* current, const OptionEditorHooks& hooks, QWidget* parent) {
  auto* line = new QLineEdit(parent);
  if (current) line->setText(Text(morvex::sane::FormatValue(*current)));
  line->setCursorPosition(0);
  if (o.type != OptionType::String) line->setPlaceholderText(Text(morvex::sane::AcceptedValues(o)));
  // The text last given, so that leaving the field unchanged sets nothing.
  auto given = std::make_shared<QString>(line->text());
  QObject::connect(line, &QLineEdit::editingFinished, line, [line, o, hooks, given] {
    if (line->text() == *given) return;
    *given = line->text();
    try {
      hooks.set(morvex::sane::ParseOptionValue(o, line->text().toStdString()));
    } catch (const morvex::sane::OptionError& e) {
      hooks.reject(Text(e.what()));
    }
  });
  return line;
}

}  // namespace

bool WithOwnTitle(const OptionDescriptor& option) {
  return option.type == OptionType::Button || (option.type == OptionType::Bool && option.count == 1);
}

QString OptionLabel(const OptionDescriptor& option) {
  QString label = Text(option.title.empty() ? option.name : option.title);
  const std::string symbol = morvex::sane::UnitSymbol(option.unit);
  if (!symbol.empty() && option.count > 1) label += QStringLiteral(" (%1)").arg(Text(symbol));
  return label + QStringLiteral(":");
}

QWidget* MakeOptionEditor(const OptionDescriptor& option, const OptionValue* current, OptionEditorHooks hooks,
                          QWidget* parent) {
  QWidget* editor = nullptr;
  const bool single = option.count == 1;
  switch (option.type) {
    case OptionType::Bool:
      editor = single ? MakeCheckBox(option, current, hooks, parent) : MakeLine(option, current, hooks, parent);
      break;
    case OptionType::Int:
    case OptionType::Fixed:
      if (!single) {
        editor = MakeLine(option, current, hooks, parent);
      } else if (option.constraint == ConstraintKind::WordList) {
        editor = MakeList(option, current, hooks, parent);
      } else {
        editor = MakeSpinBox(option, current, hooks, parent);
      }
      break;
    case OptionType::String:
      editor = option.constraint == ConstraintKind::StringList ? MakeList(option, current, hooks, parent)
                                                                : MakeLine(option, current, hooks, parent);
      break;
    case OptionType::Button:
      editor = MakeButton(option, hooks, parent);
      break;
    case OptionType::Group:
      return nullptr;
  }
  editor->setObjectName(QStringLiteral("option-") + Text(option.name));
  editor->setToolTip(Text(option.description));
  editor->setEnabled(option.settable());
  return editor;
}

}  // namespace morvex::dsm
