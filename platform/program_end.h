#pragma once

namespace velandri {

// Ends the process at once: no window handler runs and nothing is saved.
class ProgramEnd {
public:
    virtual ~ProgramEnd() = default;
    virtual void endNow() = 0;
};

}  // namespace velandri
