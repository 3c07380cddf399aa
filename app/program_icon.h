#pragma once

#include <QIcon>

// The program's own icon, drawn from its SVG: the window icon and the tray icon.
QIcon programIcon();
