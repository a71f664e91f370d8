// The fetch on a worker: its answer arrives once, on the worker, as the same
// request on the calling thread would give it; stopping or destroying it
// ends a request that would otherwise wait for ever, and a client that
// throws gives a failed answer instead of ending the program.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <thread>

#include "TestServers.h"
#include "support/TestFolder.h"
#include "update/BackgroundFetch.h"

namespace lumetra::test {
namespace {

namespace fs = std::filesystem;
using namespace update;
using namespace std::chrono_literals;

// Collects the one answer of a fetch.
struct Answer {
    std::mutex mutex;
    std::condition_variable arrived;
    std::optional<publish::HttpResponse> response;
    std::thread::id thread;
    int calls = 0;

    BackgroundFetch::Done sink() {
        return [this](publish::HttpResponse r) {
            std::lock_guard lock(mutex);
            response = std::move(r);
            thread = std::this_thread::get_id();
            ++calls;
            arrived.notify_all();
        };
    }
    bool wait(std::chrono::milliseconds limit) {
        std::unique_lock lock(mutex);
        return arrived.wait_for(lock, limit, [this] { return response.has_value(); });
    }
};

class BackgroundFetchTest : public ::testing::Test {
  protected:
    TestFolder dir;
    std::unique_ptr<PyServers> servers;
    publish::HttpClient client;

    void SetUp() override {
        fs::create_directories(dir / "web");
        servers = std::make_unique<PyServers>(
            dir / "servers", std::vector<std::string>{"--root", (dir / "web").string()},
            "version_server.py");
    }
    publish::HttpRequest get(const std::string& path) const {
        publish::HttpRequest request;
        request.url = "http://127.0.0.1:" + std::to_string(servers->httpPort) + path;
        return request;
    }
};

TEST_F(BackgroundFetchTest, TheAnswerArrivesOnceOnTheWorker) {
    dir.write("web/version.dat", "3.4\r\n");
    Answer answer;
    {
        BackgroundFetch fetch(client, get("/version.dat"), answer.sink());
        ASSERT_TRUE(answer.wait(10s));
    }
    EXPECT_EQ(answer.calls, 1);
    EXPECT_NE(answer.thread, std::this_thread::get_id());
    ASSERT_TRUE(answer.response->transferred) << answer.response->error;
    EXPECT_EQ(answer.response->status, 200);
    EXPECT_EQ(answer.response->body, "3.4\r\n");
}

TEST_F(BackgroundFetchTest, StoppingOrDestroyingEndsARequestWithoutTimeOut) {
    for (const bool destroy : {false, true}) {
        SCOPED_TRACE(destroy ? "destroyed" : "stopped");
        Answer answer;
        auto fetch = std::make_unique<BackgroundFetch>(client, get("/silent"), answer.sink());
        std::this_thread::sleep_for(100ms);
        EXPECT_FALSE(answer.response);
        const auto start = std::chrono::steady_clock::now();
        if (destroy) {
            fetch.reset();
        } else {
            fetch->stop();
            ASSERT_TRUE(answer.wait(2s));
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
        ASSERT_TRUE(answer.response);
        EXPECT_FALSE(answer.response->transferred);
        EXPECT_EQ(answer.response->error, "stopped");
        EXPECT_EQ(answer.calls, 1);
    }
}

TEST_F(BackgroundFetchTest, AClientThatThrowsGivesAFailedAnswer) {
    struct Throwing : publish::HttpClient {
        publish::HttpResponse perform(const publish::HttpRequest&) override {
            throw std::runtime_error("out of handles");
        }
    } throwing;
    Answer answer;
    BackgroundFetch fetch(throwing, get("/version.dat"), answer.sink());
    ASSERT_TRUE(answer.wait(2s));
    EXPECT_FALSE(answer.response->transferred);
    EXPECT_EQ(answer.response->error, "out of handles");
}

}  // namespace
}  // namespace lumetra::test
