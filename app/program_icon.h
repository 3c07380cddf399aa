#pragma once

#include <QIcon>

// The program's own icon, drawn from its SVG at build time: the window icon and the tray icon.
QIcon programIcon();
