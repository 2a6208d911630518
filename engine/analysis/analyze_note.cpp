// AnalyzeNote: the fixed pipeline from the caller's bitmap to the answer.
#include "morvex/engine.h"

#include "analysis/details.h"
#include "analysis/edge_sampling.h"
#include "analysis/frame.h"
#include "analysis/grey_view.h"
#include "analysis/note_reading.h"
#include "morvex/elapsed.h"
#include "morvex/grey_image.h"
#include "morvex/ticks.h"

namespace morvex {

void AnalyzeNote(Bitmap& Image, bool ShowDetails, std::vector<std::string>* Details, AnalisysResult& Result,
                 const ReferenceDigits& References) {
  AnalyzeNote(Image, ShowDetails, Details, Result, References, AnalyzeOptions{});
}

void AnalyzeNote(Bitmap& Image, bool ShowDetails, std::vector<std::string>* Details, AnalisysResult& Result,
                 const ReferenceDigits& References, const AnalyzeOptions& Options) {
  const std::uint32_t t0 = TickCount();
  Result.UpsideDown = false;
  Result.Dpi = 0;
  Result.Zone1Confidence.reset();
  Result.Zone2Confidence.reset();

  Bitmap work = MakeWorkingImage(Image);
  const GreyView grey(work);
  SampleTable columns = SampleColumns(grey);
  const LongEdges edges = FitLongEdges(columns);
  SampleTable lines = SampleLines(grey, edges);
  NoteFrame frame = Options.Robust ? BuildSquareFrame(lines, edges) : BuildFrame(lines, edges);

  if (ShowDetails && Details != nullptr) Details->push_back(SizeLine(frame));
  const NoteScales scales = ScalesOf(frame);
  Result.Dpi = EstimateDpi(frame.LongSide);

  NoteReading reading = Options.Robust ? ReadNoteRobustly(work, frame, scales, References, ShowDetails, Result)
                                       : ReadNote(work, frame, scales, References, ShowDetails, Result);
  if (Options.Robust && !reading.Decision.Recognised) {
    // No face value on the square frame: the patches are looked for once more
    // on the exact reading's frame, whose short edges follow the samples.
    const NoteFrame fitted = BuildFrame(lines, edges);
    AnalisysResult second = Result;
    NoteReading again = ReadNoteRobustly(work, fitted, ScalesOf(fitted), References, ShowDetails, second);
    if (again.Decision.Recognised) {
      second.Dpi = Result.Dpi;
      Result = std::move(second);
      reading = std::move(again);
      frame = fitted;
    }
  }

  if (!ShowDetails) return;
  work.setFormat(PixelFormat::Rgb24);
  MarkNote(work, frame, reading);
  // The caller's picture becomes the marked working image, which has its size;
  // it keeps reporting the bit depth it was loaded with.
  const int sourceBits = Image.sourceBitDepth();
  Image = std::move(work);
  Image.setSourceBitDepth(sourceBits);
  const std::uint32_t t1 = TickCount();
  if (Details != nullptr) {
    Details->push_back(ElapsedText(t0, t1, 1));
    Details->push_back(TiltLine(frame.k));
  }
}

}  // namespace morvex
