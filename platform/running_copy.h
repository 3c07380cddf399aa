#pragma once

#include <QString>

// The per-user, per-data-folder name under which a running copy of the program answers on a
// local socket. The program claims it; a second copy and the data tool look for it. Spellings
// of one folder (relative, with "..", through a link) give one name.
QString runningCopyName(const QString& dataFolder);
