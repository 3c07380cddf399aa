// Any text served as Pelkamo.zip.minisig: the parser keeps minisign's layout or refuses the text,
// the check passes only the signatures the seed corpus holds (made by `minisign -S` with the key
// below over kSignedData), and the trusted comment is judged without fault whatever it holds.
#include <cstdint>
#include <cstdlib>

#include "platform/linux/minisign_verifier.h"
#include "update/release_comment.h"

using namespace velandri;

namespace {

const QByteArray kPublicKey = "RWRl45JR7CfloWzCyOwAVivPJrP5vsfyFKTxGh7tkaQETnuD6bOHuQ/D";
const QByteArray kSignedData = "velandri fuzz";

bool keepsTheLayout(const MinisignSignature& signature) {
    return signature.keyId.size() == 8 && signature.signature.size() == 64 &&
           signature.globalSignature.size() == 64 && !signature.trustedComment.contains('\n');
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray text(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<MinisignSignature> parsed = parseMinisignSignature(text);
    if (parsed && !keepsTheLayout(*parsed)) std::abort();

    MinisignVerifier verifier(kPublicKey);
    const Result<QByteArray> verified = verifier.verify(kSignedData, text);
    if (verified && (!parsed || verified.value() != parsed->trustedComment)) std::abort();
    if (!verified) return 0;

    const Result<> release =
        checkReleaseComment(verified.value(), QStringLiteral("1.7"), QStringLiteral("1.6"));
    if (release && !verified.value().contains("file:Pelkamo.zip")) std::abort();
    return 0;
}
