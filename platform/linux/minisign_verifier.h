#pragma once

#include <QByteArray>

#include "platform/signature.h"

namespace velandri {

// minisign's signatures (Ed25519 over the file's BLAKE2b-512 hash, the form `minisign -S` makes,
// or over the file itself, the legacy form), checked with libsodium against one public key: the
// base64 line of a minisign.pub file. The trusted comment's own signature must hold as well, as
// minisign -V demands. Linked into the signature module, which the program loads only for an
// update, and into the tests.
class MinisignVerifier : public SignatureVerifier {
public:
    explicit MinisignVerifier(QByteArray publicKey);
    Result<> verify(const QByteArray& data, const QByteArray& signature) override;

private:
    QByteArray publicKey_;
};

}  // namespace velandri
