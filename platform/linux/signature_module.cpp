// velandri-signature: libsodium's check of an update's minisign signature as a module the
// program loads only when the user has agreed to an update, so that libsodium stays out of
// every start.
#include <cstring>
#include <type_traits>

#include "platform/linux/minisign_verifier.h"
#include "platform/linux/module_entry.h"
#include "platform/linux/module_signature.h"

using namespace velandri;

namespace {

// The comment as a string ending in a zero, when it is one and fits.
Result<> writeTrustedComment(const QByteArray& comment, char* buffer, size_t size) {
    if (comment.contains('\0'))
        return Failure{FailureKind::signatureNotValid,
                       QStringLiteral("the trusted comment holds a zero")};
    if (size_t(comment.size()) >= size)
        return Failure{FailureKind::signatureNotValid,
                       QStringLiteral("the trusted comment is longer than %1 bytes").arg(size - 1)};
    std::memcpy(buffer, comment.constData(), size_t(comment.size()));
    buffer[comment.size()] = '\0';
    return {};
}

Result<> verifyInto(const QByteArray& data, const QByteArray& signature, const char* publicKey,
                    char* trustedComment, size_t trustedCommentSize) {
    MinisignVerifier verifier{QByteArray(publicKey)};
    const Result<QByteArray> verified = verifier.verify(data, signature);
    if (!verified) return verified.error();
    return writeTrustedComment(verified.value(), trustedComment, trustedCommentSize);
}

}  // namespace

extern "C" Q_DECL_EXPORT bool velandriVerifySignature(const char* data, size_t dataSize,
                                                      const char* signature, size_t signatureSize,
                                                      const char* publicKey, char* trustedComment,
                                                      size_t trustedCommentSize, char* reason,
                                                      size_t reasonSize) {
    const Result<> verified = verifyInto(QByteArray::fromRawData(data, qsizetype(dataSize)),
                                         QByteArray(signature, qsizetype(signatureSize)), publicKey,
                                         trustedComment, trustedCommentSize);
    if (!verified) writeModuleReason(verified.error().detail, reason, reasonSize);
    return bool(verified);
}

// The program resolves the entry point by name and calls it through this type.
static_assert(std::is_same_v<decltype(&velandriVerifySignature), VelandriVerifySignature>);
