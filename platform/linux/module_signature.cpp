#include "platform/linux/module_signature.h"

#include <utility>

#include "platform/linux/module_entry.h"

namespace velandri {

ModuleSignatureVerifier::ModuleSignatureVerifier(QString modulePath, QByteArray publicKey)
    : modulePath_(std::move(modulePath)), publicKey_(std::move(publicKey)) {}

Result<> ModuleSignatureVerifier::verify(const QByteArray& data, const QByteArray& signature) {
    return callModule<VelandriVerifySignature>(
        modulePath_, "velandriVerifySignature", data.constData(), size_t(data.size()),
        signature.constData(), size_t(signature.size()), publicKey_.constData());
}

}  // namespace velandri
