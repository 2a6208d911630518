#include "app_info.h"

namespace morvex::gui {

QString AboutText() {
  return kApplicationTitle + QStringLiteral("\n    version ") + kVersion +
         QStringLiteral("\nMorvex Demo team\n"
                        "E-mail: demo@morvex.example\n"
                        "Web: https://morvex.example/demo");
}

}  // namespace morvex::gui
