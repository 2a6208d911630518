// Reading and writing Windows bitmap (.bmp) files.
//
// The reader accepts the formats a Windows program meets: 1, 4 and 8 bits with
// palettes, RLE4 and RLE8, 16 and 32 bits with and without bit fields, 24
// bits, bottom-up and top-down rows, OS/2 1.x/2.x and the V4/V5 headers. Images
// of up to 8 bits load as PixelFormat::Indexed8, all others as Rgb24; the
// file's bit depth is kept in Bitmap::sourceBitDepth().
//
// Anything that cannot be read as a bitmap raises BitmapFormatError, whose text
// is "Bitmap image is not valid". Bad input never reads out of bounds and never
// allocates more than the data could fill.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "morvex/bitmap.h"

namespace morvex {

class BitmapFormatError : public std::runtime_error {
 public:
  BitmapFormatError() : std::runtime_error("Bitmap image is not valid") {}
};

// A file that cannot be opened or read; the text names the file and the reason.
class FileReadError : public std::runtime_error {
 public:
  explicit FileReadError(const std::string& what) : std::runtime_error(what) {}
};

// A file that cannot be created or written; the text names the file and the
// reason.
class FileWriteError : public std::runtime_error {
 public:
  explicit FileWriteError(const std::string& what) : std::runtime_error(what) {}
};

// The decoders below reuse `into`'s storage, so loading many images of one
// size allocates once. On BitmapFormatError `into` is left empty (0 x 0);
// on FileReadError it is left untouched.
//
// Limits: width and height at most 2^20, at most 2^27 pixels, densities at
// most 1,000,000 pixels per metre; every pixel index must have a palette
// entry; RLE runs and moves must stay inside the image. Pixels an RLE stream
// skips (moves, early end of line or of bitmap) are palette index 0.

// Decodes a whole .bmp file held in memory (starting with "BM") into `into`,
// reusing its storage. The rows start at bfOffBits; a bfSize larger than the
// file means lost data and is refused, a smaller one is not used.
void DecodeBmp(std::span<const std::uint8_t> file, Bitmap& into);

// Decodes a packed device-independent bitmap: info header, colour table, pixel
// rows, as a scanner's native transfer hands it over. The rows follow the
// header, the bit-field masks when a 40-byte header has them, and the colour
// table of biClrUsed entries (2^bits when it is 0 and bits <= 8; entries are
// 3 bytes after a 12-byte core header, else 4).
void DecodePackedDib(std::span<const std::uint8_t> dib, Bitmap& into);

// Loads a .bmp file from disk into `into`, reusing its storage.
void LoadBmpFile(const std::filesystem::path& path, Bitmap& into);
// The same, reading the file into `fileBytes`, which is kept for the next load:
// a run over many files then allocates neither the picture nor the read
// buffer again (multi-megabyte blocks freed to the system cost a fresh mapping
// and page faults on every file).
void LoadBmpFile(const std::filesystem::path& path, Bitmap& into, std::vector<std::uint8_t>& fileBytes);
Bitmap LoadBmpFile(const std::filesystem::path& path);

// Encodes as a bottom-up .bmp file with a BITMAPINFOHEADER: Rgb24 bitmaps as
// 24 bits, Indexed8 as 8 bits with their palette. An empty bitmap cannot be
// written (std::runtime_error).
std::vector<std::uint8_t> EncodeBmp(const Bitmap& bitmap);
// Writes EncodeBmp's bytes; throws FileWriteError naming the file on failure.
void SaveBmpFile(const std::filesystem::path& path, const Bitmap& bitmap);

}  // namespace morvex
