// The HTTP client against Python's web server: statuses, redirects, the
// last address, the body cap, the read time-out and the proxy.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "TestServers.h"
#include "publish/HttpClient.h"
#include "support/TestFolder.h"

namespace lumetra::test {
namespace {

namespace fs = std::filesystem;
using namespace publish;
using namespace std::chrono_literals;

class HttpClientTest : public ::testing::Test {
  protected:
    TestFolder dir;
    std::unique_ptr<PyServers> servers;
    HttpClient client;

    void SetUp() override {
        fs::create_directories(dir / "web/a");
        std::ofstream(dir / "web/a/page.html") << "hello";
        std::ofstream(dir / "web/big.bin") << std::string(100000, 'b');
        servers = std::make_unique<PyServers>(
            dir / "servers",
            std::vector<std::string>{"--root", (dir / "web").string(), "--http", "--proxy",
                                     "--http-redirect", "/old=/a/page.html", "--http-redirect",
                                     "/loop=/loop", "--http-redirect", "/ftp=ftp://127.0.0.1/",
                                     "--http-status", "/closed=403"});
    }
    std::string at(const std::string& path) const {
        return "http://127.0.0.1:" + std::to_string(servers->httpPort) + path;
    }
    HttpResponse get(const std::string& url,
                     HttpRequest::Method method = HttpRequest::Method::Get) {
        HttpRequest request;
        request.url = url;
        request.method = method;
        request.timeout = 5000ms;
        return client.perform(request);
    }
};

TEST_F(HttpClientTest, StatusesRedirectsAndTheLastAddress) {
    struct Case {
        const char* path;
        HttpRequest::Method method;
        bool transferred;
        long status;
        std::string body;
        std::string last;
    } cases[] = {
        {"/a/page.html", HttpRequest::Method::Get, true, 200, "hello", "/a/page.html"},
        {"/a/page.html", HttpRequest::Method::Head, true, 200, "", "/a/page.html"},
        {"/old", HttpRequest::Method::Get, true, 200, "hello", "/a/page.html"},
        {"/old", HttpRequest::Method::Head, true, 200, "", "/a/page.html"},
        {"/missing", HttpRequest::Method::Get, true, 404, "", "/missing"},
        {"/closed", HttpRequest::Method::Head, true, 403, "", "/closed"},
        {"/loop", HttpRequest::Method::Get, false, 302, "", "/loop"},
        // Redirects lead to web addresses only.
        {"/ftp", HttpRequest::Method::Get, false, 302, "", "ftp://127.0.0.1/"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const HttpResponse r = get(at(c.path), c.method);
        EXPECT_EQ(r.transferred, c.transferred) << r.error;
        EXPECT_EQ(r.status, c.status);
        if (c.status == 200) {
            EXPECT_EQ(r.body, c.body);
        }
        EXPECT_EQ(r.lastUrl, c.last.front() == '/' ? at(c.last) : c.last);
    }
    const auto parts = SplitUrl(at("/a/page.html?x=1#top"));
    ASSERT_TRUE(parts);
    EXPECT_EQ(parts->scheme, "http");
    EXPECT_EQ(parts->host, "127.0.0.1");
    EXPECT_EQ(parts->port, servers->httpPort);
    EXPECT_EQ(parts->path, "/a/page.html");
    EXPECT_EQ(parts->query, "x=1");
    EXPECT_EQ(SplitUrl("https://example.org")->port, 443);
    EXPECT_EQ(SplitUrl("https://example.org")->path, "/");
    EXPECT_FALSE(SplitUrl("not an address"));
}

TEST_F(HttpClientTest, BodiesAreCapped) {
    HttpRequest request;
    request.url = at("/big.bin");
    request.maxBody = 50000;
    const HttpResponse capped = client.perform(request);
    EXPECT_FALSE(capped.transferred);
    EXPECT_TRUE(capped.body.empty());
    EXPECT_NE(capped.error.find("50000"), std::string::npos) << capped.error;
    request.maxBody = 100000;
    EXPECT_EQ(client.perform(request).body.size(), 100000u);
}

TEST_F(HttpClientTest, ReadTimeOut) {
    // Accepted by the system, never answered.
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    listen(fd, 4);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    HttpRequest request;
    request.url = "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)) + "/";
    request.timeout = 700ms;
    const auto start = std::chrono::steady_clock::now();
    const HttpResponse r = client.perform(request);
    const auto took = std::chrono::steady_clock::now() - start;
    close(fd);
    EXPECT_FALSE(r.transferred);
    EXPECT_EQ(r.status, 0);
    EXPECT_GE(took, 600ms);
    EXPECT_LT(took, 3s);
}

TEST_F(HttpClientTest, ProxyOnlyWhenAsked) {
    const std::string proxy = "http://127.0.0.1:" + std::to_string(servers->proxyPort);
    setenv("http_proxy", proxy.c_str(), 1);
    setenv("HTTPS_PROXY", proxy.c_str(), 1);
    const HttpResponse direct = get(at("/a/page.html"));
    EXPECT_EQ(direct.body, "hello");
    HttpRequest request;
    request.url = "http://www.example.invalid/version.dat";
    request.proxy = ProxySettings{"127.0.0.1", servers->proxyPort, "user", "pass word"};
    const HttpResponse proxied = client.perform(request);
    EXPECT_EQ(proxied.status, 200) << proxied.error;
    // Basic user:pass word
    EXPECT_EQ(proxied.body,
              "proxied http://www.example.invalid/version.dat Basic dXNlcjpwYXNzIHdvcmQ=");
    unsetenv("http_proxy");
    unsetenv("HTTPS_PROXY");
}

}  // namespace
}  // namespace lumetra::test
