// A packed DIB as a QImage.
#pragma once

#include <QImage>

#include "morvex/winshim/hglobal.h"

namespace morvex::twain {

// The DIB's picture, or a null image when the block holds no DIB.
QImage DibToImage(HGLOBAL dib);

}  // namespace morvex::twain
