#include <cstdio>

#include "notegen.h"

namespace morvex::notegen {

namespace {

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

}  // namespace

std::string NoteFileName(const NotePlan& plan) {
  char head[32];
  std::snprintf(head, sizeof head, "Note-%03d-%d-%d-%04d-", plan.dpi, plan.numberSide ? 1 : 0, plan.upsideDown ? 0 : 1,
                plan.denomination);
  std::string name = head;
  for (char32_t c : plan.series) AppendUtf8(name, c);
  return name + plan.number + ".bmp";
}

}  // namespace morvex::notegen
