#pragma once

#include <memory>
#include <string>

namespace velandri {

// The display the program's windows go to, decided before Qt's application object exists.
struct DisplayChoice {
    bool found = false;
    std::string problem;  // why no display was found, when none was
    // The probe's X connection, to be kept until Qt has its own: an X server with no client
    // left resets itself, and a connection made during the reset fails.
    std::shared_ptr<void> xConnection;
};

// Keeps the user's QT_QPA_PLATFORM; otherwise chooses X11 wherever an X display answers, also
// through XWayland, since only there can the program place its windows and keep them top-most,
// and Wayland where only a Wayland display answers.
DisplayChoice chooseDisplayPlatform();

}  // namespace velandri
