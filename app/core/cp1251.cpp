#include "morvex/app/cp1251.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

#include "morvex/app/utf8.h"

namespace morvex::app {

namespace {

// One iconv conversion descriptor for the length of a call.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts the whole input. Whenever the input holds a sequence that has no
  // form in the target (or is malformed), `skip` says how many input bytes to
  // drop, and a "?" is written in their place.
  template <typename Skip>
  std::string convert(std::string_view in, Skip skip) {
    std::string out;
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::size_t used = 0;
    while (srcLeft > 0) {
      char* dst = out.data() + used;
      std::size_t dstLeft = out.size() - used;
      const std::size_t rc = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      used = out.size() - dstLeft;
      if (rc != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      // EILSEQ (unmappable or malformed) or EINVAL (cut off at the end).
      const std::size_t n = std::min(srcLeft, skip(std::string_view(src, srcLeft)));
      src += n;
      srcLeft -= n;
      if (used == out.size()) out.resize(out.size() * 2);
      out[used++] = '?';
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    }
    out.resize(used);
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string ToCp1251(std::string_view utf8) {
  Converter c("CP1251", "UTF-8");
  return c.convert(utf8, [](std::string_view rest) { return Utf8SequenceLength(rest); });
}

std::string FromCp1251(std::string_view cp1251) {
  Converter c("UTF-8", "CP1251");
  return c.convert(cp1251, [](std::string_view) { return std::size_t{1}; });
}

}  // namespace morvex::app
