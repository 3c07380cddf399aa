#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>

#include "platform/http.h"
#include "platform/linux/http_limits.h"
#include "platform/signature.h"
#include "platform/zip.h"

namespace velandri {

// Where libcurl, libarchive and libsodium run: linked in, or as the program has them, in the
// HTTP helper and the modules beside it.
enum class Libraries { LinkedIn, HelperAndModule };
inline const auto kBothLibraries = testing::Values(Libraries::LinkedIn, Libraries::HelperAndModule);
std::string librariesName(const testing::TestParamInfo<Libraries>& info);

std::unique_ptr<HttpClient> makeHttpClient(Libraries where, HttpLimits limits = {});
std::unique_ptr<ZipExtractor> makeZipExtractor(Libraries where, ExtractionLimits limits = {});
// What the program would hold with publicKey built in.
std::unique_ptr<SignatureVerifier> makeSignatureVerifier(Libraries where,
                                                         const QByteArray& publicKey);

HttpLimits cappedAt(qint64 maxBodyBytes);

// A minisign key pair made by the minisign tool, without a password.
struct SigningKey {
    QString secretFile;
    QByteArray publicKey;  // the base64 line of its minisign.pub
};
// The maker's key and another one, each made once for the whole test program.
const SigningKey& makerKey();
const SigningKey& strangerKey();

enum class SignatureForm { Prehashed, Legacy };

// What the maker's release of 1.7 carries as its trusted comment.
inline const QString kReleaseComment = QStringLiteral("version:1.7 file:Pelkamo.zip");

// The .minisig file that `minisign -S` (-l for the legacy form) makes for bytes, with that
// trusted comment; with none given, minisign writes its own (time stamp and file name).
QByteArray signedBy(const SigningKey& key, const QByteArray& bytes,
                    SignatureForm form = SignatureForm::Prehashed,
                    const std::optional<QString>& trustedComment = kReleaseComment);

}  // namespace velandri
