#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/tcp.h"

namespace quendra::platform {

namespace {

class Socket {
 public:
  explicit Socket(int fd) : fd_(fd) {}
  ~Socket() {
    if (fd_ >= 0) close(fd_);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return fd_; }
  int release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

  // True when the socket becomes readable within the timeout.
  bool wait_readable(uint32_t timeout_ms) const {
    pollfd p{fd_, POLLIN, 0};
    int n;
    do {
      n = poll(&p, 1, static_cast<int>(timeout_ms));
    } while (n < 0 && errno == EINTR);
    return n > 0;
  }

 private:
  int fd_;
};

class PosixConnection : public TcpConnection {
 public:
  explicit PosixConnection(int fd) : socket_(fd) {}
  std::ptrdiff_t read(char* buffer, std::size_t size, uint32_t timeout_ms) override {
    if (!socket_.wait_readable(timeout_ms)) return 0;
    ssize_t n;
    do {
      n = recv(socket_.fd(), buffer, size, 0);
    } while (n < 0 && errno == EINTR);
    return n > 0 ? n : -1;
  }

 private:
  Socket socket_;
};

class PosixListener : public TcpListener {
 public:
  PosixListener(int fd, uint16_t port) : socket_(fd), port_(port) {}
  std::unique_ptr<TcpConnection> accept(uint32_t timeout_ms) override {
    if (!socket_.wait_readable(timeout_ms)) return nullptr;
    int fd = ::accept(socket_.fd(), nullptr, nullptr);
    return fd < 0 ? nullptr : std::make_unique<PosixConnection>(fd);
  }
  uint16_t port() const override { return port_; }

 private:
  Socket socket_;
  uint16_t port_;
};

}  // namespace

std::unique_ptr<TcpListener> listen_loopback(uint16_t port) {
  int fd = socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
  Socket guard(fd);
  int yes = 1;
  setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) < 0 || ::listen(fd, 128) < 0)
    throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " + std::strerror(errno));
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  return std::make_unique<PosixListener>(guard.release(), ntohs(address.sin_port));
}

}  // namespace quendra::platform
