#include "morvex/sane/frame_assembler.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "morvex/sane/error.h"

namespace morvex::sane {

namespace {

constexpr int kMaxSide = 1 << 20;  // the widest and tallest image the engine reads
constexpr int kFirstRows = 256;    // rows reserved first when the height is unknown

bool IsChannel(FrameFormat f) { return f == FrameFormat::Red || f == FrameFormat::Green || f == FrameFormat::Blue; }

// A channel's byte within a blue, green, red pixel, and its bit in channelsSeen_.
int ChannelOffset(FrameFormat f) { return f == FrameFormat::Red ? 2 : f == FrameFormat::Green ? 1 : 0; }
unsigned ChannelBit(FrameFormat f) { return 1u << ChannelOffset(f); }

// 16 bits to 8: round(v / 257). 257 is odd, so v / 257 never ends in .5.
inline std::uint8_t Down16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, 2);  // SANE's 16-bit samples are in the host's byte order
  return static_cast<std::uint8_t>((v + 128u) / 257u);
}

void Put16(std::uint8_t* p, std::uint16_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8);
}
void Put32(std::uint8_t* p, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

void RgbToBgr(const std::uint8_t* __restrict s, std::uint8_t* __restrict d, int width) {
  for (int x = 0; x < width; ++x, s += 3, d += 3) {
    d[0] = s[2];
    d[1] = s[1];
    d[2] = s[0];
  }
}

void Rgb16ToBgr(const std::uint8_t* __restrict s, std::uint8_t* __restrict d, int width) {
  for (int x = 0; x < width; ++x, s += 6, d += 3) {
    d[0] = Down16(s + 4);
    d[1] = Down16(s + 2);
    d[2] = Down16(s);
  }
}

}  // namespace

FrameAssembler::FrameAssembler(DibStorage& storage, double dpiX, double dpiY, std::string context)
    : storage_(storage), dpiX_(dpiX), dpiY_(dpiY), context_(std::move(context)) {}

void FrameAssembler::fail(Status status, const std::string& detail) const { throw SaneError(context_, status, detail); }

void FrameAssembler::beginFrame(const FrameParameters& f) {
  if (inFrame_) fail(Status::Invalid, "a frame began before the one before it ended");
  if (f.depth != 1 && f.depth != 8 && f.depth != 16) {
    fail(Status::Unsupported, std::to_string(f.depth) + " bits per sample cannot be turned into a bitmap");
  }
  if (f.format != FrameFormat::Gray && f.depth == 1) {
    fail(Status::Unsupported, "colour at 1 bit per sample cannot be turned into a bitmap; choose a depth of 8 or 16");
  }
  if (f.pixelsPerLine <= 0 || f.pixelsPerLine > kMaxSide || f.lines < -1 || f.lines > kMaxSide) {
    fail(Status::Invalid, "the scanner gave an image size of " + std::to_string(f.pixelsPerLine) + " x " +
                              std::to_string(f.lines) + " pixels");
  }
  const int samples = f.format == FrameFormat::Rgb ? 3 : 1;
  const long long needed = (static_cast<long long>(f.pixelsPerLine) * samples * f.depth + 7) / 8;
  if (f.bytesPerLine < needed) {
    fail(Status::Invalid, "the scanner's rows of " + std::to_string(f.bytesPerLine) + " bytes cannot hold " +
                              std::to_string(f.pixelsPerLine) + " pixels");
  }

  if (!started_) {
    threePass_ = IsChannel(f.format);
    width_ = f.pixelsPerLine;
    bits_ = f.format == FrameFormat::Gray ? (f.depth == 1 ? 1 : 8) : 24;
    paletteEntries_ = bits_ == 1 ? 2 : bits_ == 8 ? 256 : 0;
    knownHeight_ = f.lines >= 0;
    height_ = knownHeight_ ? f.lines : 0;
    allocate();
    started_ = true;
  } else {
    if (!threePass_ || !IsChannel(f.format)) fail(Status::Invalid, "the scanner sent a second frame that does not fit the first");
    if (channelsSeen_ & ChannelBit(f.format)) fail(Status::Invalid, "the scanner sent one colour frame twice");
    // A later frame may announce more rows than the first one gave (those are
    // dropped), never fewer.
    if (f.pixelsPerLine != width_ || (f.lines >= 0 && f.lines < height_)) {
      fail(Status::Invalid, "the scanner's colour frames differ in size");
    }
  }
  if (IsChannel(f.format)) channelsSeen_ |= ChannelBit(f.format);
  frame_ = f;
  line_.resize(static_cast<std::size_t>(f.bytesPerLine));
  lineFill_ = 0;
  rowsDone_ = 0;
  ++framesBegun_;
  inFrame_ = true;
}

