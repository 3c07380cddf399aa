#pragma once

#include "platform/program_end.h"

namespace velandri {

class ImmediateProgramEnd : public ProgramEnd {
public:
    [[noreturn]] void endNow() override;
};

}  // namespace velandri
