#pragma once

#include "platform/user.h"

// The login name of the effective user.
class LinuxUserInfo : public UserInfo {
public:
    QString userName() override;
};