void FrameAssembler::allocate() {
  headerBytes_ = 40 + static_cast<std::size_t>(paletteEntries_) * 4;
  rowBytes_ = (static_cast<std::size_t>(width_) * static_cast<std::size_t>(bits_) + 31) / 32 * 4;
  capacityRows_ = 0;
  reserveRows(knownHeight_ ? std::max(height_, 1) : kFirstRows);
}

void FrameAssembler::reserveRows(int rows) {
  if (rows <= capacityRows_) return;
  // Growth by half again keeps the copies a growing block costs linear.
  const long long grown = knownHeight_ ? rows : std::max<long long>(rows, capacityRows_ + capacityRows_ / 2);
  const int capacity = static_cast<int>(std::min<long long>(grown, kMaxSide));
  if (rows > capacity) fail(Status::Invalid, "the scanner sent more than " + std::to_string(kMaxSide) + " rows");
  block_ = storage_.resize(headerBytes_ + rowBytes_ * static_cast<std::size_t>(capacity)).data();
  capacityRows_ = capacity;
}

std::uint8_t* FrameAssembler::rowAt(int y) {
  const int place = knownHeight_ ? height_ - 1 - y : y;
  return block_ + headerBytes_ + rowBytes_ * static_cast<std::size_t>(place);
}

void FrameAssembler::add(std::span<const std::uint8_t> bytes) {
  if (!inFrame_) fail(Status::Invalid, "image data came outside a frame");
  const std::size_t perLine = line_.size();
  while (!bytes.empty()) {
    if (lineFill_ == 0 && bytes.size() >= perLine) {
      acceptRow(bytes.data());
      bytes = bytes.subspan(perLine);
      continue;
    }
    const std::size_t n = std::min(perLine - lineFill_, bytes.size());
    std::memcpy(line_.data() + lineFill_, bytes.data(), n);
    lineFill_ += n;
    bytes = bytes.subspan(n);
    if (lineFill_ == perLine) {
      acceptRow(line_.data());
      lineFill_ = 0;
    }
  }
}

void FrameAssembler::acceptRow(const std::uint8_t* line) {
  const bool growing = framesBegun_ == 1 && !knownHeight_;
  if (growing) {
    reserveRows(rowsDone_ + 1);
  } else if (rowsDone_ >= height_) {
    return;  // beyond the announced height
  }
  convertRow(line, rowAt(rowsDone_));
  ++rowsDone_;
}

void FrameAssembler::convertRow(const std::uint8_t* s, std::uint8_t* d) {
  const int w = width_;
  std::size_t used = 0;
  switch (frame_.format) {
    case FrameFormat::Gray:
      if (frame_.depth == 1) {
        // SANE's set bit is black; the DIB's index 0 is black.
        used = (static_cast<std::size_t>(w) + 7) / 8;
        for (std::size_t i = 0; i < used; ++i) d[i] = static_cast<std::uint8_t>(~s[i]);
        if (w % 8) d[used - 1] &= static_cast<std::uint8_t>(0xFF << (8 - w % 8));
      } else if (frame_.depth == 8) {
        used = static_cast<std::size_t>(w);
        std::memcpy(d, s, used);
      } else {
        used = static_cast<std::size_t>(w);
        for (int x = 0; x < w; ++x) d[x] = Down16(s + 2 * x);
      }
      break;
    case FrameFormat::Rgb:
      used = 3 * static_cast<std::size_t>(w);
      if (frame_.depth == 8) {
        RgbToBgr(s, d, w);
      } else {
        Rgb16ToBgr(s, d, w);
      }
      break;
    default: {
      used = 3 * static_cast<std::size_t>(w);
      std::uint8_t* c = d + ChannelOffset(frame_.format);
      if (frame_.depth == 8) {
        for (int x = 0; x < w; ++x) c[3 * x] = s[x];
      } else {
        for (int x = 0; x < w; ++x) c[3 * x] = Down16(s + 2 * x);
      }
    }
  }
  if (used < rowBytes_) std::memset(d + used, 0, rowBytes_ - used);
}

