#include "platform/linux/linux_user.h"

#include <pwd.h>
#include <unistd.h>

namespace velandri {

QString LinuxUserInfo::userName() {
    const passwd* entry = getpwuid(geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

}  // namespace velandri
