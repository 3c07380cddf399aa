#pragma once

#include <QString>

namespace velandri {

class UserInfo {
public:
    virtual ~UserInfo() = default;
    // The login name as the system reports it, untrimmed; empty when it cannot be read.
    virtual QString userName() = 0;
};

}  // namespace velandri
