#include "platform/linux/minisign_verifier.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "fakes/linux_libraries.h"
#include "platform/linux/module_signature.h"

using namespace velandri;

namespace {

class MinisignVerifierTest : public testing::TestWithParam<Libraries> {
protected:
    const SigningKey& maker = makerKey();
    const SigningKey& stranger = strangerKey();
};

// The maker's signature over exactly the bytes, in either of minisign's forms, and nothing else.
TEST_P(MinisignVerifierTest, OnlyTheMakersSignatureOverExactlyTheBytesIsValid) {
    const QByteArray bytes("PK\x03\x04 an update archive");
    const std::unique_ptr<SignatureVerifier> verifier =
        makeSignatureVerifier(GetParam(), maker.publicKey);
    for (const SignatureForm form : {SignatureForm::Prehashed, SignatureForm::Legacy}) {
        SCOPED_TRACE(form == SignatureForm::Prehashed ? "prehashed" : "legacy");
        const Result<QByteArray> verified = verifier->verify(bytes, signedBy(maker, bytes, form));
        ASSERT_TRUE(verified) << verified.error().detail.toStdString();
        EXPECT_EQ(verified.value(), kReleaseComment.toUtf8());
    }

    QByteArray tampered = bytes;
    tampered[tampered.size() / 2] = char(tampered[tampered.size() / 2] ^ 1);
    const std::unique_ptr<SignatureVerifier> noKey = makeSignatureVerifier(GetParam(), {});
    struct Case {
        const char* name;
        QByteArray bytes;
        QByteArray signature;
        SignatureVerifier* builtIn;
    };
    const Case refused[] = {
        {"tampered by one byte", tampered, signedBy(maker, bytes), verifier.get()},
        {"signed with another key", bytes, signedBy(stranger, bytes), verifier.get()},
        {"no key built in", bytes, signedBy(maker, bytes), noKey.get()},
        {"not a signature", bytes, "untrusted comment: x\nRWQ=\ntrusted comment: y\nRWQ=\n",
         verifier.get()},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.builtIn->verify(c.bytes, c.signature));
    }
}

TEST(ModuleSignatureVerifier, WithoutItsModuleVerifiesNothing) {
    QTemporaryDir folder;
    ModuleSignatureVerifier verifier(folder.filePath("modules/velandri-signature.so"),
                                     "RWStw/3zSTlTnYu5HyGJ/SNjHHGILgg6eAmwxkGerMRyUNdToqXRAbN8");
    const Result<QByteArray> verified = verifier.verify("x", "y");
    ASSERT_FALSE(verified);
    EXPECT_TRUE(verified.error().detail.contains("velandri-signature.so"))
        << verified.error().detail.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Libraries, MinisignVerifierTest, kBothLibraries, librariesName);

}  // namespace
