#include "analysis/grey_view.h"

#include <stdexcept>

namespace morvex {

GreyView::GreyView(const Bitmap& grey)
    : pixels_(grey.data()), stride_(grey.stride()), width_(grey.width()), height_(grey.height()) {
  if (grey.format() != PixelFormat::Indexed8 || !grey.hasGreyPalette())
    throw std::logic_error("GreyView needs an 8-bit image with the grey palette");
}

}  // namespace morvex
