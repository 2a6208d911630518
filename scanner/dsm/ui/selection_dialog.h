// The dialog in which the user chooses a scanner.
#pragma once

#include <optional>
#include <string>

class QWidget;

namespace morvex::dsm {

// The scanner selection, modal over `parent` (may be null): the scanners SANE finds, searched
// off the GUI thread with a busy indicator and a button to search again; `remembered`
// preselected. Returns the chosen device name, or nothing for Cancel or closing.
std::optional<std::string> RunSelectionDialog(QWidget* parent, const std::string& remembered);

}  // namespace morvex::dsm