void FrameAssembler::endFrame() {
  if (!inFrame_) fail(Status::Invalid, "a frame ended that had not begun");
  inFrame_ = false;
  lineFill_ = 0;  // a partial last row is dropped
  if (framesBegun_ == 1) {
    if (rowsDone_ == 0) fail(Status::Invalid, "the scanner sent no image data");
    if (knownHeight_ && rowsDone_ < height_) {
      // Rows 0..k-1 sit at the top end of the bottom-up block: move them down
      // to where a k-row image has them.
      const std::size_t k = static_cast<std::size_t>(rowsDone_);
      std::memmove(block_ + headerBytes_, block_ + headerBytes_ + rowBytes_ * (static_cast<std::size_t>(height_) - k),
                   rowBytes_ * k);
    }
    height_ = rowsDone_;
  } else if (rowsDone_ < height_) {
    fail(Status::Invalid, "a colour frame ended after " + std::to_string(rowsDone_) + " of " +
                              std::to_string(height_) + " rows");
  }
}

ScannedImage FrameAssembler::finish() {
  if (!started_ || inFrame_) fail(Status::Invalid, "the scan ended inside a frame");
  if (threePass_ && channelsSeen_ != 7u) fail(Status::Invalid, "the scan ended before all three colour frames came");
  if (!knownHeight_) {
    // Rows came top-down; the DIB keeps them bottom-up.
    for (int y = 0, z = height_ - 1; y < z; ++y, --z) std::swap_ranges(rowAt(y), rowAt(y) + rowBytes_, rowAt(z));
  }
  const std::size_t size = headerBytes_ + rowBytes_ * static_cast<std::size_t>(height_);
  block_ = storage_.resize(size).data();
  capacityRows_ = height_;
  writeHeader();

  ScannedImage image;
  image.width = width_;
  image.height = height_;
  image.bitsPerPixel = bits_;
  image.dpiX = static_cast<int>(std::lround(dpiX_ > 0 ? dpiX_ : 0));
  image.dpiY = static_cast<int>(std::lround(dpiY_ > 0 ? dpiY_ : 0));
  image.dibSize = size;
  return image;
}

void FrameAssembler::writeHeader() {
  std::uint8_t* h = block_;
  Put32(h, 40);
  Put32(h + 4, static_cast<std::uint32_t>(width_));
  Put32(h + 8, static_cast<std::uint32_t>(height_));
  Put16(h + 12, 1);
  Put16(h + 14, static_cast<std::uint16_t>(bits_));
  Put32(h + 16, 0);  // BI_RGB
  Put32(h + 20, static_cast<std::uint32_t>(rowBytes_ * static_cast<std::size_t>(height_)));
  Put32(h + 24, static_cast<std::uint32_t>(PixelsPerMetre(dpiX_)));
  Put32(h + 28, static_cast<std::uint32_t>(PixelsPerMetre(dpiY_)));
  Put32(h + 32, static_cast<std::uint32_t>(paletteEntries_));
  Put32(h + 36, 0);
  std::uint8_t* entry = h + 40;
  for (int i = 0; i < paletteEntries_; ++i, entry += 4) {
    const auto level = static_cast<std::uint8_t>(paletteEntries_ == 2 ? i * 255 : i);
    entry[0] = entry[1] = entry[2] = level;
    entry[3] = 0;
  }
}

}  // namespace morvex::sane
