#include <winsock2.h>
#include <ws2tcpip.h>

#include <stdexcept>
#include <string>

#include "platform/tcp.h"

namespace quendra::platform {

namespace {

struct WinsockStartup {
  WinsockStartup() {
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) throw std::runtime_error("Winsock is not available");
  }
  ~WinsockStartup() { WSACleanup(); }
};

class Socket {
 public:
  explicit Socket(SOCKET s) : s_(s) {}
  ~Socket() {
    if (s_ != INVALID_SOCKET) closesocket(s_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  SOCKET get() const { return s_; }
  SOCKET release() {
    SOCKET s = s_;
    s_ = INVALID_SOCKET;
    return s;
  }
  bool wait_readable(uint32_t timeout_ms) const {
    WSAPOLLFD p{s_, POLLRDNORM, 0};
    return WSAPoll(&p, 1, static_cast<INT>(timeout_ms)) > 0;
  }

 private:
  SOCKET s_;
};

class WinConnection : public TcpConnection {
 public:
  explicit WinConnection(SOCKET s) : socket_(s) {}
  std::ptrdiff_t read(char* buffer, std::size_t size, uint32_t timeout_ms) override {
    if (!socket_.wait_readable(timeout_ms)) return 0;
    int n = recv(socket_.get(), buffer, static_cast<int>(size), 0);
    return n > 0 ? n : -1;
  }

 private:
  Socket socket_;
};

class WinListener : public TcpListener {
 public:
  WinListener(SOCKET s, uint16_t port) : socket_(s), port_(port) {}
  std::unique_ptr<TcpConnection> accept(uint32_t timeout_ms) override {
    if (!socket_.wait_readable(timeout_ms)) return nullptr;
    SOCKET s = ::accept(socket_.get(), nullptr, nullptr);
    return s == INVALID_SOCKET ? nullptr : std::make_unique<WinConnection>(s);
  }
  uint16_t port() const override { return port_; }

 private:
  Socket socket_;
  uint16_t port_;
};

}  // namespace

std::unique_ptr<TcpListener> listen_loopback(uint16_t port) {
  static WinsockStartup startup;
  Socket socket_guard(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (socket_guard.get() == INVALID_SOCKET) throw std::runtime_error("cannot create a socket");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(socket_guard.get(), reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(socket_guard.get(), 128) != 0)
    throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port));
  int length = sizeof address;
  getsockname(socket_guard.get(), reinterpret_cast<sockaddr*>(&address), &length);
  return std::make_unique<WinListener>(socket_guard.release(), ntohs(address.sin_port));
}

}  // namespace quendra::platform
