// Frames as SANE delivers them, turned into one packed DIB.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "morvex/bmp.h"
#include "morvex/sane/error.h"
#include "morvex/sane/frame_assembler.h"

namespace morvex::sane {
namespace {

constexpr int kWidth = 5;     // odd: DIB rows carry padding
constexpr int kHeight = 300;  // more rows than an unknown-height scan reserves first

enum class Kind { Gray1, Gray8, Gray16, Rgb8, Rgb16, ThreePass8, ThreePass16 };

const char* KindName(Kind k) {
  switch (k) {
    case Kind::Gray1: return "Gray1";
    case Kind::Gray8: return "Gray8";
    case Kind::Gray16: return "Gray16";
    case Kind::Rgb8: return "Rgb8";
    case Kind::Rgb16: return "Rgb16";
    case Kind::ThreePass8: return "ThreePass8";
    case Kind::ThreePass16: return "ThreePass16";
  }
  return "?";
}

// The sample of channel c (0 red, 1 green, 2 blue) at (x, y), full scale of `depth`.
std::uint32_t Sample(int x, int y, int c, int depth) {
  const std::uint32_t v = static_cast<std::uint32_t>((x * 7919 + y * 104729 + c * 31337) * 2654435761u >> 7);
  return depth == 16 ? v & 0xFFFF : depth == 8 ? v & 0xFF : v & 1;
}
std::uint8_t To8(std::uint32_t v, int depth) {
  return depth == 16 ? static_cast<std::uint8_t>(std::lround(v / 257.0)) : static_cast<std::uint8_t>(v);
}

struct Frame {
  FrameParameters parameters;
  std::vector<std::uint8_t> bytes;
};

void PutSample(std::vector<std::uint8_t>& line, std::size_t i, std::uint32_t v, int depth) {
  if (depth == 16) {
    const auto s = static_cast<std::uint16_t>(v);
    std::memcpy(line.data() + 2 * i, &s, 2);  // host byte order, as SANE sends it
  } else {
    line[i] = static_cast<std::uint8_t>(v);
  }
}

// One frame of `format` holding the channels `channels` of the picture.
Frame MakeFrame(FrameFormat format, int depth, int pad, bool unknownHeight, bool last) {
  Frame f;
  const int samples = format == FrameFormat::Rgb ? 3 : 1;
  const int used = (kWidth * samples * depth + 7) / 8;
  f.parameters = {format, last, used + pad, kWidth, unknownHeight ? -1 : kHeight, depth};
  for (int y = 0; y < kHeight; ++y) {
    std::vector<std::uint8_t> line(static_cast<std::size_t>(used + pad), 0xA5);  // padding that must not show
    if (depth == 1) std::fill(line.begin(), line.begin() + used, 0);
    for (int x = 0; x < kWidth; ++x) {
      if (format == FrameFormat::Gray && depth == 1) {
        if (Sample(x, y, 0, 1)) line[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      } else if (format == FrameFormat::Gray) {
        PutSample(line, x, Sample(x, y, 0, depth), depth);
      } else if (format == FrameFormat::Rgb) {
        for (int c = 0; c < 3; ++c) PutSample(line, 3 * x + c, Sample(x, y, c, depth), depth);
      } else {
        const int c = format == FrameFormat::Red ? 0 : format == FrameFormat::Green ? 1 : 2;
        PutSample(line, x, Sample(x, y, c, depth), depth);
      }
    }
    f.bytes.insert(f.bytes.end(), line.begin(), line.end());
  }
  return f;
}

std::vector<Frame> Frames(Kind kind, int pad, bool unknownHeight) {
  switch (kind) {
    case Kind::Gray1: return {MakeFrame(FrameFormat::Gray, 1, pad, unknownHeight, true)};
    case Kind::Gray8: return {MakeFrame(FrameFormat::Gray, 8, pad, unknownHeight, true)};
    case Kind::Gray16: return {MakeFrame(FrameFormat::Gray, 16, pad, unknownHeight, true)};
    case Kind::Rgb8: return {MakeFrame(FrameFormat::Rgb, 8, pad, unknownHeight, true)};
    case Kind::Rgb16: return {MakeFrame(FrameFormat::Rgb, 16, pad, unknownHeight, true)};
    case Kind::ThreePass8:
      return {MakeFrame(FrameFormat::Green, 8, pad, unknownHeight, false),
              MakeFrame(FrameFormat::Blue, 8, pad, unknownHeight, false),
              MakeFrame(FrameFormat::Red, 8, pad, unknownHeight, true)};
    case Kind::ThreePass16:
      return {MakeFrame(FrameFormat::Blue, 16, pad, unknownHeight, false),
              MakeFrame(FrameFormat::Red, 16, pad, unknownHeight, false),
              MakeFrame(FrameFormat::Green, 16, pad, unknownHeight, true)};
  }
  return {};
}

Colour Expected(Kind kind, int x, int y) {
  switch (kind) {
    case Kind::Gray1: return Sample(x, y, 0, 1) ? MakeColour(0, 0, 0) : MakeColour(255, 255, 255);
    case Kind::Gray8:
    case Kind::Gray16: {
      const int depth = kind == Kind::Gray8 ? 8 : 16;
      const std::uint8_t g = To8(Sample(x, y, 0, depth), depth);
      return MakeColour(g, g, g);
    }
    default: {
      const int depth = kind == Kind::Rgb8 || kind == Kind::ThreePass8 ? 8 : 16;
      return MakeColour(To8(Sample(x, y, 0, depth), depth), To8(Sample(x, y, 1, depth), depth),
                        To8(Sample(x, y, 2, depth), depth));
    }
  }
}

int BitsOf(Kind kind) { return kind == Kind::Gray1 ? 1 : kind == Kind::Gray8 || kind == Kind::Gray16 ? 8 : 24; }

// Feeds the frames in pieces of `chunk` bytes (0: each frame at once).
ScannedImage Assemble(HeapDibStorage& storage, const std::vector<Frame>& frames, std::size_t chunk) {
  FrameAssembler assembler(storage, 300, 150);
  for (const Frame& f : frames) {
    assembler.beginFrame(f.parameters);
    const std::size_t step = chunk ? chunk : f.bytes.size();
    for (std::size_t i = 0; i < f.bytes.size(); i += step) {
      assembler.add({f.bytes.data() + i, std::min(step, f.bytes.size() - i)});
    }
    assembler.endFrame();
  }
  return assembler.finish();
}

struct Delivery {
  const char* name;
  std::size_t chunk;
  int pad;
  bool unknownHeight;
};
void PrintTo(const Delivery& d, std::ostream* os) { *os << d.name; }
void PrintTo(Kind k, std::ostream* os) { *os << KindName(k); }

class AssembleFrames : public ::testing::TestWithParam<std::tuple<Kind, Delivery>> {};

TEST_P(AssembleFrames, GivesTheDibOfThePicture) {
  const auto [kind, delivery] = GetParam();
  HeapDibStorage storage;
  const ScannedImage image = Assemble(storage, Frames(kind, delivery.pad, delivery.unknownHeight), delivery.chunk);
  EXPECT_EQ(image.width, kWidth);
  EXPECT_EQ(image.height, kHeight);
  EXPECT_EQ(image.bitsPerPixel, BitsOf(kind));
  ASSERT_EQ(image.dibSize, storage.bytes().size());

  Bitmap decoded;
  DecodePackedDib(storage.bytes(), decoded);
  EXPECT_EQ(decoded.sourceBitDepth(), BitsOf(kind));
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) ASSERT_EQ(decoded.pixel(x, y), Expected(kind, x, y)) << x << "," << y;
  }
  // Row padding is zero, whatever the scanner's padding held.
  const std::size_t header = 40 + (image.bitsPerPixel == 1 ? 8 : image.bitsPerPixel == 8 ? 1024 : 0);
  const std::size_t rowBytes = (static_cast<std::size_t>(kWidth) * image.bitsPerPixel + 31) / 32 * 4;
  const std::size_t used = (static_cast<std::size_t>(kWidth) * image.bitsPerPixel + 7) / 8;
  for (int r = 0; r < kHeight; ++r) {
    const std::uint8_t* row = storage.bytes().data() + header + rowBytes * r;
    for (std::size_t i = used; i < rowBytes; ++i) ASSERT_EQ(row[i], 0) << "row " << r;
    if (image.bitsPerPixel == 1) {
      ASSERT_EQ(row[used - 1] & ((1 << (8 - kWidth % 8)) - 1), 0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Frames, AssembleFrames,
    ::testing::Combine(::testing::Values(Kind::Gray1, Kind::Gray8, Kind::Gray16, Kind::Rgb8, Kind::Rgb16,
                                         Kind::ThreePass8, Kind::ThreePass16),
                       ::testing::Values(Delivery{"Whole", 0, 0, false}, Delivery{"OneByte", 1, 0, false},
                                         Delivery{"SevenBytes", 7, 0, false}, Delivery{"PaddedRows", 0, 3, false},
                                         Delivery{"UnknownHeight", 0, 0, true},
                                         Delivery{"UnknownHeightOddReads", 5, 2, true})),
    [](const auto& info) {
      return std::string(KindName(std::get<0>(info.param))) + "_" + std::get<1>(info.param).name;
    });

std::uint32_t Le32(const std::uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24; }

TEST(DibHeader, CarriesSizeResolutionAndPalette) {
  HeapDibStorage storage;
  const ScannedImage image = Assemble(storage, Frames(Kind::Gray1, 0, false), 0);
  const std::uint8_t* h = storage.bytes().data();
  EXPECT_EQ(Le32(h), 40u);
  EXPECT_EQ(Le32(h + 4), static_cast<std::uint32_t>(kWidth));
  EXPECT_EQ(Le32(h + 8), static_cast<std::uint32_t>(kHeight));  // positive: bottom-up
  EXPECT_EQ(h[14], 1);
  EXPECT_EQ(Le32(h + 16), 0u);
  EXPECT_EQ(Le32(h + 20), 4u * kHeight);
  EXPECT_EQ(Le32(h + 24), 11811u);  // 300 dpi
  EXPECT_EQ(Le32(h + 28), 5906u);   // 150 dpi
  EXPECT_EQ(Le32(h + 32), 2u);
  EXPECT_EQ(Le32(h + 40), 0x000000u);    // index 0 black
  EXPECT_EQ(Le32(h + 44), 0x00FFFFFFu);  // index 1 white
  EXPECT_EQ(image.dpiX, 300);
  EXPECT_EQ(image.dpiY, 150);
}

TEST(SixteenBits, BecomeTheNearestEightBitLevel) {
  const std::vector<std::pair<std::uint16_t, std::uint8_t>> table = {
      {0, 0}, {128, 0}, {129, 1}, {257, 1}, {385, 1}, {386, 2}, {32896, 128}, {65406, 254}, {65407, 255}, {65535, 255}};
  std::vector<std::uint8_t> bytes;
  for (const auto& [v, _] : table) bytes.insert(bytes.end(), reinterpret_cast<const std::uint8_t*>(&v),
                                                reinterpret_cast<const std::uint8_t*>(&v) + 2);
  HeapDibStorage storage;
  FrameAssembler assembler(storage, 0, 0);
  const int n = static_cast<int>(table.size());
  assembler.beginFrame({FrameFormat::Gray, true, 2 * n, n, 1, 16});
  assembler.add(bytes);
  assembler.endFrame();
  assembler.finish();
  const std::uint8_t* pixels = storage.bytes().data() + 40 + 1024;
  for (int i = 0; i < n; ++i) EXPECT_EQ(pixels[i], table[i].second) << table[i].first;
}

TEST(FrameEnd, AFrameShorterThanAnnouncedGivesTheRowsThatCame) {
  Frame f = MakeFrame(FrameFormat::Rgb, 8, 0, false, true);
  f.parameters.lines = kHeight + 40;   // announced more than it sends
  f.bytes.resize(f.bytes.size() + 5);  // and a partial row at the end
  HeapDibStorage storage;
  const ScannedImage image = Assemble(storage, {f}, 4096);
  EXPECT_EQ(image.height, kHeight);
  EXPECT_EQ(image.dibSize, storage.bytes().size());
  Bitmap decoded;
  DecodePackedDib(storage.bytes(), decoded);
  for (int y = 0; y < kHeight; y += 37) EXPECT_EQ(decoded.pixel(1, y), Expected(Kind::Rgb8, 1, y)) << y;
}

TEST(FrameEnd, RowsBeyondTheAnnouncedHeightAreDropped) {
  Frame f = MakeFrame(FrameFormat::Gray, 8, 0, false, true);
  f.parameters.lines = 100;
  HeapDibStorage storage;
  const ScannedImage image = Assemble(storage, {f}, 0);
  EXPECT_EQ(image.height, 100);
  Bitmap decoded;
  DecodePackedDib(storage.bytes(), decoded);
  EXPECT_EQ(decoded.pixel(2, 99), Expected(Kind::Gray8, 2, 99));
}

TEST(FrameEnd, ThreePassFramesAfterAShortFirstOneKeepItsHeight) {
  std::vector<Frame> frames = Frames(Kind::ThreePass8, 0, false);
  frames[0].bytes.resize(frames[0].bytes.size() / 2);  // the first colour stops half-way
  HeapDibStorage storage;
  const ScannedImage image = Assemble(storage, frames, 1000);
  EXPECT_EQ(image.height, kHeight / 2);
  Bitmap decoded;
  DecodePackedDib(storage.bytes(), decoded);
  for (int y = 0; y < kHeight / 2; y += 11) EXPECT_EQ(decoded.pixel(3, y), Expected(Kind::ThreePass8, 3, y)) << y;
}

// A storage that records its sizes.
class CountingStorage final : public DibStorage {
 public:
  std::span<std::uint8_t> resize(std::size_t bytes) override {
    sizes.push_back(bytes);
    return inner.resize(bytes);
  }
  HeapDibStorage inner;
  std::vector<std::size_t> sizes;
};

TEST(Storage, AKnownHeightIsAllocatedOnceAtItsSize) {
  CountingStorage storage;
  FrameAssembler assembler(storage, 0, 0);
  for (const Frame& f : Frames(Kind::ThreePass8, 0, false)) {
    assembler.beginFrame(f.parameters);
    assembler.add(f.bytes);
    assembler.endFrame();
  }
  const ScannedImage image = assembler.finish();
  for (std::size_t s : storage.sizes) EXPECT_EQ(s, image.dibSize);
  EXPECT_EQ(storage.sizes.size(), 2u);  // allocated, then confirmed at the end
}

struct BadFrames {
  const char* name;
  std::vector<FrameParameters> frames;  // each gets the rows it announces, at least one
};
void PrintTo(const BadFrames& b, std::ostream* os) { *os << b.name; }

class RefusedFrames : public ::testing::TestWithParam<BadFrames> {};

TEST_P(RefusedFrames, ThrowNamingTheFault) {
  HeapDibStorage storage;
  FrameAssembler assembler(storage, 0, 0, "scan of test:0");
  try {
    for (const FrameParameters& p : GetParam().frames) {
      assembler.beginFrame(p);
      const int rows = std::max(p.lines, 1);
      assembler.add(std::vector<std::uint8_t>(static_cast<std::size_t>(std::max(p.bytesPerLine, 0)) * rows, 0));
      assembler.endFrame();
    }
    assembler.finish();
    FAIL() << "accepted";
  } catch (const SaneError& e) {
    EXPECT_NE(std::string(e.what()).find("scan of test:0: "), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, RefusedFrames,
    ::testing::Values(
        BadFrames{"ColourAtOneBit", {{FrameFormat::Rgb, true, 3, 8, 1, 1}}},
        BadFrames{"RowsTooShort", {{FrameFormat::Rgb, true, 8, 3, 1, 8}}},
        BadFrames{"DepthTwelve", {{FrameFormat::Gray, true, 8, 4, 1, 12}}},
        BadFrames{"NoPixels", {{FrameFormat::Gray, true, 8, 0, 1, 8}}},
        BadFrames{"NoRows", {{FrameFormat::Gray, true, 8, 8, 0, 8}}},
        BadFrames{"SecondFrameAfterGrey", {{FrameFormat::Gray, false, 4, 4, 1, 8}, {FrameFormat::Red, true, 4, 4, 1, 8}}},
        BadFrames{"RedTwice", {{FrameFormat::Red, false, 4, 4, 1, 8}, {FrameFormat::Red, true, 4, 4, 1, 8}}},
        BadFrames{"FramesOfTwoWidths", {{FrameFormat::Red, false, 4, 4, 1, 8}, {FrameFormat::Green, true, 5, 5, 1, 8}}},
        BadFrames{"LaterFrameAnnouncesFewerRows", {{FrameFormat::Red, false, 4, 4, 2, 8}, {FrameFormat::Green, false, 4, 4, 1, 8}}},
        BadFrames{"TwoOfThreeColours", {{FrameFormat::Red, false, 4, 4, 1, 8}, {FrameFormat::Green, true, 4, 4, 1, 8}}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvex::sane
