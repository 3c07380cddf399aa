#pragma once

#include <QString>
#include <QtGlobal>

// The local socket through which a second start finds the running copy for dataFolder: a
// full path in the user's private runtime folder ($XDG_RUNTIME_DIR, or a folder of the user's
// own in the temporary folder), so that no other user can take the name. Empty when the user
// has no private runtime folder.
QString runningCopySocketPath(const QString& dataFolder);

// Whether the process at the other end of a connected local socket runs as this user.
bool peerIsThisUser(qintptr socketDescriptor);
