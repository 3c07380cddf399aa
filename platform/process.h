#pragma once

#include <QString>

namespace velandri {

// How a started program's window is shown, as the designed platform names the styles.
enum class WindowStyle { NormalFocus = 1, MinimizedFocus = 2 };

// Starts programs from designed command lines, detached, never through a shell.
class ProcessStarter {
public:
    virtual ~ProcessStarter() = default;
    // False when the program could not be started (not found, not executable).
    virtual bool start(const QString& commandLine, WindowStyle style) = 0;
    // Lets the owner run the program file at programPath, whatever permissions it came with.
    // False when it is not a regular file in that folder (a link, even to a file, is not) or
    // cannot be changed; then nothing is changed.
    virtual bool allowToRun(const QString& programPath) = 0;
};

}  // namespace velandri
