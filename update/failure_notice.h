#pragma once

#include "platform/result.h"

namespace velandri {

// Tells the user of a failure in the words the windows choose for its kind; the kind alone, so
// that nothing a web site sent reaches the user.
class FailureNotice {
public:
    virtual ~FailureNotice() = default;
    virtual void tell(FailureKind kind) = 0;
};

}  // namespace velandri
