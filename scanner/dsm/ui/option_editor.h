// A widget that shows and edits one SANE option, made from its descriptor.
#pragma once

#include <QString>
#include <functional>

#include "morvex/sane/options.h"

class QWidget;

namespace morvex::dsm {

struct OptionEditorHooks {
  // The user gave the option a value (a Button's press is std::monostate).
  std::function<void(const morvex::sane::OptionValue& value)> set;
  // The user typed text the option does not accept; the text says why.
  std::function<void(const QString& why)> reject;
};

// The editor of an option, by its type and constraint: a check box (Bool), a
// spin box (Int or Fixed with a range or none), a list (a word list or a
// string list), a line of text (String, or an array of numbers as
// comma-separated values), a push button (Button). `current` is the option's
// value, or null when it cannot be read (an inactive option). Inactive and
// read-only options are disabled. The widget is named "option-<name>" and
// carries the option's description as its tool tip. Bool editors and buttons
// show the option's title themselves (WithOwnTitle).
QWidget* MakeOptionEditor(const morvex::sane::OptionDescriptor& option, const morvex::sane::OptionValue* current,
                          OptionEditorHooks hooks, QWidget* parent);

// Whether the editor of the option shows the title itself.
bool WithOwnTitle(const morvex::sane::OptionDescriptor& option);

// The option's title with its unit, for the label before its editor.
QString OptionLabel(const morvex::sane::OptionDescriptor& option);

}  // namespace morvex::dsm
