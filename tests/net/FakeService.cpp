#include "tests/net/FakeService.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <stdexcept>

namespace {

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void SendAll(int socket, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = ::send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return; // the client gave up (a body over its limit): nothing more to do
        sent += static_cast<std::size_t>(n);
    }
}

} // namespace

std::string FakeService::Request::Header(const std::string& name) const {
    std::string wanted = Lower(name) + ":";
    std::size_t start = head.find("\r\n");
    while (start != std::string::npos) {
        start += 2;
        std::size_t end = head.find("\r\n", start);
        if (end == std::string::npos || end == start) break;
        std::string line = head.substr(start, end - start);
        if (Lower(line).starts_with(wanted)) {
            std::string value = line.substr(wanted.size());
            while (!value.empty() && value.front() == ' ')
                value.erase(0, 1);
            return value;
        }
        start = end;
    }
    return "";
}

bool FakeService::Request::HasHeader(const std::string& name) const {
    return Lower(head).find("\r\n" + Lower(name) + ":") != std::string::npos;
}

FakeService::FakeService() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0) throw std::runtime_error("fake service: no socket");
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 16) != 0)
        throw std::runtime_error("fake service: cannot listen");
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);

    for (const char* document : {"cl_adduser.asp", "cl_addac.asp", "cl_deluser.asp", "cl_send.asp"})
        replies_[document] = Body("VOSTRANE.NET:0");
    replies_["cl_recv.asp"] = Body("");
    replies_["edit_recomp.asp"] = Body("OK");
    thread_ = std::thread([this] { Serve(); });
}

FakeService::~FakeService() {
    stop_ = true;
    thread_.join();
    ::close(listener_);
}

std::string FakeService::BaseUrl() const {
    return "http://" + HostPort() + "/svc/";
}

void FakeService::SetReply(const std::string& document, const Reply& reply) {
    std::lock_guard lock(mutex_);
    replies_[document] = reply;
}

void FakeService::QueueReply(const Reply& reply) {
    std::lock_guard lock(mutex_);
    queued_.push_back(reply);
}

std::vector<FakeService::Request> FakeService::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<FakeService::Request> FakeService::RequestsFor(const std::string& document) const {
    std::vector<Request> found;
    for (const Request& request : Requests())
        if (request.document == document) found.push_back(request);
    return found;
}

void FakeService::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

FakeService::Reply FakeService::Body(const std::string& body) {
    Reply reply;
    reply.body = body;
    return reply;
}

FakeService::Reply FakeService::Status(const std::string& statusLine, const std::string& body) {
    Reply reply;
    reply.statusLine = statusLine;
    reply.body = body;
    return reply;
}

FakeService::Reply FakeService::Redirect(const std::string& location) {
    Reply reply = Status("HTTP/1.1 302 Found", "moved");
    reply.headers.push_back("Location: " + location);
    return reply;
}

FakeService::Reply FakeService::Closing() {
    Reply reply;
    reply.kind = Reply::Kind::CloseWithoutReply;
    return reply;
}

FakeService::Reply FakeService::CutShort(const std::string& body) {
    Reply reply = Body(body);
    reply.kind = Reply::Kind::CutShort;
    return reply;
}

FakeService::Reply FakeService::NoLength(const std::string& body) {
    Reply reply = Body(body);
    reply.kind = Reply::Kind::NoLength;
    return reply;
}

FakeService::Reply FakeService::Silent() {
    Reply reply;
    reply.kind = Reply::Kind::Silent;
    return reply;
}

int FakeService::UnusedPort() {
    // Bound for a moment to be given a free port, then closed without listening.
    int socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (socket < 0 || ::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("fake service: no free port");
    ::close(socket);
    return ntohs(address.sin_port);
}

FakeService::Reply FakeService::PickReply(const std::string& document) {
    std::lock_guard lock(mutex_);
    if (!queued_.empty()) {
        Reply reply = queued_.front();
        queued_.pop_front();
        return reply;
    }
    auto found = replies_.find(document);
    if (found != replies_.end()) return found->second;
    return Status("HTTP/1.1 404 Not Found", "not here");
}

void FakeService::Serve() {
    int connection = 0;
    while (!stop_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 20) <= 0) continue;
        int socket = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (socket < 0) continue;
        Handle(socket, ++connection);
        ::close(socket);
    }
}

void FakeService::Handle(int socket, int connection) {
    std::string head;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (head.find("\r\n\r\n") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd readable{socket, POLLIN, 0};
        if (::poll(&readable, 1, 50) <= 0) continue;
        char buffer[4096];
        ssize_t n = ::recv(socket, buffer, sizeof buffer, 0);
        if (n <= 0) return;
        head.append(buffer, static_cast<std::size_t>(n));
    }

    Request request;
    request.head = head;
    request.connection = connection;
    request.requestLine = head.substr(0, head.find("\r\n"));
    std::size_t first = request.requestLine.find(' ');
    std::size_t last = request.requestLine.rfind(' ');
    if (first != std::string::npos && last > first)
        request.target = request.requestLine.substr(first + 1, last - first - 1);
    std::size_t question = request.target.find('?');
    std::string path = request.target.substr(0, question);
    if (question != std::string::npos) request.query = request.target.substr(question);
    request.document = path.substr(path.rfind('/') + 1);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }

    Reply reply = PickReply(request.document);
    if (reply.kind == Reply::Kind::CloseWithoutReply) return;
    if (reply.kind == Reply::Kind::Silent) {
        // Until the client closes its end (or the service ends).
        char byte = 0;
        while (!stop_) {
            pollfd readable{socket, POLLIN, 0};
            if (::poll(&readable, 1, 50) > 0 && ::recv(socket, &byte, 1, 0) <= 0) return;
        }
        return;
    }

    std::string out = reply.statusLine + "\r\n";
    if (reply.kind == Reply::Kind::Normal)
        out += "Content-Length: " + std::to_string(reply.body.size()) + "\r\n";
    if (reply.kind == Reply::Kind::CutShort)
        out += "Content-Length: " + std::to_string(reply.body.size() + 50) + "\r\n";
    for (const std::string& header : reply.headers)
        out += header + "\r\n";
    out += "Connection: close\r\n\r\n";
    out += reply.body;
    SendAll(socket, out);
    ::shutdown(socket, SHUT_WR);
}
