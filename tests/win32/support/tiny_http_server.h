// A small HTTP server on 127.0.0.1 for Windows-side tests: one canned answer
// per request path, each connection served on its own thread.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace corvane::testing {

class Socket {
 public:
  explicit Socket(SOCKET s = INVALID_SOCKET) : s_(s) {}
  ~Socket() { Close(); }
  Socket(Socket&& other) noexcept : s_(other.s_) { other.s_ = INVALID_SOCKET; }
  Socket& operator=(Socket&& other) noexcept {
    if (this != &other) {
      Close();
      s_ = other.s_;
      other.s_ = INVALID_SOCKET;
    }
    return *this;
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  SOCKET Get() const { return s_; }
  void Close() {
    if (s_ != INVALID_SOCKET) closesocket(s_);
    s_ = INVALID_SOCKET;
  }

 private:
  SOCKET s_;
};

// Serves each connection on its own thread: "/number" a number file,
// "/missing" a 404, "/big" 10000 bytes, "/slow" the number after 600 ms,
// "/hang" nothing until the server stops.
class TinyHttpServer {
 public:
  TinyHttpServer() {
    listener_ = Socket(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    bind(listener_.Get(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    int size = sizeof address;
    getsockname(listener_.Get(), reinterpret_cast<sockaddr*>(&address), &size);
    port_ = ntohs(address.sin_port);
    listen(listener_.Get(), 8);
    acceptor_ = std::thread([this] { AcceptLoop(); });
  }
  ~TinyHttpServer() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    stopped_.notify_all();
    listener_.Close();  // ends accept()
    acceptor_.join();
    for (std::thread& t : connections_) t.join();
  }

  std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(port_) + path; }

  // Requests answered so far.
  int Served() const { return served_; }

 private:
  void AcceptLoop() {
    for (;;) {
      SOCKET s = accept(listener_.Get(), nullptr, nullptr);
      if (s == INVALID_SOCKET) return;
      connections_.emplace_back([this, s] { Serve(Socket(s)); });
    }
  }

  void Serve(Socket connection) {
    std::string request;
    char buffer[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
      const int got = recv(connection.Get(), buffer, sizeof buffer, 0);
      if (got <= 0) return;
      request.append(buffer, static_cast<size_t>(got));
    }
    const std::string path = request.substr(4, request.find(' ', 4) - 4);  // "GET <path> HTTP/1.1"
    if (path == "/hang") {
      std::unique_lock<std::mutex> lock(mutex_);
      stopped_.wait(lock, [this] { return stopping_; });
      return;
    }
    if (path == "/slow") std::this_thread::sleep_for(std::chrono::milliseconds(600));
    std::string status = "200 OK", body = "0123456789123\r\n";
    if (path == "/missing") {
      status = "404 Not Found";
      body = "<html>no such file</html>";
    } else if (path == "/big") {
      body = std::string(10000, '7');
    }
    const std::string answer = "HTTP/1.1 " + status +
                               "\r\nContent-Type: text/plain\r\nContent-Length: " + std::to_string(body.size()) +
                               "\r\nConnection: close\r\n\r\n" + body;
    send(connection.Get(), answer.data(), static_cast<int>(answer.size()), 0);
    shutdown(connection.Get(), SD_SEND);
    ++served_;
  }

  Socket listener_;
  int port_ = 0;
  std::thread acceptor_;
  std::vector<std::thread> connections_;  // only touched by the acceptor until it has ended
  std::mutex mutex_;
  std::condition_variable stopped_;
  bool stopping_ = false;
  std::atomic<int> served_{0};
};

}  // namespace corvane::testing
