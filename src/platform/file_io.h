// Whole-file reads and crash-safe whole-file writes.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace quendra::platform {

class FileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The file's bytes; nullopt when it does not exist. Throws FileError when it exists but cannot be read.
std::optional<std::string> read_whole_file(const std::string& path);

// Replaces the file's content with `data` so that a crash at any point leaves either the old or the new
// file: the bytes go to a temporary file in the same folder, are flushed to disk, and the temporary file
// is renamed over the target. A symbolic link is followed, so the link stays and its target changes.
// Throws FileError on failure; the target is then unchanged.
void write_file_atomically(const std::string& path, std::string_view data);

// True for an existing regular file (POSIX) or any non-directory file (Win32).
bool file_exists(const std::string& path);

// The absolute, normalised form of a path that may not exist yet, for comparing two spellings of one file.
std::string canonical_file_path(const std::string& path);

// Test seam: faults the file layer reports in place of the system's answers, for the whole process, so
// tests can show a read-only folder or a full disk even to a process that runs as root. None are set
// unless a test sets them, and then the layer behaves as it would without the seam.
struct FileFaults {
  // Creating a file fails as in a folder on a read-only mount.
  bool read_only = false;
  // The disk takes this many more bytes; a write past them fails as on a full disk.
  std::optional<std::size_t> free_bytes;
  // Called by read_whole_file once the file is open and its first block read (another process may
  // replace the file here); may throw FileError to fail the read as an I/O error would.
  std::function<void(const std::string& path)> while_reading;
};

// Sets the faults (nullopt clears them). Not for production code.
void set_file_faults(std::optional<FileFaults> faults);

namespace detail {
// For the platform implementations of the layer.
bool fault_refuses_create();
// How many of `wanted` bytes the next write may take; 0 means the disk is full.
std::size_t fault_write_allowance(std::size_t wanted);
}  // namespace detail

}  // namespace quendra::platform
