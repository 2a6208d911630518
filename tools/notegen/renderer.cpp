#include <stdexcept>

#include "note_face.h"
#include "notegen.h"
#include "scan.h"
#include "typeface.h"

namespace morvex::notegen {

struct NoteRenderer::Impl {
  explicit Impl(const std::string& path) : face(path) {}
  Typeface face;
};

NoteRenderer::NoteRenderer(const std::string& fontPath) : impl_(std::make_unique<Impl>(fontPath)) {}
NoteRenderer::~NoteRenderer() = default;

Bitmap NoteRenderer::render(const NoteSpec& spec) const {
  if (*MarkSequence(spec.denomination) == '\0')
    throw std::invalid_argument("no such face value: " + std::to_string(spec.denomination));
  const ScanGeometry g = ComputeScanGeometry(spec);
  NoteCanvas canvas(g.pxPerMm * spec.supersample);
  DrawNoteFace(canvas, impl_->face, spec);
  return ScanNote(canvas, spec);
}

}  // namespace morvex::notegen
