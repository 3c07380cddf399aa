#include "platform/linux/curl_http.h"

#include <gtest/gtest.h>

#include "fakes/linux_libraries.h"
#include "fakes/site_server.h"
#include "platform/linux/curl_transfer.h"

using namespace velandri;

namespace {

class CurlHttpTest : public testing::TestWithParam<Libraries> {
protected:
    TestSite site;
    const std::unique_ptr<HttpClient> http = makeHttpClient(GetParam(), cappedAt(1024));
};

// A stated length is refused by libcurl before the body comes, a body in pieces by the client
// as it grows: each with its own reason.
TEST_P(CurlHttpTest, OversizedBodyIsRefusedWithItsReason) {
    const std::pair<bool, QString> cases[] = {{false, QStringLiteral("Maximum file size")},
                                              {true, QStringLiteral("body larger than the limit")}};
    for (const auto& [chunked, reason] : cases) {
        SCOPED_TRACE(chunked ? "sent in pieces" : "sent with its length");
        site.put("/large", {QByteArray(4096, 'z'), "application/zip", chunked});
        const Result<HttpResponse> refused = http->download(site.baseUrl() + "large", {});
        ASSERT_FALSE(refused.has_value());
        EXPECT_TRUE(refused.error().detail.contains(reason))
            << refused.error().detail.toStdString();
    }
}

TEST_P(CurlHttpTest, KeepsBodyUpToItsCapAndHeadersOfLastResponse) {
    site.put("/limit", {QByteArray(1024, 'z'), "text/plain", true});
    site.put("/moved", {{}, "application/zip", false, "/limit"});
    const Result<HttpResponse> result = http->get(site.baseUrl() + "moved");
    ASSERT_TRUE(result.has_value()) << result.error().detail.toStdString();
    const HttpResponse& response = result.value();
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, QByteArray(1024, 'z'));
    EXPECT_TRUE(response.headers.startsWith("HTTP/1.1 200"));
    EXPECT_FALSE(response.headers.contains("/zip"));

    // A redirect is followed to http and https only (mayRedirect, below, decides).
    site.put("/elsewhere", {{}, "text/html", false, "ftp://127.0.0.1/SoftVer.html"});
    const Result<HttpResponse> refused = http->get(site.baseUrl() + "elsewhere");
    ASSERT_FALSE(refused.has_value());
    EXPECT_TRUE(refused.error().detail.contains("from http to ftp is not followed"))
        << refused.error().detail.toStdString();
}

TEST(Redirects, GoToHttpOrHttpsAndNeverFromHttpsToHttp) {
    EXPECT_TRUE(mayRedirect("http://a/", "http://b/"));
    EXPECT_TRUE(mayRedirect("http://a/", "https://b/"));
    EXPECT_TRUE(mayRedirect("https://a/", "HTTPS://b/"));
    EXPECT_FALSE(mayRedirect("https://a/", "http://b/"));
    EXPECT_FALSE(mayRedirect("HTTPS://a/", "Http://b/"));
    EXPECT_FALSE(mayRedirect("http://a/", "ftp://b/"));
    EXPECT_FALSE(mayRedirect("http://a/", "file:///etc/passwd"));
}

INSTANTIATE_TEST_SUITE_P(Libraries, CurlHttpTest, kBothLibraries, librariesName);

}  // namespace
