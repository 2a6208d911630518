// Character-level access to UTF-8 text. File names are UTF-8 on disk, so a
// Cyrillic letter is one character although it takes two bytes. A byte that
// does not start a well-formed sequence counts as one character of its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morvex::app {

// Length in bytes of the character at the start of `s`: the length of a
// well-formed UTF-8 sequence, or 1 for a malformed one (0 for empty text).
std::size_t Utf8SequenceLength(std::string_view s);

// The number of characters in `s`.
std::size_t CharacterCount(std::string_view s);

// Characters `first` (counted from 1) to `first + count - 1` of `s`; fewer, or
// none, when `s` is shorter.
std::string CharacterRange(std::string_view s, std::size_t first, std::size_t count);

// Orders text alphabetically without regard to case: characters are compared
// by code point after folding Latin, Latin-1, Greek and Cyrillic capitals to
// small letters. Text equal under folding is ordered by its bytes, so the
// order is total.
bool CaselessLess(std::string_view a, std::string_view b);

// True when `s` ends with `suffix` (ASCII letters compared without regard to case).
bool EndsWithCaseless(std::string_view s, std::string_view suffix);

}  // namespace morvex::app
