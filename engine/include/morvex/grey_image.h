// The grey working image on which the note analysis samples.
#pragma once

#include <cstdint>
#include <span>

#include "morvex/bitmap.h"

namespace morvex {

// Turns a bitmap in place into an 8-bit image with the 256-level grey palette;
// every pixel becomes the grey level of its colour's Brightness.
void MakeGreyImage(Bitmap& bitmap);

// The working image of an analysis: a grey copy of input (same size), input
// itself unchanged. Same pixels as copying input and applying MakeGreyImage.
Bitmap MakeWorkingImage(const Bitmap& input);

// The grey image of a packed DIB, decoded into `grey` (reusing its storage):
// the same pixels as DecodePackedDib followed by MakeGreyImage, but a 24-bit
// DIB goes straight to grey without a colour bitmap in between, so a scan
// costs its DIB and the grey image and nothing more. Errors and the state of
// `grey` after them are those of DecodePackedDib (morvex/bmp.h).
void DecodePackedDibGrey(std::span<const std::uint8_t> dib, Bitmap& grey);

}  // namespace morvex
