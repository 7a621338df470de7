// The registry as a folder tree: <root>/<HKEY_...>/<key>/<sub-key>/..., each key a directory whose
// "%values" file lists its values, one per line: type, name and data, separated by single spaces. Names and
// string data are written with "%XX" escapes for "%" and every byte up to the space, so a line holds any
// bytes; each name is preceded by "=" so an empty name (the key's default value) still has a field.
// Directory names are the key names lower-cased and escaped the same way, "." included, so key names
// compare without regard to ASCII case and "%values" can never be a key's directory.
#include "platform/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/file_io.h"

namespace quendra::platform {

namespace fs = std::filesystem;

namespace {

constexpr const char* kValuesFile = "%values";
constexpr const char* kLockFile = "%lock";

char lower(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool same_name(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

void append_escaped(std::string& out, unsigned char c) {
  static const char* hex = "0123456789abcdef";
  out += '%';
  out += hex[c >> 4];
  out += hex[c & 15];
}

std::string escape_field(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= ' ' || c == '%' || c == 0x7f) {
      append_escaped(out, c);
    } else {
      out += ch;
    }
  }
  return out;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string unescape_field(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      const int hi = hex_digit(s[i + 1]);
      const int lo = hex_digit(s[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

std::string directory_name(std::string_view key_name) {
  std::string out;
  for (char ch : key_name) {
    const auto c = static_cast<unsigned char>(lower(ch));
    const bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-' || c == ' ';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      append_escaped(out, c);
    }
  }
  return out;
}

const char* root_name(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case RegistryRoot::CurrentUser:
      return "HKEY_CURRENT_USER";
    case RegistryRoot::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case RegistryRoot::Users:
      return "HKEY_USERS";
    case RegistryRoot::CurrentConfig:
      return "HKEY_CURRENT_CONFIG";
  }
  return "HKEY_UNKNOWN";
}

fs::path registry_root_directory() {
  if (const char* dir = std::getenv("QUENDRA_REGISTRY_ROOT"); dir != nullptr && *dir != '\0') return dir;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
    return fs::path(xdg) / "quendra" / "registry";
  }
  const char* home = std::getenv("HOME");
  return fs::path(home != nullptr ? home : ".") / ".config" / "quendra" / "registry";
}

// The key's directory, or nullopt for a path with an empty segment in the middle.
std::optional<fs::path> key_directory(RegistryRoot root, std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  fs::path dir = registry_root_directory() / root_name(root);
  while (!path.empty()) {
    const std::size_t sep = path.find('\\');
    const std::string_view segment = path.substr(0, sep);
    if (segment.empty()) return std::nullopt;
    dir /= directory_name(segment);
    path = sep == std::string_view::npos ? std::string_view() : path.substr(sep + 1);
  }
  return dir;
}

bool is_usable_directory(const fs::path& dir) {
  struct stat st {};
  return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(dir.c_str(), R_OK | W_OK | X_OK) == 0;
}

struct Value {
  RegistryValueType type = RegistryValueType::None;
  std::string name;
  std::string data;  // raw bytes: a string's text, a DWORD's 4 little-endian bytes, binary bytes
};

const char* type_token(RegistryValueType t) {
  switch (t) {
    case RegistryValueType::String:
      return "sz";
    case RegistryValueType::ExpandString:
      return "expand_sz";
    case RegistryValueType::Binary:
      return "binary";
    case RegistryValueType::Dword:
      return "dword";
    default:
      return "other";
  }
}

RegistryValueType token_type(std::string_view t) {
  if (t == "sz") return RegistryValueType::String;
  if (t == "expand_sz") return RegistryValueType::ExpandString;
  if (t == "binary") return RegistryValueType::Binary;
  if (t == "dword") return RegistryValueType::Dword;
  if (t == "other") return RegistryValueType::Other;
  return RegistryValueType::None;
}

// Lines that do not parse are dropped: a damaged file loses those values, never the key.
std::vector<Value> parse_values(std::string_view text) {
  std::vector<Value> values;
  while (!text.empty()) {
    const std::size_t eol = text.find('\n');
    const std::string_view line = text.substr(0, eol);
    text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
    const std::size_t s1 = line.find(' ');
    if (s1 == std::string_view::npos) continue;
    const std::size_t s2 = line.find(' ', s1 + 1);
    if (s2 == std::string_view::npos) continue;
    Value v;
    v.type = token_type(line.substr(0, s1));
    const std::string_view name = line.substr(s1 + 1, s2 - s1 - 1);
    if (v.type == RegistryValueType::None || name.empty() || name.front() != '=') continue;
    v.name = unescape_field(name.substr(1));
    v.data = unescape_field(line.substr(s2 + 1));
    values.push_back(std::move(v));
  }
  return values;
}

std::string format_values(const std::vector<Value>& values) {
  std::string out;
  for (const Value& v : values) {
    out += type_token(v.type);
    out += " =";
    out += escape_field(v.name);
    out += ' ';
    out += escape_field(v.data);
    out += '\n';
  }
  return out;
}

}  // namespace

struct RegistryKey::Impl {
  fs::path dir;

