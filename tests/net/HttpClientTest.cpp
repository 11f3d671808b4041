#include "net/HttpClient.h"

#include "net/CurlLibrary.h"
#include "net/WebProtocol.h"
#include "platform/Cp932.h"
#include "tests/TestSupport.h"
#include "tests/net/FakeService.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>
#include <stdexcept>

namespace {

class HttpClientTest : public ::testing::Test {
  protected:
    std::string Url(const std::string& document) const { return service.BaseUrl() + document; }

    FakeService service;
    HttpClient client;
    std::string body;
};

// Sets an environment variable for the scope.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// A listener on 127.0.0.1 whose backlog is full, so a further connection
// attempt is never answered.
class UnansweredListener {
  public:
    UnansweredListener() {
        socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        // A backlog of 0 holds one connection; the SYNs after it are dropped.
        if (::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
            ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0 ||
            ::listen(socket_, 0) != 0)
            throw std::runtime_error("cannot listen");
        port_ = ntohs(address.sin_port);
        for (int& filler : fillers_) {
            filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
            ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
        }
    }
    ~UnansweredListener() {
        for (int filler : fillers_)
            ::close(filler);
        ::close(socket_);
    }
    UnansweredListener(const UnansweredListener&) = delete;
    UnansweredListener& operator=(const UnansweredListener&) = delete;

    int Port() const { return port_; }

  private:
    int socket_ = -1;
    int port_ = 0;
    int fillers_[2] = {-1, -1};
};

} // namespace

TEST_F(HttpClientTest, SendsExactlyTheRequestLineAndHeadersOfTheService) {
    ASSERT_TRUE(client.Get(Url("cl_recv.asp?id=user1&access=0a1b&game=GFV3&mode=upd"), body));
    auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].head, "GET /svc/cl_recv.asp?id=user1&access=0a1b&game=GFV3&mode=upd HTTP/1.1\r\n"
                                "Host: " +
                                    service.HostPort() +
                                    "\r\n"
                                    "User-Agent: Mozilla/3.0 (compatible; Indy Library)\r\n"
                                    "Accept: text/html, */*\r\n"
                                    "\r\n");
}

TEST_F(HttpClientTest, UserAgentAndHostHeaderAreSettable) {
    client.SetUserAgent("VOTSRANEOS");
    client.SetHostHeader("updates.invalid");
    ASSERT_TRUE(client.Get(Url("cl_recv.asp"), body));
    auto request = service.Requests().at(0);
    EXPECT_EQ(request.Header("User-Agent"), "VOTSRANEOS");
    EXPECT_EQ(request.Header("Host"), "updates.invalid");
    EXPECT_EQ(request.head.find("Host:"), request.head.rfind("Host:")) << "one Host header only";
}

TEST_F(HttpClientTest, KeepsTheLastRepliesStatusCodeAndLine) {
    EXPECT_EQ(client.StatusCode(), -1);
    EXPECT_EQ(client.StatusLine(), "");
    service.QueueReply(FakeService::Closing());
    EXPECT_FALSE(client.Get(Url("cl_send.asp"), body));
    EXPECT_EQ(client.StatusCode(), -1);
    EXPECT_NE(client.ErrorText(), "");

    service.QueueReply(FakeService::Body("VOSTRANE.NET:0"));
    ASSERT_TRUE(client.Get(Url("cl_deluser.asp"), body));
    EXPECT_EQ(body, "VOSTRANE.NET:0");
    EXPECT_EQ(client.StatusCode(), 200);
    EXPECT_EQ(client.StatusLine(), "HTTP/1.1 200 OK");

    service.QueueReply(FakeService::CutShort("VOSTRANE.NET:0")); // short of its Content-Length
    EXPECT_FALSE(client.Get(Url("cl_send.asp"), body));
    EXPECT_EQ(client.StatusCode(), 200);

    service.QueueReply(FakeService::Status("HTTP/1.1 404 Not Found", "gone"));
    EXPECT_FALSE(client.Get(Url("cl_deluser.asp"), body));
    EXPECT_EQ(client.StatusCode(), 404);
    EXPECT_EQ(client.StatusLine(), "HTTP/1.1 404 Not Found");

    // No reply at all leaves the last reply's values.
    service.QueueReply(FakeService::Closing());
    EXPECT_FALSE(client.Get(Url("cl_deluser.asp"), body));
    EXPECT_EQ(client.StatusCode(), 404);
    EXPECT_EQ(client.StatusLine(), "HTTP/1.1 404 Not Found");
}

