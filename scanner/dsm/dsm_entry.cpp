// The library's one export: DSM_Entry, the TWAIN Source Manager's entry point.
#pragma GCC visibility push(default)
#include "morvex/twain/twain_types.h"
#pragma GCC visibility pop

#include <exception>

#include "frontend.h"
#include "source_manager.h"

namespace {

morvex::dsm::SourceManager& TheManager() {
  // Never destroyed: the program may still call while static objects go away
  // at its exit, and the library stays mapped between its loads.
  static morvex::dsm::QtFrontend* frontend = new morvex::dsm::QtFrontend;
  static morvex::dsm::SourceManager* manager = new morvex::dsm::SourceManager(*frontend);
  return *manager;
}

}  // namespace

extern "C" TW_UINT16 DSM_Entry(pTW_IDENTITY origin, pTW_IDENTITY destination, TW_UINT32 dg, TW_UINT16 dat,
                               TW_UINT16 msg, TW_MEMREF data) {
  // No exception may cross into the program, which is no C++ caller.
  try {
    return TheManager().Entry(origin, destination, dg, dat, msg, data);
  } catch (...) {
    return TWRC_FAILURE;
  }
}
