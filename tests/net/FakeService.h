#pragma once

#include <atomic>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A stand-in for the web service on 127.0.0.1 (an ephemeral port), served from
// a thread of its own because the clients under test block. It records every
// request head byte for byte, answers by the requested document name
// ("cl_send.asp", ...) and can be scripted to fail.
class FakeService {
  public:
    struct Reply {
        enum class Kind {
            Normal,            // status line, Content-Length, headers, body
            CloseWithoutReply, // reads the request and closes
            CutShort,          // announces more body than it sends, then closes
            NoLength,          // no Content-Length: the body ends when the connection closes
            Silent,            // reads the request and answers nothing until the client gives up
        };
        Kind kind = Kind::Normal;
        std::string statusLine = "HTTP/1.1 200 OK";
        std::vector<std::string> headers; // extra header lines, without CR LF
        std::string body;
    };

    struct Request {
        std::string head;        // request line and headers, up to the blank line, as received
        std::string requestLine; // without CR LF
        std::string target;      // e.g. "/svc/cl_send.asp?id=..."
        std::string document;    // e.g. "cl_send.asp"
        std::string query;       // from "?" on, or ""
        int connection = 0;      // serial number of the connection it came on
        // The value of a header (first match, name compared case-insensitively), "" when absent.
        std::string Header(const std::string& name) const;
        bool HasHeader(const std::string& name) const;
    };

    FakeService();
    ~FakeService();
    FakeService(const FakeService&) = delete;
    FakeService& operator=(const FakeService&) = delete;

    int Port() const { return port_; }
    // "http://127.0.0.1:<port>/svc/": the service under a folder, as a real one may be.
    std::string BaseUrl() const;
    std::string HostPort() const { return "127.0.0.1:" + std::to_string(port_); }

    // The standing reply for a document name.
    void SetReply(const std::string& document, const Reply& reply);
    // One-off replies for the next requests, whatever they ask for.
    void QueueReply(const Reply& reply);

    std::vector<Request> Requests() const;
    std::vector<Request> RequestsFor(const std::string& document) const;
    void ClearRequests();

    static Reply Body(const std::string& body);
    static Reply Status(const std::string& statusLine, const std::string& body = "");
    static Reply Redirect(const std::string& location);
    static Reply Closing();
    static Reply CutShort(const std::string& body);
    static Reply NoLength(const std::string& body);
    static Reply Silent();

    // A port on 127.0.0.1 that nobody listens on.
    static int UnusedPort();

  private:
    void Serve();
    void Handle(int socket, int connection);
    Reply PickReply(const std::string& document);

    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::map<std::string, Reply> replies_;
    std::deque<Reply> queued_;
    std::vector<Request> requests_;
    std::thread thread_;
};
