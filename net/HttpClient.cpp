#include "net/HttpClient.h"

#include "data/TextHelpers.h"
#include "net/CurlLibrary.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <utility>

const char* const HttpClient::kDefaultUserAgent = "Mozilla/3.0 (compatible; Indy Library)";

namespace {

CURL* Handle(void* curl) {
    return static_cast<CURL*>(curl);
}

std::string AddressText(const curl_sockaddr* address) {
    char text[INET6_ADDRSTRLEN] = "";
    int port = 0;
    if (address->family == AF_INET) {
        const auto* in = reinterpret_cast<const sockaddr_in*>(&address->addr);
        inet_ntop(AF_INET, &in->sin_addr, text, sizeof text);
        port = ntohs(in->sin_port);
    } else if (address->family == AF_INET6) {
        const auto* in6 = reinterpret_cast<const sockaddr_in6*>(&address->addr);
        inet_ntop(AF_INET6, &in6->sin6_addr, text, sizeof text);
        port = ntohs(in6->sin6_port);
    }
    return std::string(text) + ":" + std::to_string(port);
}

// "HTTP/1.1 404 Not Found" -> 404; 0 when the line is no status line.
int StatusOfLine(const std::string& line) {
    std::size_t blank = line.find(' ');
    if (blank == std::string::npos) return 0;
    int code = 0;
    std::size_t i = blank + 1;
    for (int digits = 0; digits < 3; ++digits, ++i) {
        if (i >= line.size() || !std::isdigit(static_cast<unsigned char>(line[i]))) return 0;
        code = code * 10 + (line[i] - '0');
    }
    return code;
}

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    for (std::size_t i = 0; prefix[i] != '\0'; ++i) {
        if (i >= text.size() || std::tolower(static_cast<unsigned char>(text[i])) !=
                                    std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

HttpNotice StatusNotice(HttpStatus status, std::string text) {
    HttpNotice notice;
    notice.kind = HttpNotice::Kind::Status;
    notice.status = status;
    notice.text = std::move(text);
    return notice;
}

HttpNotice WorkNotice(HttpNotice::Kind kind, HttpWorkMode mode, long long count = 0) {
    HttpNotice notice;
    notice.kind = kind;
    notice.mode = mode;
    notice.count = count;
    return notice;
}

HttpNotice PlainNotice(HttpNotice::Kind kind) {
    HttpNotice notice;
    notice.kind = kind;
    return notice;
}

// Any count other than the one passed fails a transfer; this one also differs
// from a zero-length write, and a libcurl older than the headers (it is loaded
// at run time) still sees a count that differs.
constexpr size_t kWriteAbort = CURL_WRITEFUNC_ERROR;

// The stall time-out and the connect time-out end alike; which one it was
// shows in whether the request went out. libcurl also refuses a reply
// without a status line (HTTP/0.9) as an unsupported protocol, so the
// address says whether it was https.
HttpFailure FailureOf(CURLcode result, bool requestSent, const std::string& url) {
    switch (result) {
    case CURLE_UNSUPPORTED_PROTOCOL:
        return StartsWithNoCase(url, "https:") ? HttpFailure::HttpsAddress : HttpFailure::Other;
    case CURLE_COULDNT_RESOLVE_HOST:
        return HttpFailure::UnknownHost;
    case CURLE_COULDNT_CONNECT:
        return HttpFailure::CannotConnect;
    case CURLE_OPERATION_TIMEDOUT:
        return requestSent ? HttpFailure::NoResponse : HttpFailure::CannotConnect;
    default:
        return HttpFailure::Other;
    }
}

template <typename F> class ScopeExit {
  public:
    explicit ScopeExit(F f) : f_(std::move(f)) {}
    ~ScopeExit() { f_(); }
    ScopeExit(const ScopeExit&) = delete;
    ScopeExit& operator=(const ScopeExit&) = delete;

  private:
    F f_;
};

} // namespace

// libcurl's callbacks, with access to the client's request state.
struct HttpClientCallbacks {
    // An exception must not unwind through libcurl's C frames. The first one
    // is kept for Get() to rethrow and the callback answers `abort`; from then
    // on the request is ending, so every callback answers `abort` at once.
    template <typename Result, typename Work>
    static Result Guarded(HttpClient* client, Result abort, Work work) noexcept {
        if (client->failure_) return abort;
        try {
            return work();
        } catch (...) {
            client->failure_ = std::current_exception();
            return abort;
        }
    }

    static curl_socket_t Open(void* user, curlsocktype, curl_sockaddr* address) {
        auto* client = static_cast<HttpClient*>(user);
        return Guarded<curl_socket_t>(client, CURL_SOCKET_BAD, [&] {
            client->Emit(StatusNotice(HttpStatus::Connecting, "Connecting to " + AddressText(address) + "."));
            return ::socket(address->family, address->socktype | SOCK_CLOEXEC, address->protocol);
        });
    }

    static int Close(void* user, curl_socket_t socket) {
        auto* client = static_cast<HttpClient*>(user);
        // Closed whatever the notices do.
        int result = ::close(socket);
        Guarded(client, 0, [&] {
            if (client->reading_) {
                client->reading_ = false;
                client->Emit(WorkNotice(HttpNotice::Kind::WorkEnd, HttpWorkMode::Read));
            }
            if (client->connected_) {
                client->connected_ = false;
                client->Emit(StatusNotice(HttpStatus::Disconnecting, "Disconnecting."));
                client->Emit(StatusNotice(HttpStatus::Disconnected, "Disconnected."));
                client->Emit(PlainNotice(HttpNotice::Kind::Disconnected));
            }
            return 0;
        });
        return result;
    }

    // Only the outgoing request is of interest here: it marks the connection
    // as made and is the write transfer.
    static int Debug(CURL*, curl_infotype type, char*, size_t size, void* user) {
        auto* client = static_cast<HttpClient*>(user);
        if (type != CURLINFO_HEADER_OUT) return 0;
        // libcurl ignores what this returns; Progress() aborts instead.
        return Guarded(client, 0, [&] {
            client->requestSent_ = true;
            if (!client->connected_) {
                client->connected_ = true;
                client->Emit(StatusNotice(HttpStatus::Connected, "Connected."));
                client->Emit(PlainNotice(HttpNotice::Kind::Connected));
            }
            client->Emit(WorkNotice(HttpNotice::Kind::WorkBegin, HttpWorkMode::Write));
            client->Emit(
                WorkNotice(HttpNotice::Kind::Work, HttpWorkMode::Write, static_cast<long long>(size)));
            client->Emit(WorkNotice(HttpNotice::Kind::WorkEnd, HttpWorkMode::Write));
            return 0;
        });
    }

    // Called often while the transfer runs, waiting included, so a failure
    // caught where the return cannot abort still ends the request promptly.
    static int Progress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        return static_cast<HttpClient*>(user)->failure_ ? 1 : 0;
    }

    static size_t Header(char* data, size_t size, size_t count, void* user) {
        auto* client = static_cast<HttpClient*>(user);
        return Guarded(client, kWriteAbort, [&] { return HeaderLine(client, data, size * count); });
    }

    // One line of the reply head, status line and blank line included.
    static size_t HeaderLine(HttpClient* client, char* data, std::size_t bytes) {
        std::string line(data, bytes);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
            line.pop_back();

        if (line.starts_with("HTTP/")) {
            if (!client->reading_) {
                client->reading_ = true;
                client->Emit(WorkNotice(HttpNotice::Kind::WorkBegin, HttpWorkMode::Read));
            }
            client->statusLine_ = line;
            client->statusCode_ = StatusOfLine(line);
            client->replyStatus_ = client->statusCode_;
            client->location_.clear();
            client->Emit(StatusNotice(HttpStatus::Text, line));
        } else if (StartsWithNoCase(line, "Location:")) {
            client->location_ = TrimText(line.substr(9));
        } else if (line.empty() && client->replyStatus_ >= 300 && client->replyStatus_ < 400) {
            // End of a redirect's header block: reported, never followed.
            HttpNotice notice = PlainNotice(HttpNotice::Kind::Redirect);
            notice.text = client->location_;
            notice.count = 1;
            client->Emit(notice);
        }
        return bytes;
    }

    // Enforces the body limit here: a reply without Content-Length is not
    // covered by CURLOPT_MAXFILESIZE.
    static size_t Write(char* data, size_t size, size_t count, void* user) {
        auto* client = static_cast<HttpClient*>(user);
        return Guarded(client, kWriteAbort, [&]() -> size_t {
            std::size_t bytes = size * count;
            if (client->body_->size() + bytes > client->bodyLimit_) {
                client->bodyOverLimit_ = true;
                return 0;
            }
            client->body_->append(data, bytes);
            client->Emit(WorkNotice(HttpNotice::Kind::Work, HttpWorkMode::Read,
                                    static_cast<long long>(client->body_->size())));
            return bytes;
        });
    }
};

HttpClient::HttpClient() = default;

HttpClient::~HttpClient() {
    notify_ = nullptr; // whoever listened may be gone already
    if (curl_ != nullptr) curlCleanup_(curl_);
}

void HttpClient::Emit(const HttpNotice& notice) {
    if (notify_) notify_(notice);
}

bool HttpClient::Get(const std::string& url, std::string& body) {
    body.clear();
    errorText_.clear();
    failureCause_ = HttpFailure::None;
    // The handle is made for the first request, so a client that never sends
    // costs the program's start nothing.
    const CurlLibrary* lib = Curl(&errorText_);
    if (lib == nullptr) {
        failureCause_ = HttpFailure::NoLibrary;
        return false;
    }
    if (curl_ == nullptr) {
        curl_ = lib->easy_init();
        curlCleanup_ = lib->easy_cleanup;
        // Cookies live in this handle's memory for its whole life; no file is read or written.
        if (curl_ != nullptr) lib->easy_setopt(Handle(curl_), CURLOPT_COOKIEFILE, "");
    }
    CURL* curl = Handle(curl_);
    if (curl == nullptr) {
        errorText_ = "libcurl could not be initialised";
        failureCause_ = HttpFailure::Other;
        return false;
    }

    body_ = &body;
    bodyOverLimit_ = false;
    connected_ = false;
    requestSent_ = false;
    reading_ = false;
    replyStatus_ = 0;
    location_.clear();
    failure_ = nullptr;

    char errorBuffer[CURL_ERROR_SIZE] = "";
    curl_slist* headers = nullptr;
    // However Get() is left, the handle keeps no pointer into this frame and
    // nothing of the request is left behind.
    const ScopeExit teardown([&] {
        lib->easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
        lib->easy_setopt(curl, CURLOPT_HTTPHEADER, nullptr);
        lib->slist_free_all(headers);
        body_ = nullptr;
        reading_ = false;
    });

    lib->easy_setopt(curl, CURLOPT_URL, url.c_str());
    lib->easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    lib->easy_setopt(curl, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    lib->easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http");
    lib->easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http");
    lib->easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    // The address goes out as composed: no "./" or "../" squashed out of it.
    lib->easy_setopt(curl, CURLOPT_PATH_AS_IS, 1L);
    // An empty proxy overrides http_proxy and friends from the environment.
    lib->easy_setopt(curl, CURLOPT_PROXY, "");
    lib->easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, nullptr);
    lib->easy_setopt(curl, CURLOPT_HTTP_CONTENT_DECODING, 0L);
    lib->easy_setopt(curl, CURLOPT_FORBID_REUSE, 1L);
    lib->easy_setopt(curl, CURLOPT_FRESH_CONNECT, 1L);
    lib->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib->easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, connectTimeoutMs_);
    lib->easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    lib->easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, stallTimeoutSeconds_);
    lib->easy_setopt(curl, CURLOPT_USERAGENT, userAgent_.c_str());

    headers = lib->slist_append(nullptr, "Accept: text/html, */*");
    if (!hostHeader_.empty()) headers = lib->slist_append(headers, ("Host: " + hostHeader_).c_str());
    lib->easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

    lib->easy_setopt(curl, CURLOPT_OPENSOCKETFUNCTION, &HttpClientCallbacks::Open);
    lib->easy_setopt(curl, CURLOPT_OPENSOCKETDATA, this);
    lib->easy_setopt(curl, CURLOPT_CLOSESOCKETFUNCTION, &HttpClientCallbacks::Close);
    lib->easy_setopt(curl, CURLOPT_CLOSESOCKETDATA, this);
    lib->easy_setopt(curl, CURLOPT_DEBUGFUNCTION, &HttpClientCallbacks::Debug);
    lib->easy_setopt(curl, CURLOPT_DEBUGDATA, this);
    lib->easy_setopt(curl, CURLOPT_VERBOSE, 1L);
    lib->easy_setopt(curl, CURLOPT_HEADERFUNCTION, &HttpClientCallbacks::Header);
    lib->easy_setopt(curl, CURLOPT_HEADERDATA, this);
    lib->easy_setopt(curl, CURLOPT_WRITEFUNCTION, &HttpClientCallbacks::Write);
    lib->easy_setopt(curl, CURLOPT_WRITEDATA, this);
    lib->easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &HttpClientCallbacks::Progress);
    lib->easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    lib->easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);

    lib->easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);

    std::string host;
    if (CURLU* parsed = lib->url()) {
        char* part = nullptr;
        if (lib->url_set(parsed, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
            lib->url_get(parsed, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
            host = part;
            lib->free(part);
        }
        lib->url_cleanup(parsed);
    }
    if (!host.empty()) Emit(StatusNotice(HttpStatus::Resolving, "Resolving hostname " + host + "."));

    CURLcode result = lib->easy_perform(curl);

    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));

    // A connection still open (one never closed by libcurl) ends here, so the
    // notices of one request stay together.
    if (reading_) {
        reading_ = false;
        Emit(WorkNotice(HttpNotice::Kind::WorkEnd, HttpWorkMode::Read));
    }

    if (result != CURLE_OK) {
        if (bodyOverLimit_) {
            errorText_ = "reply body over " + std::to_string(bodyLimit_) + " bytes";
        } else {
            errorText_ = errorBuffer[0] != '\0' ? errorBuffer : lib->easy_strerror(result);
            failureCause_ = FailureOf(result, requestSent_, url);
        }
        return false;
    }
    return replyStatus_ >= 200 && replyStatus_ < 300;
}

std::string HttpClient::LibraryVersion() {
    const CurlLibrary* lib = Curl();
    return std::string("libcurl/") + (lib != nullptr ? lib->version_info(CURLVERSION_NOW)->version : "?");
}
