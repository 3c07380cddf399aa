#include "update/release_comment.h"

#include <QByteArrayList>
#include <optional>

#include "update/version.h"

namespace velandri {

namespace {

QByteArrayList fieldsOf(const QByteArray& comment) {
    QByteArrayList fields;
    for (const QByteArray& blankSeparated : comment.split(' '))
        for (const QByteArray& field : blankSeparated.split('\t'))
            if (!field.isEmpty()) fields << field;
    return fields;
}

// The value of the one field with that name; nothing when there is none or more than one.
std::optional<QString> onlyValue(const QByteArrayList& fields, const QByteArray& name) {
    std::optional<QString> value;
    for (const QByteArray& field : fields) {
        if (!field.startsWith(name)) continue;
        if (value) return std::nullopt;
        value = QString::fromUtf8(field.mid(name.size()));
    }
    return value;
}

}  // namespace

Result<> checkReleaseComment(const QByteArray& trustedComment, const QString& announced,
                             const QString& own) {
    const QByteArrayList fields = fieldsOf(trustedComment);
    const std::optional<QString> file = onlyValue(fields, "file:");
    const std::optional<QString> version = onlyValue(fields, "version:");
    const QString comment = QString::fromUtf8(trustedComment);
    if (file != kReleaseArchiveName)
        return Failure{FailureKind::releaseNotVerified,
                       QStringLiteral("the trusted comment \"%1\" does not name the file %2 once")
                           .arg(comment, kReleaseArchiveName)};
    if (!version)
        return Failure{
            FailureKind::releaseNotVerified,
            QStringLiteral("the trusted comment \"%1\" does not name a version once").arg(comment)};
    if (*version != announced)
        return Failure{FailureKind::releaseNotVerified,
                       QStringLiteral("the archive is signed as version %1, the site announced %2")
                           .arg(*version, announced)};
    if (!isNewerVersion(own, *version))
        return Failure{FailureKind::releaseNotVerified,
                       QStringLiteral("the archive is signed as version %1, not newer than %2")
                           .arg(*version, own)};
    return {};
}

}  // namespace velandri
