#include "platform/registry.h"

#include <windows.h>

#include <cstring>

namespace quendra::platform {

namespace {

HKEY root_handle(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot:
      return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser:
      return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine:
      return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users:
      return HKEY_USERS;
    case RegistryRoot::CurrentConfig:
      return HKEY_CURRENT_CONFIG;
  }
  return nullptr;
}

std::string trimmed_path(std::string_view path) {
  while (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  return std::string(path);
}

std::string key_text(std::string_view name) {
  return std::string(name.substr(0, name.find('\0')));
}

}  // namespace

struct RegistryKey::Impl {
  HKEY key = nullptr;
  ~Impl() {
    if (key != nullptr) RegCloseKey(key);
  }

  // Type and size of a value; false when it does not exist.
  bool query(std::string_view name, DWORD& type, DWORD& size) const {
    const std::string n = key_text(name);
    return RegQueryValueExA(key, n.c_str(), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
  }

  bool read(std::string_view name, DWORD expected_type, std::string& out) const {
    const std::string n = key_text(name);
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD type = 0;
      DWORD size = 0;
      if (RegQueryValueExA(key, n.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
      if (type != expected_type && !(expected_type == REG_SZ && type == REG_EXPAND_SZ)) return false;
      out.assign(size, '\0');
      const LONG rc =
          RegQueryValueExA(key, n.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(out.data()), &size);
      if (rc == ERROR_MORE_DATA) continue;  // Grew between the two calls: ask again.
      if (rc != ERROR_SUCCESS) return false;
      out.resize(size);
      return true;
    }
    return false;
  }

  void write(std::string_view name, DWORD type, const void* data, std::size_t size) {
    const std::string n = key_text(name);
    if (size > 0xFFFFFFFFu) throw RegistryError("Registry value too large: " + n);
    const LONG rc =
        RegSetValueExA(key, n.c_str(), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
    if (rc != ERROR_SUCCESS)
      throw RegistryError("Cannot write registry value " + n + " (error " + std::to_string(rc) + ")");
  }
};

std::optional<RegistryKey> RegistryKey::open(RegistryRoot root, std::string_view path, bool create) {
  const std::string p = trimmed_path(path);
  auto impl = std::make_unique<Impl>();
  LONG rc;
  if (create) {
    rc = RegCreateKeyExA(root_handle(root), p.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                         nullptr, &impl->key, nullptr);
  } else {
    rc = RegOpenKeyExA(root_handle(root), p.c_str(), 0, KEY_ALL_ACCESS, &impl->key);
  }
  if (rc != ERROR_SUCCESS) {
    impl->key = nullptr;
    return std::nullopt;
  }
  return RegistryKey(std::move(impl));
}

RegistryKey::RegistryKey(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
RegistryKey::RegistryKey(RegistryKey&&) noexcept = default;
RegistryKey& RegistryKey::operator=(RegistryKey&&) noexcept = default;
RegistryKey::~RegistryKey() = default;

RegistryValueType RegistryKey::value_type(std::string_view name) const {
  DWORD type = 0;
  DWORD size = 0;
  if (!impl_->query(name, type, size)) return RegistryValueType::None;
  switch (type) {
    case REG_SZ:
      return RegistryValueType::String;
    case REG_EXPAND_SZ:
      return RegistryValueType::ExpandString;
    case REG_BINARY:
      return RegistryValueType::Binary;
    case REG_DWORD:
      return RegistryValueType::Dword;
    default:
      return RegistryValueType::Other;
  }
}

std::optional<uint32_t> RegistryKey::read_dword(std::string_view name) const {
  std::string data;
  if (!impl_->read(name, REG_DWORD, data) || data.size() != 4) return std::nullopt;
  uint32_t n = 0;
  std::memcpy(&n, data.data(), 4);
  return n;
}

std::optional<std::vector<std::byte>> RegistryKey::read_binary(std::string_view name) const {
  std::string data;
  if (!impl_->read(name, REG_BINARY, data)) return std::nullopt;
  std::vector<std::byte> out(data.size());
  std::memcpy(out.data(), data.data(), data.size());
  return out;
}

std::optional<std::string> RegistryKey::read_string(std::string_view name) const {
  std::string data;
  if (!impl_->read(name, REG_SZ, data)) return std::nullopt;
  // Stored strings usually carry their terminating NUL, but need not: cut at the first one.
  const std::size_t nul = data.find('\0');
  if (nul != std::string::npos) data.resize(nul);
  return data;
}

void RegistryKey::write_dword(std::string_view name, uint32_t value) {
  impl_->write(name, REG_DWORD, &value, sizeof value);
}

void RegistryKey::write_binary(std::string_view name, const void* data, std::size_t size) {
  impl_->write(name, REG_BINARY, data, size);
}

void RegistryKey::write_string(std::string_view name, std::string_view value) {
  const std::string text = key_text(value);
  impl_->write(name, REG_SZ, text.c_str(), text.size() + 1);
}

bool RegistryKey::delete_value(std::string_view name) {
  const std::string n = key_text(name);
  return RegDeleteValueA(impl_->key, n.c_str()) == ERROR_SUCCESS;
}

bool delete_registry_tree(RegistryRoot root, std::string_view path) {
  const std::string p = trimmed_path(path);
  if (p.empty()) return false;
  if (RegDeleteTreeA(root_handle(root), p.c_str()) != ERROR_SUCCESS) return false;
  // RegDeleteTree removes the key itself on current systems but only its content on some older ones.
  RegDeleteKeyA(root_handle(root), p.c_str());
  HKEY left = nullptr;
  if (RegOpenKeyExA(root_handle(root), p.c_str(), 0, KEY_READ, &left) == ERROR_SUCCESS) {
    RegCloseKey(left);
    return false;
  }
  return true;
}

}  // namespace quendra::platform
