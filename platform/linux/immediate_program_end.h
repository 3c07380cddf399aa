#pragma once

#include "platform/program_end.h"

class ImmediateProgramEnd : public ProgramEnd {
public:
    [[noreturn]] void endNow() override;
};
