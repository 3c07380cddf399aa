#pragma once

#include <QByteArray>
#include <QString>

#include "platform/signature.h"

namespace velandri {

// The module's one entry point: MinisignVerifier::verify with publicKey as the key (a string
// ending in a zero). On success the trusted comment is written to trustedComment, ending in a
// zero; one that holds a zero or does not fit in trustedCommentSize bytes fails. On failure the
// reason, in UTF-8, is written to reason (cut to reasonSize bytes, ending in a zero).
extern "C" {
using VelandriVerifySignature = bool (*)(const char* data, size_t dataSize, const char* signature,
                                         size_t signatureSize, const char* publicKey,
                                         char* trustedComment, size_t trustedCommentSize,
                                         char* reason, size_t reasonSize);
}

// Room for the trusted comment, far more than a release's names need.
inline constexpr size_t kTrustedCommentRoom = 4096;

// MinisignVerifier, loaded from the module velandri-signature.so at the first verification, so
// that libsodium stays out of every start. A failure also when the module cannot be loaded.
class ModuleSignatureVerifier : public SignatureVerifier {
public:
    ModuleSignatureVerifier(QString modulePath, QByteArray publicKey);
    Result<QByteArray> verify(const QByteArray& data, const QByteArray& signature) override;

private:
    QString modulePath_;
    QByteArray publicKey_;
};

}  // namespace velandri
