// velandri-http: one GET with libcurl for the program, which itself never loads libcurl and the
// TLS, Kerberos and LDAP libraries that come with it. See http_helper_protocol.h. Free of Qt:
// the program starts it at its own start, and what the helper loads competes with it for the CPU.
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/linux/curl_transfer.h"
#include "platform/linux/http_helper_protocol.h"

using namespace velandri;

namespace {

// A request is nine short lines; more is not the program talking.
constexpr size_t kMaxRequestBytes = 64 * 1024;

// A failed write means the program has gone; there is nobody left to tell.
bool writeAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(STDOUT_FILENO, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        bytes.remove_prefix(size_t(written));
    }
    return true;
}

// Everything up to the end of the input, which the program closes after its request.
std::string readRequest() {
    std::string text;
    char chunk[4096];
    while (text.size() <= kMaxRequestBytes) {
        const ssize_t got = read(STDIN_FILENO, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        text.append(chunk, size_t(got));
    }
    return text;
}

CurlAnswer perform(const HelperRequest& request) {
    if (request.mode == HelperMode::Page) return curlGetPage(request.url, request.limits);
    // A progress record that cannot be written means the program has gone: the transfer stops.
    return curlDownload(request.url, request.limits, [](std::int64_t received, std::int64_t total) {
        return writeAll(progressRecord(received, total));
    });
}

bool writeAnswer(const CurlAnswer& answer) {
    if (!answer) return writeAll(errorLine(answer.error().size())) && writeAll(answer.error());
    const CurlResponse& response = answer.value();
    return writeAll(responseLine(response.status, response.headers.size(), response.body.size())) &&
           writeAll(response.headers) && writeAll(response.body);
}

}  // namespace

int main(int, char* argv[]) {
    // The program may start the helper ahead of its request: libcurl and its TLS library get
    // ready meanwhile.
    initialiseCurl();
    const std::string text = readRequest();
    if (text.empty()) return 0;  // no request after all
    const std::optional<HelperRequest> request = parseRequestText(text);
    if (!request) {
        std::fprintf(stderr, "%s: the request on standard input is not readable\n", argv[0]);
        return 2;
    }
    return writeAnswer(perform(*request)) ? 0 : 1;
}
