// Conversion between the program's UTF-8 text and the Windows-1251 code page
// in which its HTML pages are written.
#pragma once

#include <string>
#include <string_view>

namespace morvex::app {

// UTF-8 to Windows-1251 bytes. A character without a Windows-1251 form, and
// any byte that does not start a well-formed UTF-8 character, becomes "?".
std::string ToCp1251(std::string_view utf8);

// Windows-1251 bytes to UTF-8. The one unassigned byte (0x98) becomes "?".
std::string FromCp1251(std::string_view cp1251);

}  // namespace morvex::app
