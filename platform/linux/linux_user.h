#pragma once

#include "platform/user.h"

namespace velandri {

// The login name of the effective user.
class LinuxUserInfo : public UserInfo {
public:
    QString userName() override;
};

}  // namespace velandri