TEST_F(HttpClientTest, RedirectIsReportedAndNotFollowed) {
    std::vector<HttpNotice> notices;
    client.SetNotify([&](const HttpNotice& n) { notices.push_back(n); });
    service.QueueReply(FakeService::Redirect(Url("elsewhere.asp")));
    EXPECT_FALSE(client.Get(Url("cl_recv.asp"), body));
    EXPECT_EQ(client.StatusCode(), 302);
    EXPECT_EQ(service.Requests().size(), 1u);
    int redirects = 0;
    for (const HttpNotice& n : notices) {
        if (n.kind != HttpNotice::Kind::Redirect) continue;
        ++redirects;
        EXPECT_EQ(n.text, Url("elsewhere.asp"));
        EXPECT_EQ(n.count, 1);
    }
    EXPECT_EQ(redirects, 1);
}

TEST_F(HttpClientTest, CookiesStayWithTheClientThatReceivedThem) {
    FakeService::Reply withCookie = FakeService::Body("VOSTRANE.NET:0");
    withCookie.headers.push_back("Set-Cookie: session=abc123; path=/");
    service.QueueReply(withCookie);
    ASSERT_TRUE(client.Get(Url("cl_send.asp"), body));
    ASSERT_TRUE(client.Get(Url("cl_send.asp"), body));
    HttpClient other;
    ASSERT_TRUE(other.Get(Url("cl_send.asp"), body));

    auto requests = service.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_FALSE(requests[0].HasHeader("Cookie"));
    EXPECT_EQ(requests[1].Header("Cookie"), "session=abc123");
    EXPECT_FALSE(requests[2].HasHeader("Cookie"));
    EXPECT_NE(requests[0].connection, requests[1].connection); // one connection per request
}

TEST_F(HttpClientTest, ProxyFromTheEnvironmentIsIgnored) {
    ScopedEnv http("http_proxy", "http://127.0.0.1:1");
    ScopedEnv upper("HTTP_PROXY", "http://127.0.0.1:1");
    ScopedEnv all("ALL_PROXY", "http://127.0.0.1:1");
    EXPECT_TRUE(client.Get(Url("cl_send.asp"), body));
    EXPECT_EQ(service.Requests().size(), 1u);
}

TEST_F(HttpClientTest, NoCompressionIsAskedForOrUndone) {
    FakeService::Reply encoded = FakeService::Body("raw bytes");
    encoded.headers.push_back("Content-Encoding: gzip");
    service.QueueReply(encoded);
    ASSERT_TRUE(client.Get(Url("cl_recv.asp"), body));
    EXPECT_EQ(body, "raw bytes");
    EXPECT_FALSE(service.Requests().at(0).HasHeader("Accept-Encoding"));
}

TEST_F(HttpClientTest, OnlyPlainHttpIsSpoken) {
    TempDir dir;
    WriteFileBytes(dir.File("local.txt"), "local");
    EXPECT_FALSE(client.Get("file://" + dir.File("local.txt"), body));
    EXPECT_EQ(body, "");
    EXPECT_FALSE(client.Get("https://" + service.HostPort() + "/svc/cl_send.asp", body));
    EXPECT_FALSE(client.Get("ftp://" + service.HostPort() + "/svc/cl_send.asp", body));
    EXPECT_TRUE(service.Requests().empty());
}

TEST_F(HttpClientTest, AddressGoesOutAsComposedAndOneWithABlankIsRefused) {
    const std::string target = "/svc/./old/../cl_send.asp?id=a%2E&x=/../y";
    ASSERT_TRUE(client.Get("http://" + service.HostPort() + target, body));
    EXPECT_FALSE(client.Get(Url("cl_recv.asp?id=a b"), body));
    ASSERT_EQ(service.Requests().size(), 1u);
    EXPECT_EQ(service.Requests()[0].target, target);
}

TEST_F(HttpClientTest, BodyLimitAppliesWithAndWithoutContentLength) {
    client.SetBodyLimit(1000);
    service.QueueReply(FakeService::Body(std::string(1000, 'a')));
    EXPECT_TRUE(client.Get(Url("cl_recv.asp"), body));
    EXPECT_EQ(body.size(), 1000u);
    service.QueueReply(FakeService::Body(std::string(1001, 'a')));
    EXPECT_FALSE(client.Get(Url("cl_recv.asp"), body));
    service.QueueReply(FakeService::NoLength(std::string(1001, 'a')));
    EXPECT_FALSE(client.Get(Url("cl_recv.asp"), body));
    service.QueueReply(FakeService::NoLength(std::string(999, 'a')));
    EXPECT_TRUE(client.Get(Url("cl_recv.asp"), body));

    HttpClient fresh; // 16 MiB unless set
    service.QueueReply(FakeService::NoLength(std::string(16u * 1024 * 1024 + 1, 'a')));
    EXPECT_FALSE(fresh.Get(Url("cl_recv.asp"), body));
    EXPECT_LE(body.size(), HttpClient::kDefaultBodyLimit);
}

