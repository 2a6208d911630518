// A scanner as SANE lists it.
#pragma once

#include <string>

namespace morvex::sane {

struct DeviceInfo {
  std::string name;    // what sane_open takes: "test:0", "pnm:0", "epson2:libusb:001:004"
  std::string vendor;  // "Noname", "Epson"
  std::string model;   // "frontend-tester", "Perfection V39"
  std::string type;    // "virtual device", "flatbed scanner"
};

}  // namespace morvex::sane
