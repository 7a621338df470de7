// A minimal TCP server on the loopback interface, for the host harness's network data source.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

namespace quendra::platform {

class TcpConnection {
 public:
  virtual ~TcpConnection() = default;
  // Reads what has arrived, waiting at most `timeout_ms`. Returns the byte count, 0 on timeout, -1 when the peer
  // closed the connection or it failed.
  virtual std::ptrdiff_t read(char* buffer, std::size_t size, uint32_t timeout_ms) = 0;
};

class TcpListener {
 public:
  virtual ~TcpListener() = default;
  // The next connection, or null when none arrived within `timeout_ms`.
  virtual std::unique_ptr<TcpConnection> accept(uint32_t timeout_ms) = 0;
  virtual uint16_t port() const = 0;
};

// Listens on 127.0.0.1:`port` (0 picks a free port). Throws std::runtime_error on failure.
std::unique_ptr<TcpListener> listen_loopback(uint16_t port);

}  // namespace quendra::platform
