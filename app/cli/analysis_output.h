// How `morvex analyse` and `morvex scan` print one analysis.
#pragma once

#include <string>
#include <vector>

#include "morvex/engine.h"

namespace morvex::cli {

// Prints the result and the detail lines of the image named `source` (a file,
// or the scanner an image came from) on standard output: a block of text, or
// one JSON object on one line when `json` is set.
void PrintAnalysis(const std::string& source, const AnalisysResult& result, const std::vector<std::string>& details,
                   bool json);

}  // namespace morvex::cli
