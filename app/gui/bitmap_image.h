// The one place where the engine's bitmaps and Qt's images meet.
#pragma once

#include <QImage>

#include "morvex/bitmap.h"

namespace morvex::gui {

// A copy of the bitmap as a QImage: 24-bit bitmaps as BGR888 (the engine's
// byte order), 8-bit ones as Indexed8 with their palette.
QImage ToQImage(const Bitmap& bitmap);

// A 24-bit copy of any QImage (alpha is dropped).
Bitmap FromQImage(const QImage& image);

}  // namespace morvex::gui
