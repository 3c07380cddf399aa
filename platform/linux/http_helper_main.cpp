// velandri-http: one GET with libcurl for the program, which itself never loads libcurl and the
// TLS, Kerberos and LDAP libraries that come with it. See http_helper_protocol.h.
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "platform/linux/curl_http.h"
#include "platform/linux/http_helper_protocol.h"

using namespace velandri;

namespace {

// A request is eight short lines; more is not the program talking.
constexpr qsizetype kMaxRequestBytes = 64 * 1024;

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

// Everything up to the end of the input, which the program closes after its request.
QByteArray readRequest() {
    QByteArray text;
    char chunk[4096];
    while (text.size() <= kMaxRequestBytes) {
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        text.append(chunk, got);
    }
    return text;
}

Result<HttpResponse> perform(const HelperRequest& request) {
    CurlHttpClient http(request.limits);
    if (request.mode == HelperMode::Page) return http.get(request.url);
    return http.download(request.url, [](qint64 received, qint64 total) {
        writeAll(progressRecord(received, total));
    });
}

}  // namespace

int main(int, char* argv[]) {
    // The program may start the helper ahead of its request: libcurl and its TLS library get
    // ready meanwhile.
    CurlHttpClient::initialiseLibrary();
    const QByteArray text = readRequest();
    if (text.isEmpty()) return 0;  // no request after all
    const std::optional<HelperRequest> request = parseRequestText(text);
    if (!request) {
        std::fprintf(stderr, "%s: the request on standard input is not readable\n", argv[0]);
        return 2;
    }
    return writeAll(answerRecord(perform(*request))) ? 0 : 1;
}
