#pragma once

#include <QString>
#include <QtGlobal>

namespace velandri {

// The local socket under which a running copy of the program answers for dataFolder. The
// program claims it; a second copy and the data tool look for it. It is a full path in the
// user's private runtime folder ($XDG_RUNTIME_DIR, or a folder of the user's own in the
// temporary folder), so that no other user can take the name; spellings of one folder
// (relative, with "..", through a link) give one path. Empty when the user has no private
// runtime folder.
QString runningCopySocketPath(const QString& dataFolder);

// Whether the process at the other end of a connected local socket runs as this user.
bool peerIsThisUser(qintptr socketDescriptor);

}  // namespace velandri
