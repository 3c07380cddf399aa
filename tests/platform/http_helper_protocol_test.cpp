// The HTTP helper's wire format: the helper's Qt-free half and the program's reader must agree
// on every byte, and the helper must refuse a request the program would not have written.
#include "platform/linux/http_helper_protocol.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/linux/helper_output.h"

using namespace velandri;

namespace {

HelperRequest unusualRequest() {
    HelperRequest request;
    request.mode = HelperMode::Download;
    request.url = "https://例え.jp/a b?c=1";
    request.limits = {1, 2, 3, 4, 5, std::int64_t(5) << 32, 6};
    return request;
}

TEST(HttpHelperProtocolTest, RequestTextIsReadBackOrRefused) {
    const HelperRequest request = unusualRequest();
    const std::string text = requestText(request);
    const std::optional<HelperRequest> read = parseRequestText(text);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->mode, HelperMode::Download);
    EXPECT_EQ(read->url, request.url);
    EXPECT_EQ(read->limits.connectTimeoutMs, 1);
    EXPECT_EQ(read->limits.pageTimeoutMs, 2);
    EXPECT_EQ(read->limits.lowSpeedBytesPerSecond, 3);
    EXPECT_EQ(read->limits.lowSpeedSeconds, 4);
    EXPECT_EQ(read->limits.downloadTimeoutMs, 5);
    EXPECT_EQ(read->limits.maxBodyBytes, std::int64_t(5) << 32);
    EXPECT_EQ(read->limits.maxPageBytes, 6);

    HelperRequest broken = request;
    broken.url += "\nsecond line";
    EXPECT_EQ(requestText(broken), "");

    const char* const unreadable[] = {
        "",
        "page\nhttp://a/\n1\n2\n3\n4\n5\n6\n7",                       // no final line break
        "page\nhttp://a/\n1\n2\n3\n4\n5\n6\n",                        // a limit short
        "page\nhttp://a/\n1\n2\n3\n4\n5\n6\n7\n8\n",                  // a limit over
        "post\nhttp://a/\n1\n2\n3\n4\n5\n6\n7\n",                     // no such mode
        "page\nhttp://a/\n1\n2\n3\n4\n5\n6\n7x\n",                    // not only a number
        "page\nhttp://a/\n1\n2\n-3\n4\n5\n6\n7\n",                    // negative
        "page\nhttp://a/\n1\n2\n\n4\n5\n6\n7\n",                      // empty
        "page\nhttp://a/\n1\n2\n3\n4\n5\n6\n99999999999999999999\n",  // beyond 64 bits
    };
    for (const char* text : unreadable) {
        SCOPED_TRACE(text);
        EXPECT_FALSE(parseRequestText(text).has_value());
    }
}

// The helper writes its records in pieces; the program may read them in any cut.
TEST(HttpHelperProtocolTest, RecordsWrittenByTheHelperAreReadWhole) {
    const std::string headers = "HTTP/1.1 200 OK\r\nContent-Length: 4\r\n\r\n";
    const std::string body("R 1\n\0x", 6);  // looks like a record, holds a NUL
    const std::string output = progressRecord(3, 6) + progressRecord(6, 6) +
                               responseLine(200, headers.size(), body.size()) + headers + body;
    for (const qsizetype cut : {qsizetype(1), qsizetype(7), qsizetype(output.size())}) {
        SCOPED_TRACE(cut);
        HelperOutput reader(6);
        std::vector<std::pair<qint64, qint64>> seen;
        const HttpProgress progress = [&seen](qint64 got, qint64 of) {
            seen.emplace_back(got, of);
            return true;
        };
        for (qsizetype at = 0; at < qsizetype(output.size()); at += cut) {
            const Result<> taken = reader.take(
                output.data() + at, std::min(cut, qsizetype(output.size()) - at), progress);
            ASSERT_TRUE(taken.has_value()) << taken.error().detail.toStdString();
        }
        ASSERT_TRUE(reader.complete());
        EXPECT_EQ(seen, (std::vector<std::pair<qint64, qint64>>{{3, 6}, {6, 6}}));
        const Result<HttpResponse> response = reader.response();
        ASSERT_TRUE(response.has_value());
        EXPECT_EQ(response.value().status, 200);
        EXPECT_EQ(response.value().headers.toStdString(), headers);
        EXPECT_EQ(response.value().body.toStdString(), body);
    }

    const std::string reason = "Could not resolve host: 例え.jp";
    const std::string error = errorLine(reason.size()) + reason;
    HelperOutput reader(6);
    ASSERT_TRUE(reader.take(error.data(), qsizetype(error.size()), {}).has_value());
    ASSERT_TRUE(reader.complete());
    const Result<HttpResponse> failed = reader.response();
    ASSERT_FALSE(failed.has_value());
    EXPECT_EQ(failed.error().detail, QString::fromUtf8("Could not resolve host: 例え.jp"));
}

}  // namespace
