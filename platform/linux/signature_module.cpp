// velandri-signature: libsodium's check of an update's minisign signature as a module the
// program loads only when the user has agreed to an update, so that libsodium stays out of
// every start.
#include <type_traits>

#include "platform/linux/minisign_verifier.h"
#include "platform/linux/module_entry.h"
#include "platform/linux/module_signature.h"

using namespace velandri;

extern "C" Q_DECL_EXPORT bool velandriVerifySignature(const char* data, size_t dataSize,
                                                      const char* signature, size_t signatureSize,
                                                      const char* publicKey, char* reason,
                                                      size_t reasonSize) {
    MinisignVerifier verifier{QByteArray(publicKey)};
    const Result<> verified = verifier.verify(QByteArray::fromRawData(data, qsizetype(dataSize)),
                                              QByteArray(signature, qsizetype(signatureSize)));
    if (!verified) writeModuleReason(verified.error().reason, reason, reasonSize);
    return bool(verified);
}

// The program resolves the entry point by name and calls it through this type.
static_assert(std::is_same_v<decltype(&velandriVerifySignature), VelandriVerifySignature>);
