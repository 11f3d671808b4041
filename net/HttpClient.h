#pragma once

#include <cstddef>
#include <exception>
#include <functional>
#include <string>

// What the client reports while it works, for the network log. The set and
// order are this client's own: per request a resolving and a connecting
// status, "connected" once the request goes out, the request as one write
// transfer, the reply's status line as a status text, the reply as one read
// transfer, a redirect when the reply is a 3xx, and "disconnected" when the
// connection closes (every request uses a connection of its own).
enum class HttpStatus { Resolving, Connecting, Connected, Disconnecting, Disconnected, Text };
enum class HttpWorkMode { Read, Write };

// Why a request failed before or without a reply, as far as it matters to a
// player: a missing library, an https address (only http is spoken), a host
// that cannot be found or reached, or one that takes the request and stays
// silent. Other: libcurl's own reason (ErrorText()).
enum class HttpFailure { None, NoLibrary, HttpsAddress, UnknownHost, CannotConnect, NoResponse, Other };

struct HttpNotice {
    enum class Kind { Connected, Disconnected, Redirect, Status, WorkBegin, Work, WorkEnd };
    Kind kind = Kind::Status;
    HttpStatus status = HttpStatus::Text;   // Status
    std::string text;                       // Status: the status text; Redirect: the new address
    long long count = 0;                    // Redirect: redirect count; Work: bytes so far
    HttpWorkMode mode = HttpWorkMode::Read; // WorkBegin, Work, WorkEnd
};

// A blocking HTTP/1.1 GET client over one libcurl easy handle, made at the
// first request and kept for the rest of the object's life, so cookies the
// server sets stay with this client (in memory only) and are sent back with
// its later requests.
//
// Fixed settings: plain http only, header "Accept: text/html, */*", no
// redirects followed (a 3xx is reported and fails the request), no proxy even
// when the environment names one, no compression, a fresh connection for every
// request, and a stall time-out (less than 1 byte/s for 60 s, unless set,
// fails the request) so a dead server cannot hang the GUI thread for ever.
class HttpClient {
  public:
    static constexpr std::size_t kDefaultBodyLimit = std::size_t{16} * 1024 * 1024;
    // The user agent of the web service's clients.
    static const char* const kDefaultUserAgent; // "Mozilla/3.0 (compatible; Indy Library)"

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    void SetUserAgent(const std::string& userAgent) { userAgent_ = userAgent; }
    // A fixed value for the Host header; empty (the default) sends the host
    // (and port) of each requested address.
    void SetHostHeader(const std::string& host) { hostHeader_ = host; }
    // Milliseconds allowed for connecting; 0 (the default) leaves libcurl's own.
    void SetConnectTimeoutMs(long milliseconds) { connectTimeoutMs_ = milliseconds; }
    // Seconds of less than 1 byte/s after which a request fails.
    void SetStallTimeoutSeconds(long seconds) { stallTimeoutSeconds_ = seconds; }
    // Largest reply body accepted; a longer one fails the request.
    void SetBodyLimit(std::size_t bytes) { bodyLimit_ = bytes; }
    // Receives the notices while a request runs (in the calling thread).
    void SetNotify(std::function<void(const HttpNotice&)> notify) { notify_ = std::move(notify); }

    // One GET of `url`, sent exactly as given. Returns true with the reply body
    // in `body` when the transfer completed and the status is 2xx. Returns
    // false on any failure (no connection, URL refused, protocol other than
    // http, 3xx/4xx/5xx status, body cut short, body over the limit, stall);
    // `body` then holds whatever arrived.
    // An exception from the notify callback ends the request: the transfer is
    // aborted, no further notices come, and once the request is torn down
    // Get() lets that exception through.
    bool Get(const std::string& url, std::string& body);

    // Status code and status line (e.g. "HTTP/1.1 404 Not Found") of the last
    // reply this client received; -1 and "" until the first reply. A request
    // that gets no reply leaves them as they were.
    int StatusCode() const { return statusCode_; }
    const std::string& StatusLine() const { return statusLine_; }
    // libcurl's description of the last failure; "" after a success or when
    // only the status failed the request.
    const std::string& ErrorText() const { return errorText_; }
    // What ended the last request; None after a success or when a status or
    // a body over the limit failed it.
    HttpFailure Failure() const { return failureCause_; }

    // "libcurl/<version>", for the network log.
    static std::string LibraryVersion();

  private:
    friend struct HttpClientCallbacks;
    void Emit(const HttpNotice& notice);

    void* curl_ = nullptr;
    void (*curlCleanup_)(void*) = nullptr; // of the library curl_ was made with
    std::string userAgent_ = kDefaultUserAgent;
    std::string hostHeader_;
    long connectTimeoutMs_ = 0;
    long stallTimeoutSeconds_ = 60;
    std::size_t bodyLimit_ = kDefaultBodyLimit;
    std::function<void(const HttpNotice&)> notify_;

    int statusCode_ = -1;
    std::string statusLine_;
    std::string errorText_;
    HttpFailure failureCause_ = HttpFailure::None;

    // State of the request under way.
    std::string* body_ = nullptr;
    bool bodyOverLimit_ = false;
    bool connected_ = false;
    bool requestSent_ = false; // unlike connected_, kept once the connection closes
    bool reading_ = false;
    int replyStatus_ = 0;
    std::string location_;
    std::exception_ptr failure_; // thrown by the notify callback inside libcurl, kept for Get()
};
