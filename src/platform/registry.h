// The system registry: keys under predefined roots holding named 32-bit, binary and string values.
//
// Win32: the real registry. POSIX: a tree of directories under a root folder, one directory per key and
// one "values" file in each, rewritten whole and replaced by rename so a reader never sees half a file.
// The root folder is $QUENDRA_REGISTRY_ROOT, else $XDG_CONFIG_HOME/quendra/registry, else
// ~/.config/quendra/registry; it is looked up at every open, so tests may point it at a temporary folder.
//
// Key paths use backslashes; a leading and a trailing backslash are ignored. Key and value names compare
// without regard to ASCII letter case. Text is 8-bit in the ANSI code page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace quendra::platform {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

enum class RegistryValueType { None, String, ExpandString, Binary, Dword, Other };

class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One open key. Move-only; closing happens on destruction. Not shared between threads.
class RegistryKey {
 public:
  // Opens `path` under `root` with full (read and write) access, creating missing keys when `create` is
  // set; nullopt when the key is missing or cannot be opened or created with full access.
  static std::optional<RegistryKey> open(RegistryRoot root, std::string_view path, bool create);

  RegistryKey(RegistryKey&&) noexcept;
  RegistryKey& operator=(RegistryKey&&) noexcept;
  ~RegistryKey();

  // RegistryValueType::None when the value does not exist.
  RegistryValueType value_type(std::string_view name) const;
  bool value_exists(std::string_view name) const { return value_type(name) != RegistryValueType::None; }

  // Each read gives nullopt when the value is missing or of another type. read_string accepts plain and
  // expandable strings and expands nothing.
  std::optional<uint32_t> read_dword(std::string_view name) const;
  std::optional<std::vector<std::byte>> read_binary(std::string_view name) const;
  std::optional<std::string> read_string(std::string_view name) const;

  // Writes replace a value of any type; they throw RegistryError on failure. A string ends at its first
  // NUL character, as the registry stores strings NUL-terminated.
  void write_dword(std::string_view name, uint32_t value);
  void write_binary(std::string_view name, const void* data, std::size_t size);
  void write_string(std::string_view name, std::string_view value);
  // True when the value existed and was deleted.
  bool delete_value(std::string_view name);

  struct Impl;

 private:
  explicit RegistryKey(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

// Deletes a key with all its sub-keys and values; false when it did not exist or could not be deleted.
bool delete_registry_tree(RegistryRoot root, std::string_view path);

}  // namespace quendra::platform