  std::vector<Value> load() const {
    auto text = read_whole_file((dir / kValuesFile).string());
    return text ? parse_values(*text) : std::vector<Value>{};
  }

  const Value* find(const std::vector<Value>& values, std::string_view name) const {
    for (const Value& v : values) {
      if (same_name(v.name, name)) return &v;
    }
    return nullptr;
  }

  // Read-modify-write of the values file under the key's own lock, so writers in other threads and
  // processes do not lose each other's values; readers need no lock as the file is replaced by rename.
  template <class Change>
  bool modify(Change change) {
    const fs::path lock_path = dir / kLockFile;
    const int fd = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) throw RegistryError("Cannot lock registry key " + dir.string() + ": " + std::strerror(errno));
    while (::flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    bool changed = false;
    try {
      std::vector<Value> values = load();
      changed = change(values);
      if (changed) write_file_atomically((dir / kValuesFile).string(), format_values(values));
    } catch (const FileError& e) {
      ::close(fd);
      throw RegistryError(e.what());
    } catch (...) {
      ::close(fd);
      throw;
    }
    ::close(fd);
    return changed;
  }

  void put(std::string_view name, RegistryValueType type, std::string data) {
    modify([&](std::vector<Value>& values) {
      for (Value& v : values) {
        if (same_name(v.name, name)) {
          v.type = type;
          v.data = std::move(data);
          return true;
        }
      }
      values.push_back(Value{type, std::string(name), std::move(data)});
      return true;
    });
  }
};

std::optional<RegistryKey> RegistryKey::open(RegistryRoot root, std::string_view path, bool create) {
  const std::optional<fs::path> dir = key_directory(root, path);
  if (!dir) return std::nullopt;
  if (create) {
    std::error_code ec;
    fs::create_directories(*dir, ec);
  }
  if (!is_usable_directory(*dir)) return std::nullopt;
  auto impl = std::make_unique<Impl>();
  impl->dir = *dir;
  return RegistryKey(std::move(impl));
}

RegistryKey::RegistryKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

RegistryValueType RegistryKey::value_type(std::string_view name) const {
  const auto values = impl_->load();
  const Value* v = impl_->find(values, name);
  return v ? v->type : RegistryValueType::None;
}

std::optional<uint32_t> RegistryKey::read_dword(std::string_view name) const {
  const auto values = impl_->load();
  const Value* v = impl_->find(values, name);
  if (v == nullptr || v->type != RegistryValueType::Dword || v->data.size() != 4) return std::nullopt;
  uint32_t n = 0;
  for (int i = 3; i >= 0; --i)
    n = (n << 8) | static_cast<unsigned char>(v->data[static_cast<std::size_t>(i)]);
  return n;
}

std::optional<std::vector<std::byte>> RegistryKey::read_binary(std::string_view name) const {
  const auto values = impl_->load();
  const Value* v = impl_->find(values, name);
  if (v == nullptr || v->type != RegistryValueType::Binary) return std::nullopt;
  std::vector<std::byte> out(v->data.size());
  std::memcpy(out.data(), v->data.data(), v->data.size());
  return out;
}

std::optional<std::string> RegistryKey::read_string(std::string_view name) const {
  const auto values = impl_->load();
  const Value* v = impl_->find(values, name);
  if (v == nullptr || (v->type != RegistryValueType::String && v->type != RegistryValueType::ExpandString)) {
    return std::nullopt;
  }
  return v->data;
}

void RegistryKey::write_dword(std::string_view name, uint32_t value) {
  std::string data(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) data[i] = static_cast<char>((value >> (8 * i)) & 0xff);
  impl_->put(name, RegistryValueType::Dword, std::move(data));
}

void RegistryKey::write_binary(std::string_view name, const void* data, std::size_t size) {
  impl_->put(name, RegistryValueType::Binary, std::string(static_cast<const char*>(data), size));
}

void RegistryKey::write_string(std::string_view name, std::string_view value) {
  impl_->put(name, RegistryValueType::String, std::string(value.substr(0, value.find('\0'))));
}

bool RegistryKey::delete_value(std::string_view name) {
  return impl_->modify([&](std::vector<Value>& values) {
    return std::erase_if(values, [&](const Value& v) { return same_name(v.name, name); }) > 0;
  });
}

bool delete_registry_tree(RegistryRoot root, std::string_view path) {
  const std::optional<fs::path> dir = key_directory(root, path);
  // Refuses a whole root: only keys below it can be deleted.
  if (!dir || *dir == registry_root_directory() / root_name(root) || !fs::is_directory(*dir)) return false;
  std::error_code ec;
  fs::remove_all(*dir, ec);
  return !ec;
}

}  // namespace quendra::platform
