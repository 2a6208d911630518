// The grey working image on which the note analysis samples.
#pragma once

#include "morvex/bitmap.h"

namespace morvex {

// Turns a bitmap in place into an 8-bit image with the 256-level grey palette;
// every pixel becomes the grey level of its colour's Brightness.
void MakeGreyImage(Bitmap& bitmap);

// The working image of an analysis: a grey copy of input (same size), input
// itself unchanged. Same pixels as copying input and applying MakeGreyImage.
Bitmap MakeWorkingImage(const Bitmap& input);

}  // namespace morvex
