#include <gtest/gtest.h>

#include <string>

#include "download_file.h"
#include "split_url.h"

namespace {

struct SplitRow {
    const char* url;
    const char* host;
    const char* path;
    int port;
};

const SplitRow kSplits[] = {
    {"http://example.com/upgrade/info?data=abc", "example.com", "/upgrade/info?data=abc", 80},
    {"https://example.com/a", "example.com", "/a", 443},
    {"http://example.com:8080/a", "example.com", "/a", 8080},
    {"https://example.com:8443/a", "example.com", "/a", 8443},
    {"http://example.com:443/a", "example.com", "/a", 443},
    {"example.com/a/b", "example.com", "/a/b", 80},
    {"http://example.com", "example.com", "<unchanged>", 80},
    {"http://127.0.0.1:5/x", "127.0.0.1", "/x", 5},
    {"http://h:abc/x", "h", "/x", 0},
    {"", "", "<unchanged>", 80},
    // Ports beyond 32 bits saturate rather than wrap round to 443.
    {"http://h:4294967739/x", "h", "/x", 2147483647},
    {"http://h:-4294966853/x", "h", "/x", -2147483647 - 1},
    {"http://h:99999999999999999999999/x", "h", "/x", 2147483647},
};

TEST(SplitUrl, Table)
{
    for (const SplitRow& row : kSplits) {
        std::string host = "<unchanged>", path = "<unchanged>";
        int port = -1;
        SplitUrl(row.url, host, path, port);
        EXPECT_EQ(host, row.host) << row.url;
        EXPECT_EQ(path, row.path) << row.url;
        EXPECT_EQ(port, row.port) << row.url;
    }
}

TEST(SplitUrl, TlsByPortOrScheme)
{
    EXPECT_FALSE(UrlWantsTls("http://example.com/a"));
    EXPECT_FALSE(UrlWantsTls("http://example.com:8080/a"));
    EXPECT_TRUE(UrlWantsTls("http://example.com:443/a"));
    EXPECT_TRUE(UrlWantsTls("https://example.com/a"));
    EXPECT_TRUE(UrlWantsTls("https://example.com:8443/a"));
    EXPECT_FALSE(UrlWantsTls("http://example.com:4294967739/a"));
}

TEST(DownloadPercent, TruncatesTowardZero)
{
    EXPECT_EQ(DownloadPercent(1024, 1000000), 0);
    EXPECT_EQ(DownloadPercent(10240, 1000000), 1);
    EXPECT_EQ(DownloadPercent(999999, 1000000), 99);
    EXPECT_EQ(DownloadPercent(1000000, 1000000), 100);
    EXPECT_EQ(DownloadPercent(1000, 1000), 100);
}

} // namespace
