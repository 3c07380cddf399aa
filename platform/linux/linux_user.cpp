#include "platform/linux/linux_user.h"

#include <pwd.h>
#include <unistd.h>

QString LinuxUserInfo::userName() {
    const passwd* entry = getpwuid(geteuid());
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}