TEST_F(HttpClientTest, NoticesOfOneRequestFollowItsCourse) {
    std::vector<HttpNotice> notices;
    client.SetNotify([&](const HttpNotice& n) { notices.push_back(n); });
    ASSERT_TRUE(client.Get(Url("cl_send.asp"), body));

    using Kind = HttpNotice::Kind;
    auto first = [&](Kind kind, HttpWorkMode mode, HttpStatus status = HttpStatus::Resolving) {
        auto it = std::find_if(notices.begin(), notices.end(), [&](const HttpNotice& n) {
            return n.kind == kind && (kind == Kind::Status ? n.status == status : n.mode == mode);
        });
        return it - notices.begin();
    };
    const auto resolving = first(Kind::Status, {}, HttpStatus::Resolving);
    const auto statusLine = first(Kind::Status, {}, HttpStatus::Text);
    const std::ptrdiff_t course[] = {resolving,
                                     first(Kind::Status, {}, HttpStatus::Connecting),
                                     first(Kind::Connected, HttpWorkMode::Read),
                                     first(Kind::WorkBegin, HttpWorkMode::Write),
                                     statusLine,
                                     first(Kind::WorkEnd, HttpWorkMode::Read),
                                     first(Kind::Disconnected, HttpWorkMode::Read)};
    EXPECT_TRUE(std::is_sorted(std::begin(course), std::end(course)));
    ASSERT_LT(course[6], static_cast<std::ptrdiff_t>(notices.size()));
    EXPECT_LT(first(Kind::WorkBegin, HttpWorkMode::Read), course[5]);
    EXPECT_EQ(notices[static_cast<std::size_t>(statusLine)].text, "HTTP/1.1 200 OK");
    EXPECT_EQ(notices[static_cast<std::size_t>(resolving)].text, "Resolving hostname 127.0.0.1.");

    long long lastRead = -1;
    for (const HttpNotice& n : notices)
        if (n.kind == Kind::Work && n.mode == HttpWorkMode::Read) lastRead = n.count;
    EXPECT_EQ(lastRead, static_cast<long long>(body.size()));
}

TEST_F(HttpClientTest, NotifyThatThrowsEndsTheRequestWithItsException) {
    using Kind = HttpNotice::Kind;
    struct Row {
        const char* callback; // the libcurl callback the notice is raised in
        bool (*throwsOn)(const HttpNotice&);
    };
    const Row rows[] = {
        {"open socket",
         [](const HttpNotice& n) { return n.kind == Kind::Status && n.status == HttpStatus::Connecting; }},
        {"debug", [](const HttpNotice& n) { return n.kind == Kind::Connected; }},
        {"header",
         [](const HttpNotice& n) { return n.kind == Kind::Status && n.status == HttpStatus::Text; }},
        {"write", [](const HttpNotice& n) { return n.kind == Kind::Work && n.mode == HttpWorkMode::Read; }},
        {"close socket", [](const HttpNotice& n) { return n.kind == Kind::Disconnected; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.callback);
        bool thrown = false;
        int noticesAfter = 0;
        client.SetNotify([&](const HttpNotice& n) {
            if (thrown) {
                ++noticesAfter;
            } else if (row.throwsOn(n)) {
                thrown = true;
                throw std::runtime_error(row.callback);
            }
        });
        try {
            client.Get(Url("cl_send.asp"), body);
            ADD_FAILURE() << "no exception";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), row.callback);
        }
        EXPECT_EQ(noticesAfter, 0);

        client.SetNotify(nullptr);
        EXPECT_TRUE(client.Get(Url("cl_send.asp"), body));
        EXPECT_EQ(body, "VOSTRANE.NET:0");
    }
}

