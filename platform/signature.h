#pragma once

#include <QByteArray>

#include "platform/result.h"

namespace velandri {

// Whether bytes are what the maker signed: an update is installed only when they are.
class SignatureVerifier {
public:
    virtual ~SignatureVerifier() = default;
    // Success only when signature, the text of a minisign signature file, is a valid signature
    // of exactly these bytes by the maker's public key that the verifier holds; its value is the
    // trusted comment, which the same key signs. A failure says why not; with no key every
    // signature fails.
    virtual Result<QByteArray> verify(const QByteArray& data, const QByteArray& signature) = 0;
};

}  // namespace velandri
