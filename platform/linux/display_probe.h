#pragma once

#include <string>

// The display the program's windows go to, decided before Qt's application object exists.
struct DisplayChoice {
    bool found = false;
    std::string problem;  // why no display was found, when none was
};

// Keeps the user's QT_QPA_PLATFORM; otherwise chooses X11 wherever an X display answers, also
// through XWayland, since only there can the program place its windows and keep them top-most,
// and Wayland where only a Wayland display answers.
DisplayChoice chooseDisplayPlatform();
