// Runs a folder batch's steps on a worker thread while the calling (GUI)
// thread keeps its event loop turning, so the windows repaint and move
// during a run. Everything the batch makes visible (the order of files, the
// report, the renaming, the first error) stays the batch's own.
#pragma once

#include <cstdint>
#include <functional>

#include "morvex/app/batch.h"

namespace morvex::gui {

// Steps through the whole batch; `progress` runs on the calling thread after
// every step, with the files done and the total. Returns the finished
// report, or rethrows the error that ended the run.
app::BatchReport RunBatch(app::FolderBatch& batch, const std::function<void(std::int32_t, std::int32_t)>& progress);

}  // namespace morvex::gui
