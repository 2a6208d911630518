#include "dib_image.h"

#include <span>

#include "morvex/bmp.h"

namespace morvex::twain {

QImage DibToImage(HGLOBAL dib) {
  const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(dib));
  if (bytes == nullptr) return {};
  Bitmap bitmap;
  try {
    DecodePackedDib(std::span<const std::uint8_t>(bytes, GlobalSize(dib)), bitmap);
  } catch (const std::exception&) {
    GlobalUnlock(dib);
    return {};
  }
  GlobalUnlock(dib);
  if (bitmap.format() == PixelFormat::Rgb24) {
    return QImage(bitmap.data(), bitmap.width(), bitmap.height(), static_cast<qsizetype>(bitmap.stride()),
                  QImage::Format_BGR888)
        .copy();
  }
  QImage image(bitmap.data(), bitmap.width(), bitmap.height(), static_cast<qsizetype>(bitmap.stride()),
               QImage::Format_Indexed8);
  QList<QRgb> colours;
  for (const Rgb& c : bitmap.palette()) colours.push_back(qRgb(c.r, c.g, c.b));
  image.setColorTable(colours);
  return image.copy();
}

}  // namespace morvex::twain
