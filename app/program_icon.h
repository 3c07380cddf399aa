#pragma once

#include <QIcon>

namespace velandri {

// The program's own icon, drawn from its SVG at build time: the window icon and the tray icon.
QIcon programIcon();

}  // namespace velandri
