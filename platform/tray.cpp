#include "platform/tray.h"

namespace velandri {

// Defined here so the meta-object and the virtual table are built once, in one library.
TrayIcon::~TrayIcon() = default;

}  // namespace velandri
