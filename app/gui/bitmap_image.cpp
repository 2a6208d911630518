#include "bitmap_image.h"

#include <cstring>

namespace morvex::gui {

QImage ToQImage(const Bitmap& bitmap) {
  if (bitmap.empty()) return {};
  const bool rgb = bitmap.format() == PixelFormat::Rgb24;
  QImage image(bitmap.width(), bitmap.height(), rgb ? QImage::Format_BGR888 : QImage::Format_Indexed8);
  if (!rgb) {
    QList<QRgb> table;
    table.reserve(bitmap.paletteSize());
    for (const Rgb& c : bitmap.palette()) table.push_back(qRgb(c.r, c.g, c.b));
    image.setColorTable(table);
  }
  const auto rowBytes = static_cast<std::size_t>(bitmap.stride());
  for (int y = 0; y < bitmap.height(); ++y) std::memcpy(image.scanLine(y), bitmap.row(y), rowBytes);
  return image;
}

Bitmap FromQImage(const QImage& image) {
  if (image.isNull()) return {};
  const QImage bgr = image.convertToFormat(QImage::Format_BGR888);
  Bitmap bitmap(bgr.width(), bgr.height(), PixelFormat::Rgb24);
  const auto rowBytes = static_cast<std::size_t>(bitmap.stride());
  for (int y = 0; y < bitmap.height(); ++y) std::memcpy(bitmap.row(y), bgr.constScanLine(y), rowBytes);
  bitmap.setSourceBitDepth(24);
  return bitmap;
}

}  // namespace morvex::gui
