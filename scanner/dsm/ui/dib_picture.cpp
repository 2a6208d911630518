#include "dib_picture.h"

#include <cstdint>
#include <cstring>

namespace morvex::dsm {

namespace {

std::int32_t Int32(const std::uint8_t* p) {
  std::int32_t v;
  std::memcpy(&v, p, 4);
  return v;
}

std::uint16_t Int16(const std::uint8_t* p) {
  std::uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

QImage Read(const std::uint8_t* block, std::size_t size) {
  constexpr std::size_t kHeader = 40;
  if (size < kHeader || Int32(block) != static_cast<std::int32_t>(kHeader)) return {};
  const std::int32_t width = Int32(block + 4);
  const std::int32_t rawHeight = Int32(block + 8);
  const int bits = Int16(block + 14);
  const std::uint32_t used = static_cast<std::uint32_t>(Int32(block + 32));
  if (width <= 0 || rawHeight == 0 || width > 1 << 16 || (bits != 1 && bits != 8 && bits != 24)) return {};
  const bool bottomUp = rawHeight > 0;
  const std::int64_t height = bottomUp ? rawHeight : -static_cast<std::int64_t>(rawHeight);
  if (height > 1 << 16) return {};
  const std::size_t entries = bits == 24 ? 0 : (used ? used : 1u << bits);
  if (entries > 256) return {};
  const std::size_t rowBytes = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
  const std::size_t pixels = kHeader + entries * 4;
  if (size < pixels || (size - pixels) / rowBytes < static_cast<std::size_t>(height)) return {};

  QImage image(width, static_cast<int>(height), bits == 24 ? QImage::Format_RGB888 : QImage::Format_Indexed8);
  if (image.isNull()) return {};
  if (bits != 24) {
    QList<QRgb> table(1 << bits, qRgb(0, 0, 0));
    for (std::size_t i = 0; i < entries && i < static_cast<std::size_t>(table.size()); ++i) {
      const std::uint8_t* e = block + kHeader + i * 4;
      table[static_cast<qsizetype>(i)] = qRgb(e[2], e[1], e[0]);
    }
    image.setColorTable(table);
  }
  for (int y = 0; y < image.height(); ++y) {
    const std::uint8_t* row = block + pixels + rowBytes * static_cast<std::size_t>(bottomUp ? image.height() - 1 - y : y);
    std::uint8_t* out = image.scanLine(y);
    for (int x = 0; x < width; ++x) {
      if (bits == 24) {
        out[3 * x] = row[3 * x + 2];
        out[3 * x + 1] = row[3 * x + 1];
        out[3 * x + 2] = row[3 * x];
      } else if (bits == 8) {
        out[x] = row[x];
      } else {
        out[x] = (row[x / 8] >> (7 - x % 8)) & 1;
      }
    }
  }
  return image;
}

}  // namespace

QImage DibPicture(HGLOBAL dib) {
  const auto* block = static_cast<const std::uint8_t*>(GlobalLock(dib));
  if (!block) return {};
  QImage image = Read(block, GlobalSize(dib));
  GlobalUnlock(dib);
  return image;
}

}  // namespace morvex::dsm
