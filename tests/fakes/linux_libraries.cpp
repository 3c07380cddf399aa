#include "fakes/linux_libraries.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <stdexcept>

#include "platform/linux/archive_zip.h"
#include "platform/linux/curl_http.h"
#include "platform/linux/helper_http.h"
#include "platform/linux/minisign_verifier.h"
#include "platform/linux/module_signature.h"
#include "platform/linux/module_zip.h"

namespace velandri {

std::string librariesName(const testing::TestParamInfo<Libraries>& info) {
    return info.param == Libraries::LinkedIn ? "LinkedIn" : "HelperAndModule";
}

std::unique_ptr<HttpClient> makeHttpClient(Libraries where, HttpLimits limits) {
    if (where == Libraries::LinkedIn) return std::make_unique<CurlHttpClient>(limits);
    auto http = std::make_unique<HelperHttpClient>(QStringLiteral(VELANDRI_HTTP_HELPER), limits);
    http->startAhead();  // as the program has it
    return http;
}

std::unique_ptr<ZipExtractor> makeZipExtractor(Libraries where, ExtractionLimits limits) {
    if (where == Libraries::LinkedIn) return std::make_unique<ArchiveZipExtractor>(limits);
    return std::make_unique<ModuleZipExtractor>(QStringLiteral(VELANDRI_ZIP_MODULE), limits);
}

std::unique_ptr<SignatureVerifier> makeSignatureVerifier(Libraries where,
                                                         const QByteArray& publicKey) {
    if (where == Libraries::LinkedIn) return std::make_unique<MinisignVerifier>(publicKey);
    return std::make_unique<ModuleSignatureVerifier>(QStringLiteral(VELANDRI_SIGNATURE_MODULE),
                                                     publicKey);
}

HttpLimits cappedAt(qint64 maxBodyBytes) {
    HttpLimits limits;
    limits.maxBodyBytes = maxBodyBytes;
    return limits;
}

namespace {

void runMinisign(const QStringList& arguments) {
    QProcess minisign;
    minisign.start(QStringLiteral("minisign"), arguments);
    minisign.closeWriteChannel();
    if (!minisign.waitForFinished(10'000) || minisign.exitCode() != 0)
        throw std::runtime_error("minisign failed: " +
                                 minisign.readAllStandardError().toStdString());
}

SigningKey makeKey(const QString& folder) {
    QDir().mkpath(folder);
    const QString publicFile = folder + QStringLiteral("/minisign.pub");
    const QString secretFile = folder + QStringLiteral("/minisign.key");
    runMinisign({"-G", "-W", "-p", publicFile, "-s", secretFile});
    QFile file(publicFile);
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("no minisign.pub");
    return SigningKey{secretFile, file.readAll().split('\n').value(1)};
}

QTemporaryDir& keyFolder() {
    static QTemporaryDir folder;
    return folder;
}

}  // namespace

const SigningKey& makerKey() {
    static const SigningKey key = makeKey(keyFolder().filePath(QStringLiteral("maker")));
    return key;
}

const SigningKey& strangerKey() {
    static const SigningKey key = makeKey(keyFolder().filePath(QStringLiteral("stranger")));
    return key;
}

QByteArray signedBy(const SigningKey& key, const QByteArray& bytes, SignatureForm form,
                    const std::optional<QString>& trustedComment) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("Pelkamo.zip"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write the file to sign");
    out.close();
    QStringList arguments = {"-S", "-s", key.secretFile, "-m", file};
    if (form == SignatureForm::Legacy) arguments << "-l";
    if (trustedComment) arguments << "-t" << *trustedComment;
    runMinisign(arguments);
    QFile signature(file + QStringLiteral(".minisig"));
    if (!signature.open(QIODevice::ReadOnly)) throw std::runtime_error("no signature");
    return signature.readAll();
}

}  // namespace velandri
