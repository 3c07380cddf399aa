#pragma once

#include <QByteArray>
#include <optional>

#include "platform/signature.h"

namespace velandri {

// A .minisig file's content, read but not yet checked.
struct MinisignSignature {
    bool prehashed = false;  // over the file's BLAKE2b-512 hash, not the file itself
    QByteArray keyId;
    QByteArray signature;
    QByteArray trustedComment;
    QByteArray globalSignature;  // over the signature and the trusted comment
};

// Its four lines, each without its line end, as minisign reads them; nothing when they are not
// a signature of one of minisign's two forms.
std::optional<MinisignSignature> parseMinisignSignature(const QByteArray& text);

// minisign's signatures (Ed25519 over the file's BLAKE2b-512 hash, the form `minisign -S` makes,
// or over the file itself, the legacy form), checked with libsodium against one public key: the
// base64 line of a minisign.pub file. The trusted comment's own signature must hold as well, as
// minisign -V demands. Linked into the signature module, which the program loads only for an
// update, and into the tests.
class MinisignVerifier : public SignatureVerifier {
public:
    explicit MinisignVerifier(QByteArray publicKey);
    Result<QByteArray> verify(const QByteArray& data, const QByteArray& signature) override;

private:
    QByteArray publicKey_;
};

}  // namespace velandri
