#include "platform/linux/module_signature.h"

#include <QLibrary>
#include <array>
#include <utility>

namespace velandri {

namespace {

constexpr size_t kReasonBytes = 1024;

}  // namespace

ModuleSignatureVerifier::ModuleSignatureVerifier(QString modulePath, QByteArray publicKey)
    : modulePath_(std::move(modulePath)), publicKey_(std::move(publicKey)) {}

Result<> ModuleSignatureVerifier::verify(const QByteArray& data, const QByteArray& signature) {
    // Left loaded, as the zip module is: an update is a once-per-run event.
    QLibrary module(modulePath_);
    const auto verifySignature =
        reinterpret_cast<VelandriVerifySignature>(module.resolve("velandriVerifySignature"));
    if (!verifySignature) return Failure{module.errorString()};
    std::array<char, kReasonBytes> reason{};
    if (!verifySignature(data.constData(), size_t(data.size()), signature.constData(),
                         size_t(signature.size()), publicKey_.constData(), reason.data(),
                         reason.size()))
        return Failure{QString::fromUtf8(reason.data())};
    return {};
}

}  // namespace velandri
