#pragma once

#include <thread>

namespace velandri {

// Reads the font configuration on a thread of its own, while the program connects to the display:
// fontconfig parses its configuration and loads its caches at first use (some milliseconds),
// which would otherwise fall to the main window's first text, on the start's critical path.
// Whoever asks fontconfig later finds it loaded; had Qt come first, fontconfig would have kept
// one of the two loads, as it does for any two threads.
class FontConfigurationAhead {
public:
    FontConfigurationAhead();

private:
    std::jthread reader_;  // joined when the object goes
};

}  // namespace velandri
