// velandri-http: one GET with libcurl for the program, which itself never loads libcurl and the
// TLS, Kerberos and LDAP libraries that come with it. See http_helper_protocol.h.
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/linux/curl_http.h"
#include "platform/linux/http_helper_protocol.h"

namespace {

// A failed write means the program has gone; there is nobody left to tell.
bool writeAll(const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = write(STDOUT_FILENO, data, size_t(left));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        left -= written;
    }
    return true;
}

QStringList argumentList(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 1; i < argc; ++i) arguments << QString::fromUtf8(argv[i]);
    return arguments;
}

HttpResponse perform(const HelperRequest& request) {
    CurlHttpClient http(request.limits);
    if (request.mode == HelperMode::Page) return http.get(request.url);
    return http.download(request.url, [](qint64 received, qint64 total) {
        writeAll(progressRecord(received, total));
    });
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::optional<HelperRequest> request = parseHelperArguments(argumentList(argc, argv));
    if (!request) {
        std::fputs(
            "usage: velandri-http page|download URL CONNECT_MS PAGE_MS LOW_SPEED_BPS "
            "LOW_SPEED_S DOWNLOAD_MS MAX_BODY_BYTES\n",
            stderr);
        return 2;
    }
    return writeAll(answerRecord(perform(*request))) ? 0 : 1;
}
