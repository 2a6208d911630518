// A packed DIB as the scan layer writes it, as a QImage, for the preview.
#pragma once

#include <QImage>

#include "morvex/winshim/hglobal.h"

namespace morvex::dsm {

// The picture of a 1-, 8- or 24-bit packed DIB in a global block; a null
// image when the block holds no such DIB. The block is left as it was.
QImage DibPicture(HGLOBAL dib);

}  // namespace morvex::dsm
