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

Bitmap NoteRenderer::render(const NotePlan& plan) const {
  if (*MarkSequence(plan.denomination) == '\0')
    throw std::invalid_argument("no such face value: " + std::to_string(plan.denomination));
  const ScanGeometry g = ComputeScanGeometry(plan);
  NoteCanvas canvas(g.pxPerMm * plan.supersample);
  DrawNoteFace(canvas, impl_->face, plan);
  return ScanNote(canvas, plan);
}

}  // namespace morvex::notegen
