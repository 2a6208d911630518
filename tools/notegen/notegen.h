// Sample-note generator: renders synthetic scans of rouble notes, so that the
// demo, the tests and the benchmarks have notes to read.
//
//   morvex::notegen::GenerationOptions options = morvex::notegen::PresetOptions(morvex::notegen::SampleSet::Typical);
//   morvex::notegen::NoteRenderer renderer;
//   for (int i = 0; i < 10; ++i) {
//     morvex::notegen::NotePlan plan = morvex::notegen::DrawNotePlan(options, seed, i);
//     morvex::Bitmap scan = renderer.render(plan);
//     morvex::SaveBmpFile(dir / morvex::notegen::NoteFileName(plan), scan);
//   }
//
// The world drawn is fixed: a 150 x 65 mm cream note with light decoration,
// the face-value marks in the patch place near the lower left corner, the
// serial number (two Cyrillic series letters, a wider gap, seven digits) in the
// red zone on the right and the blue zone on the left, the other side with
// decoration only; the note lies roughly centred on a near-black background,
// tilted, scanned at 150 to 300 dpi. Everything a note shows follows from its
// NotePlan, and DrawNotePlan makes the plan of note `index` from the seed
// alone, so a set is reproduced exactly by its seed and options.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "morvex/bitmap.h"

namespace morvex::notegen {

// The damage of a stress note, each kind drawn at random. The defaults are an
// undamaged note.
struct NoteDamage {
  bool underprint = false;     // coloured fine curves and rosettes under and around the numbers and the marks
  double inkStrength = 1;      // opacity of the serial ink at its strongest end (0..1)
  double inkGrade = 0;         // how much fainter the ink gets across each zone (0..1 of inkStrength)
  bool wear = false;           // rubbed patches where ink and print fade
  int folds = 0;               // creases across the note
  bool dust = false;           // dust specks and fine scratches
  int streaks = 0;             // scanner streaks along the image columns
  double cornerRadiusMm = 0;   // rounded corners
  int dogEars = 0;             // corners folded away: bit i for corner i (0 top-left, clockwise)
  double backgroundRise = 0;   // uneven background: extra levels from one side of the image to the other
  int jpegQuality = 0;         // JPEG damage at this quality (1..100); 0 none
  std::uint64_t seed = 0;      // positions and shapes of the damage

  bool any() const {
    return underprint || inkStrength < 1 || inkGrade > 0 || wear || folds > 0 || dust || streaks > 0 ||
           cornerRadiusMm > 0 || dogEars != 0 || backgroundRise > 0 || jpegQuality > 0;
  }
};

// Everything that decides one rendered note.
struct NotePlan {
  int dpi = 200;             // scan resolution, 150 to 300 in the sets
  bool numberSide = true;    // false: the side without number and marks
  bool upsideDown = false;   // the note turned by 180 degrees
  int denomination = 100;    // 10, 50, 100, 500 or 1000
  std::u32string series;     // two Cyrillic capital letters
  std::string number;        // seven digits
  double tiltDegrees = 0;    // positive turns the note clockwise as displayed
  double offsetXMm = 0;      // shift of the note's centre from the image centre
  double offsetYMm = 0;
  double marginXMm = 3;      // background beyond the note on the left and right
  double marginYMm = 6;      // and above and below it (before any offset)
  double blurSigma = 0;      // Gaussian blur of the scan, in pixels
  double noiseSigma = 0;     // per-channel noise of the scan, in grey levels
  double backgroundLevel = 14;  // grey level of the scanner's background
  bool grey8 = false;        // 8-bit grey output instead of 24-bit colour
  int supersample = 3;       // samples per pixel along each axis
  std::uint64_t detailSeed = 0;  // decoration phases and the scan's noise
  NoteDamage damage;
};

enum class SampleSet { Clean, Typical, Hard, Stress };

// A closed range of values that a note parameter is drawn from.
struct Range {
  double lo = 0;
  double hi = 0;
};

// How the notes of a set are drawn.
struct GenerationOptions {
  int dpiMin = 150;  // resolutions are multiples of 10 inside this range
  int dpiMax = 300;
  double maxTiltDegrees = 0;   // tilt drawn uniformly from -max to +max
  double maxOffsetMm = 0;      // centre offset drawn from -max to +max per axis
  Range blurSigma;             // pixels
  Range noiseSigma;            // grey levels
  Range backgroundLevel{14, 14};
  double backSideShare = 0.1;  // share of notes showing the side without number
  double upsideDownShare = 0.5;
  bool grey8 = false;
  int supersample = 3;
  bool damaged = false;  // draw several kinds of NoteDamage for every note
};

GenerationOptions PresetOptions(SampleSet set);
// "clean", "typical", "hard" or "stress".
std::optional<SampleSet> ParseSampleSet(std::string_view name);

// The plan of note number `index` of the set made with these options and seed.
// Depends only on (options, seed, index), never on how many notes are made.
NotePlan DrawNotePlan(const GenerationOptions& options, std::uint64_t seed, int index);

// "Note-dpi-s-o-vvvv-SSnnnnnnn.bmp" in UTF-8: dpi as three digits, the side
// digit (1 number side, 0 the other), the orientation digit (1 upright, 0
// upside down), the face value as four digits, the series letters and the
// number.
std::string NoteFileName(const NotePlan& plan);

// Renders notes. Holds the typeface; one renderer per thread.
class NoteRenderer {
 public:
  // The serial-number typeface, DejaVu Sans Condensed Bold.
  static constexpr const char* kDefaultFont = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf";

  // Throws std::runtime_error when the font cannot be loaded.
  explicit NoteRenderer(const std::string& fontPath = kDefaultFont);
  ~NoteRenderer();
  NoteRenderer(const NoteRenderer&) = delete;
  NoteRenderer& operator=(const NoteRenderer&) = delete;

  // The scan: Rgb24, or Indexed8 with the grey palette when plan.grey8.
  // Throws std::invalid_argument for a plan outside the drawable world.
  Bitmap render(const NotePlan& plan) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace morvex::notegen
