#include "platform/linux/minisign_verifier.h"

#include <sodium.h>

#include <QList>
#include <optional>
#include <utility>

namespace velandri {

namespace {

// minisign's layouts: a public key is the algorithm, the key's id and the Ed25519 key; a
// signature the algorithm, the signing key's id and the Ed25519 signature.
constexpr qsizetype kAlgorithmBytes = 2;
constexpr qsizetype kKeyIdBytes = 8;
constexpr qsizetype kPublicKeyBytes = kAlgorithmBytes + kKeyIdBytes + crypto_sign_PUBLICKEYBYTES;
constexpr qsizetype kSignatureBytes = kAlgorithmBytes + kKeyIdBytes + crypto_sign_BYTES;
const QByteArray kKeyAlgorithm = QByteArrayLiteral("Ed");
const QByteArray kLegacyAlgorithm = QByteArrayLiteral("Ed");     // over the file itself
const QByteArray kPrehashedAlgorithm = QByteArrayLiteral("ED");  // over its BLAKE2b-512 hash
const QByteArray kUntrustedPrefix = QByteArrayLiteral("untrusted comment: ");
const QByteArray kTrustedPrefix = QByteArrayLiteral("trusted comment: ");

std::optional<QByteArray> fromBase64(const QByteArray& text, qsizetype expectedBytes) {
    const QByteArray::FromBase64Result decoded =
        QByteArray::fromBase64Encoding(text, QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != expectedBytes) return std::nullopt;
    return decoded.decoded;
}

struct PublicKey {
    QByteArray keyId;
    QByteArray key;
};

std::optional<PublicKey> parsePublicKey(const QByteArray& line) {
    const std::optional<QByteArray> bytes = fromBase64(line.trimmed(), kPublicKeyBytes);
    if (!bytes || !bytes->startsWith(kKeyAlgorithm)) return std::nullopt;
    return PublicKey{bytes->mid(kAlgorithmBytes, kKeyIdBytes),
                     bytes->mid(kAlgorithmBytes + kKeyIdBytes)};
}

bool signatureHolds(const QByteArray& signature, const QByteArray& message, const QByteArray& key) {
    return crypto_sign_verify_detached(
               reinterpret_cast<const unsigned char*>(signature.constData()),
               reinterpret_cast<const unsigned char*>(message.constData()),
               static_cast<unsigned long long>(message.size()),
               reinterpret_cast<const unsigned char*>(key.constData())) == 0;
}

QByteArray blake2b512(const QByteArray& data) {
    QByteArray hash(crypto_generichash_BYTES_MAX, '\0');
    crypto_generichash(reinterpret_cast<unsigned char*>(hash.data()), size_t(hash.size()),
                       reinterpret_cast<const unsigned char*>(data.constData()),
                       static_cast<unsigned long long>(data.size()), nullptr, 0);
    return hash;
}

}  // namespace

std::optional<MinisignSignature> parseMinisignSignature(const QByteArray& text) {
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() < 4) return std::nullopt;
    for (QByteArray& line : lines)
        while (line.endsWith('\r')) line.chop(1);
    if (!lines[0].startsWith(kUntrustedPrefix) || !lines[2].startsWith(kTrustedPrefix))
        return std::nullopt;
    const std::optional<QByteArray> bytes = fromBase64(lines[1], kSignatureBytes);
    const std::optional<QByteArray> global = fromBase64(lines[3], crypto_sign_BYTES);
    if (!bytes || !global) return std::nullopt;
    const QByteArray algorithm = bytes->left(kAlgorithmBytes);
    if (algorithm != kLegacyAlgorithm && algorithm != kPrehashedAlgorithm) return std::nullopt;
    return MinisignSignature{
        algorithm == kPrehashedAlgorithm, bytes->mid(kAlgorithmBytes, kKeyIdBytes),
        bytes->mid(kAlgorithmBytes + kKeyIdBytes), lines[2].mid(kTrustedPrefix.size()), *global};
}

MinisignVerifier::MinisignVerifier(QByteArray publicKey) : publicKey_(std::move(publicKey)) {}

Result<QByteArray> MinisignVerifier::verify(const QByteArray& data,
                                            const QByteArray& signatureText) {
    if (publicKey_.trimmed().isEmpty())
        return Failure{FailureKind::signatureNotValid,
                       QStringLiteral("no public key for updates is built in")};
    const std::optional<PublicKey> key = parsePublicKey(publicKey_);
    if (!key)
        return Failure{FailureKind::signatureNotValid,
                       QStringLiteral("the built-in public key is not a minisign key")};
    if (sodium_init() < 0)
        return Failure{FailureKind::signatureNotValid, QStringLiteral("libsodium could not start")};
    const std::optional<MinisignSignature> signature = parseMinisignSignature(signatureText);
    if (!signature)
        return Failure{FailureKind::signatureNotValid,
                       QStringLiteral("the signature file is not readable")};
    if (signature->keyId != key->keyId)
        return Failure{FailureKind::signatureNotValid,
                       QStringLiteral("the signature was made with another key")};
    const QByteArray message = signature->prehashed ? blake2b512(data) : data;
    if (!signatureHolds(signature->signature, message, key->key))
        return Failure{FailureKind::signatureNotValid,
                       QStringLiteral("the signature does not match the archive")};
    if (!signatureHolds(signature->globalSignature,
                        signature->signature + signature->trustedComment, key->key))
        return Failure{FailureKind::signatureNotValid,
                       QStringLiteral("the signature of the trusted comment does not match")};
    return signature->trustedComment;
}

}  // namespace velandri
