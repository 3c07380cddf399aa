#include "platform/linux/module_signature.h"

#include <array>
#include <utility>

#include "platform/linux/module_entry.h"

namespace velandri {

ModuleSignatureVerifier::ModuleSignatureVerifier(QString modulePath, QByteArray publicKey)
    : modulePath_(std::move(modulePath)), publicKey_(std::move(publicKey)) {}

Result<QByteArray> ModuleSignatureVerifier::verify(const QByteArray& data,
                                                   const QByteArray& signature) {
    std::array<char, kTrustedCommentRoom> trustedComment{};
    const Result<> verified = callModule<VelandriVerifySignature>(
        FailureKind::signatureNotValid, modulePath_, "velandriVerifySignature", data.constData(),
        size_t(data.size()), signature.constData(), size_t(signature.size()),
        publicKey_.constData(), trustedComment.data(), trustedComment.size());
    if (!verified) return verified.error();
    return QByteArray(trustedComment.data());
}

}  // namespace velandri
