#include "sane_fixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

#include "morvex/bmp.h"
#include "morvex/sane/option_text.h"
#include "temp_folder.h"

namespace morvex::testing {

namespace {

std::string Quote(const std::string& s) {
  std::string q = "'";
  for (const char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

// The next header number of a PNM file, skipping white space and comments.
long HeaderNumber(const std::string& bytes, std::size_t& pos) {
  for (;;) {
    while (pos < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[pos]))) ++pos;
    if (pos < bytes.size() && bytes[pos] == '#') {
      while (pos < bytes.size() && bytes[pos] != '\n') ++pos;
      continue;
    }
    break;
  }
  long n = 0;
  std::size_t digits = 0;
  while (pos < bytes.size() && std::isdigit(static_cast<unsigned char>(bytes[pos]))) {
    n = n * 10 + (bytes[pos++] - '0');
    ++digits;
  }
  if (digits == 0) throw std::runtime_error("not a PNM header");
  return n;
}

}  // namespace

void Apply(sane::Device& device, const Settings& settings) {
  for (const auto& [name, text] : settings) {
    const sane::OptionDescriptor* option = device.find(name);
    ASSERT_NE(option, nullptr) << name;
    device.set(name, sane::ParseOptionValue(*option, text));
  }
}

PnmPicture ReadPnm(const std::filesystem::path& path) {
  const std::string bytes = ReadBytes(path);
  if (bytes.size() < 2 || bytes[0] != 'P') throw std::runtime_error("not a PNM file: " + path.string());
  PnmPicture p;
  const char kind = bytes[1];
  std::size_t pos = 2;
  p.width = static_cast<int>(HeaderNumber(bytes, pos));
  p.height = static_cast<int>(HeaderNumber(bytes, pos));
  p.bilevel = kind == '4';
  p.channels = kind == '6' ? 3 : 1;
  const long maxval = p.bilevel ? 1 : HeaderNumber(bytes, pos);
  ++pos;  // the one white-space byte before the samples
  const std::size_t perRow = static_cast<std::size_t>(p.width) * p.channels;
  const std::size_t sampleBytes = maxval > 255 ? 2 : 1;
  std::size_t rowBytes = p.bilevel ? (static_cast<std::size_t>(p.width) + 7) / 8 : perRow * sampleBytes;
  // scanimage writes the scanner's rows as they come: rows longer than the
  // pixels need (bytes_per_line) stay long, and the data then holds more
  // than the header's width. Such rows are read at their real length.
  const std::size_t data = bytes.size() - pos;
  if (p.height > 0 && data > rowBytes * p.height && data % p.height == 0) rowBytes = data / p.height;
  p.samples.reserve(perRow * p.height);
  for (int y = 0; y < p.height; ++y) {
    const std::size_t row = pos + y * rowBytes;
    for (std::size_t i = 0; i < perRow; ++i) {
      if (p.bilevel) {
        const auto byte = static_cast<unsigned char>(bytes.at(row + i / 8));
        p.samples.push_back((byte & (0x80 >> (i % 8))) ? 0 : 255);
      } else if (sampleBytes == 2) {
        // 16-bit PNM samples are big-endian.
        const unsigned v = static_cast<unsigned char>(bytes.at(row + 2 * i)) << 8 |
                           static_cast<unsigned char>(bytes.at(row + 2 * i + 1));
        p.samples.push_back(static_cast<std::uint8_t>(std::lround(v / 257.0)));
      } else {
        p.samples.push_back(static_cast<std::uint8_t>(bytes.at(row + i)));
      }
    }
  }
  return p;
}

void WritePpm(const std::filesystem::path& path, const Bitmap& bitmap) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << bitmap.width() << ' ' << bitmap.height() << "\n255\n";
  std::string row;
  for (int y = 0; y < bitmap.height(); ++y) {
    row.clear();
    for (int x = 0; x < bitmap.width(); ++x) {
      const Colour c = bitmap.pixel(x, y);
      row += static_cast<char>(RedOf(c));
      row += static_cast<char>(GreenOf(c));
      row += static_cast<char>(BlueOf(c));
    }
    out << row;
  }
}

PnmPicture ScanimagePicture(const std::string& device, const Settings& settings, const std::filesystem::path& folder) {
  std::string command = Quote(MORVEX_SCANIMAGE) + " -d " + Quote(device) + " --format=pnm";
  for (const auto& [name, value] : settings) command += " " + Quote("--" + name + "=" + value);
  const std::filesystem::path out = folder / "scanimage.pnm", err = folder / "scanimage.err";
  command += " >" + Quote(out.string()) + " 2>" + Quote(err.string()) + " </dev/null";
  const int rc = std::system(command.c_str());
  if (!WIFEXITED(rc) || WEXITSTATUS(rc) != 0) {
    ADD_FAILURE() << command << "\n" << ReadBytes(err)
                  << (WIFEXITED(rc) && WEXITSTATUS(rc) == 127 ? "scanimage is missing: install sane-utils (tools/install-deps.sh)" : "");
    return {};
  }
  return ReadPnm(out);
}

void ExpectSamePicture(std::span<const std::uint8_t> dib, const PnmPicture& reference) {
  Bitmap decoded;
  DecodePackedDib(dib, decoded);
  ASSERT_EQ(decoded.width(), reference.width);
  ASSERT_EQ(decoded.height(), reference.height);
  int wrong = 0;
  for (int y = 0; y < reference.height; ++y) {
    for (int x = 0; x < reference.width; ++x) {
      const std::uint8_t* s = &reference.samples[(static_cast<std::size_t>(y) * reference.width + x) * reference.channels];
      const Colour expected = reference.channels == 3 ? MakeColour(s[0], s[1], s[2]) : MakeColour(s[0], s[0], s[0]);
      if (decoded.pixel(x, y) != expected && ++wrong <= 5) {
        ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << decoded.pixel(x, y) << " instead of " << expected;
      }
    }
  }
  EXPECT_EQ(wrong, 0);
}

}  // namespace morvex::testing
