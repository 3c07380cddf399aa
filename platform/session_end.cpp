#include "platform/session_end.h"

namespace velandri {

// Defined here so the meta-object and the virtual table are built once, in one library.
SessionEnd::~SessionEnd() = default;

}  // namespace velandri
