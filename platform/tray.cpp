#include "platform/tray.h"

// Defined here so the meta-object and the virtual table are built once, in one library.
TrayIcon::~TrayIcon() = default;
