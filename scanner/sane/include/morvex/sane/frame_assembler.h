// Turns the frames SANE delivers into one packed DIB (see dib.h).
//
// Frames: GRAY at 1, 8 or 16 bits; RGB at 8 or 16 bits; RED, GREEN and BLUE
// frames at 8 or 16 bits in any order (a three-pass scanner). Rows are
// bytes_per_line long, which may be more than the pixels need; the rest is
// dropped. Data may come in pieces of any size. With a known height each row
// is written straight to its place in the bottom-up DIB; with an unknown
// height (lines = -1) the block grows as rows come and is turned bottom-up
// once at the end. A frame that ends early gives the rows received; rows
// beyond the announced height are dropped.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "morvex/sane/dib.h"
#include "morvex/sane/error.h"

namespace morvex::sane {

enum class FrameFormat { Gray, Rgb, Red, Green, Blue };

// SANE_Parameters after sane_start, for one frame.
struct FrameParameters {
  FrameFormat format = FrameFormat::Gray;
  bool lastFrame = true;
  int bytesPerLine = 0;
  int pixelsPerLine = 0;
  int lines = 0;  // -1: unknown until the frame ends
  int depth = 8;
};

class FrameAssembler {
 public:
  // dpiX/dpiY go into the DIB's pixels-per-metre fields (0: unknown);
  // context starts the text of every SaneError ("scan of test:0").
  FrameAssembler(DibStorage& storage, double dpiX, double dpiY, std::string context = "scan");

  // Starts a frame. Throws SaneError (Unsupported) for a format or depth that
  // has no DIB form, and (Invalid) for a frame that does not fit the ones
  // before it or for bad parameters.
  void beginFrame(const FrameParameters& frame);
  // Adds the frame's next bytes.
  void add(std::span<const std::uint8_t> bytes);
  // Ends the frame (SANE_STATUS_EOF). A partial last row is dropped.
  void endFrame();
  // After the last frame: completes the DIB and returns what it holds.
  // Throws SaneError (Invalid) when no row came.
  ScannedImage finish();

  // Every frame the image needs has ended: one grey or RGB frame, or all
  // three colours.
  bool complete() const { return started_ && !inFrame_ && (!threePass_ || channelsSeen_ == 7u); }

  // Rows of the current frame converted so far, and the rows it announced
  // (-1 when unknown).
  int rowsDone() const { return rowsDone_; }
  int rowsExpected() const { return frame_.lines; }

 private:
  [[noreturn]] void fail(Status status, const std::string& detail) const;
  void allocate();
  void reserveRows(int rows);
  void acceptRow(const std::uint8_t* line);
  void convertRow(const std::uint8_t* line, std::uint8_t* row);
  std::uint8_t* rowAt(int y);
  void writeHeader();

  DibStorage& storage_;
  double dpiX_, dpiY_;
  std::string context_;
  FrameParameters frame_;
  bool started_ = false;       // a first frame has been seen
  bool inFrame_ = false;
  int framesBegun_ = 0;
  bool threePass_ = false;
  unsigned channelsSeen_ = 0;  // bit per channel of a three-pass scan
  int width_ = 0;
  int bits_ = 0;               // 1, 8 or 24
  int paletteEntries_ = 0;
  std::size_t headerBytes_ = 0;
  std::size_t rowBytes_ = 0;
  bool knownHeight_ = false;   // the first frame announced its height: rows go straight to their place
  int height_ = 0;             // the announced height, then the rows the first frame gave
  int capacityRows_ = 0;
  std::uint8_t* block_ = nullptr;
  int rowsDone_ = 0;
  std::vector<std::uint8_t> line_;  // a row split across add() calls
  std::size_t lineFill_ = 0;
};

}  // namespace morvex::sane
