#pragma once

#include <QByteArray>
#include <QString>

#include "platform/result.h"

namespace velandri {

// The archive's name that a release's trusted comment must carry as "file:" + its name.
inline const QString kReleaseArchiveName = QStringLiteral("Pelkamo.zip");

// Whether the trusted comment of a signed release, fields separated by blanks or tabs, names the
// archive ("file:Pelkamo.zip") and the version ("version:X") once each, with X the version the
// site announced and newer than own. Any archive the maker ever signed carries a valid signature;
// only this keeps an old one from being installed again.
Result<> checkReleaseComment(const QByteArray& trustedComment, const QString& announced,
                             const QString& own);

}  // namespace velandri
