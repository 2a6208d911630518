#include "gui_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void InitCompiledResources() { Q_INIT_RESOURCE(gui); }

namespace morvex::gui {

void InitGuiResources() {
  static const bool done = [] {
    InitCompiledResources();
    return true;
  }();
  (void)done;
}

}  // namespace morvex::gui