// Without any reply the message says why the request failed; a failure after
// a reply keeps that reply's status code and line.
TEST_F(HttpClientTest, FailureWithoutAReplySaysWhyInTheMessage) {
    // The real library but for the name lookup: a name that cannot resolve
    // would still be asked of the DNS server, which no test may contact.
    CurlLibrary cannotResolve = *Curl();
    cannotResolve.easy_perform = [](CURL*) { return CURLE_COULDNT_RESOLVE_HOST; };
    enum class Library { Real, Missing, CannotResolve };
    struct Row {
        const char* what;
        std::function<std::string(HttpClient&)> prepare; // returns the address
        HttpFailure failure;
        const char* message; // nullptr: "CODE:-1 MESSAGE:" and libcurl's error text
        Library library = Library::Real;
    };
    const std::string closed = "http://127.0.0.1:" + std::to_string(FakeService::UnusedPort()) + "/svc/";
    const UnansweredListener unanswered;
    const Row rows[] = {
        {"closed port", [&](HttpClient&) { return closed; }, HttpFailure::CannotConnect,
         "エラーが発生しました。CODE:-1 MESSAGE:サーバーに接続できません"},
        {"connect time-out",
         [&](HttpClient& c) {
             c.SetConnectTimeoutMs(300);
             return "http://127.0.0.1:" + std::to_string(unanswered.Port()) + "/svc/";
         },
         HttpFailure::CannotConnect, "エラーが発生しました。CODE:-1 MESSAGE:サーバーに接続できません"},
        {"silent host",
         [&](HttpClient& c) {
             c.SetStallTimeoutSeconds(1);
             service.QueueReply(FakeService::Silent());
             return Url("cl_send.asp");
         },
         HttpFailure::NoResponse, "エラーが発生しました。CODE:-1 MESSAGE:サーバーから応答がありません"},
        {"https", [&](HttpClient&) { return "HTTPS://" + service.HostPort() + "/svc/cl_send.asp"; },
         HttpFailure::HttpsAddress,
         "エラーが発生しました。CODE:-1 MESSAGE:https のアドレスには対応していません"},
        {"unknown host", [](HttpClient&) { return std::string("http://nowhere.invalid/svc/cl_send.asp"); },
         HttpFailure::UnknownHost, "エラーが発生しました。CODE:-1 MESSAGE:ホスト名を解決できません",
         Library::CannotResolve},
        {"no libcurl", [&](HttpClient&) { return Url("cl_send.asp"); }, HttpFailure::NoLibrary,
         "エラーが発生しました。CODE:-1 MESSAGE:通信ライブラリ libcurl を読み込めません", Library::Missing},
        {"closed without a reply",
         [&](HttpClient&) {
             service.QueueReply(FakeService::Closing());
             return Url("cl_send.asp");
         },
         HttpFailure::Other, nullptr},
        {"ftp", [&](HttpClient&) { return "ftp://" + service.HostPort() + "/svc/cl_send.asp"; },
         HttpFailure::Other, nullptr},
        {"error status",
         [&](HttpClient&) {
             service.QueueReply(FakeService::Status("HTTP/1.1 404 Not Found"));
             return Url("cl_send.asp");
         },
         HttpFailure::None, "エラーが発生しました。CODE:404 MESSAGE:HTTP/1.1 404 Not Found"},
        {"body over the limit",
         [&](HttpClient& c) {
             c.SetBodyLimit(10);
             service.QueueReply(FakeService::Body(std::string(11, 'a')));
             return Url("cl_send.asp");
         },
         HttpFailure::None, "エラーが発生しました。CODE:200 MESSAGE:HTTP/1.1 200 OK"},
        {"no reply after an earlier one",
         [&](HttpClient& c) {
             EXPECT_TRUE(c.Get(Url("cl_send.asp"), body));
             return closed;
         },
         HttpFailure::CannotConnect, "エラーが発生しました。CODE:200 MESSAGE:HTTP/1.1 200 OK"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        HttpClient fresh;
        const std::string url = row.prepare(fresh);
        std::optional<ScopedCurlOverride> library;
        if (row.library == Library::Missing)
            library.emplace(nullptr,
                            "libcurl could not be loaded: libcurl.so.4: cannot open shared object file");
        if (row.library == Library::CannotResolve) library.emplace(&cannotResolve, "");
        EXPECT_FALSE(fresh.Get(url, body));
        EXPECT_EQ(fresh.Failure(), row.failure);
        if (row.message != nullptr) {
            EXPECT_EQ(SjisToUtf8(RequestErrorMessage(fresh)), row.message);
        } else {
            EXPECT_NE(fresh.ErrorText(), "");
            EXPECT_EQ(RequestErrorMessage(fresh),
                      Sj("エラーが発生しました。CODE:-1 MESSAGE:") + fresh.ErrorText());
        }
    }
}
