// The scanned image put into the scan command's working bitmap: the DIB's
// palette, its size and its pixels, in the order the command relies on.
#pragma once

#include <stdexcept>

#include "morvex/bitmap.h"
#include "morvex/winshim/hglobal.h"

namespace morvex::gui {

// The platform has no room for a bitmap of the scan's size.
class OutOfGraphicsResources : public std::runtime_error {
 public:
  OutOfGraphicsResources() : std::runtime_error("out of graphics resources") {}
};

// Width and height of the DIB's header (the height of a top-down DIB taken
// as its number of rows); 0, 0 when the block holds no header.
struct DibSize {
  int width = 0;
  int height = 0;
};
DibSize ReadDibSize(HGLOBAL dib);

// Gives `working` the DIB's palette, the DIB's size and draws the DIB into it
// at full size. Throws OutOfGraphicsResources when a bitmap of that size
// cannot be made (larger than a bitmap may be, or memory ran out); `working`
// then keeps what it held when the failing step began.
void PutDibIntoBitmap(HGLOBAL dib, const DibSize& size, Bitmap& working);

}  // namespace morvex::gui
