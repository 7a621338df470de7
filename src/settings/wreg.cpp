#include "settings/wreg.h"

#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "component/ascii_text.h"
#include "component/property_binding.h"
#include "component/text_numbers.h"
#include "platform/file_io.h"
#include "platform/named_lock.h"
#include "platform/registry.h"
#include "settings/ini_file.h"
#include "settings/proxy_code_object.h"
#include "settings/setting_escape.h"

namespace quendra {

// Where one entry's value lives, and how each kind is read and written there.
class TWreg::Backend {
 public:
  virtual ~Backend() = default;
  // Moves to the location of the sub-path; false when it cannot be opened (the entry is skipped).
  virtual bool Select(const std::vector<std::string_view>& sub_path, bool save) = 0;
  virtual bool Exists(std::string_view name) = 0;
  // Each read gives nullopt when the value cannot be read as that kind.
  virtual std::optional<std::int64_t> ReadInteger(std::string_view name) = 0;
  virtual std::optional<double> ReadFloat(std::string_view name) = 0;
  virtual std::optional<std::string> ReadText(std::string_view name) = 0;
  // A value that was found unreadable or was refused by its property.
  virtual void Unreadable(std::string_view name) = 0;
  virtual void WriteInteger(std::string_view name, std::int32_t value) = 0;
  virtual void WriteFloat(std::string_view name, double value) = 0;
  virtual void WriteText(std::string_view name, std::string_view value) = 0;
  virtual void Delete(std::string_view name) = 0;
  // Ends the operation; false when the result could not be kept.
  virtual bool Finish() = 0;
};

namespace {

constexpr std::size_t kMaxKeySegments = 255;

std::optional<platform::RegistryRoot> PlatformRoot(TRegistryRoot root) {
  switch (root) {
    case TRegistryRoot::rrHKEY_CLASSES_ROOT:
      return platform::RegistryRoot::ClassesRoot;
    case TRegistryRoot::rrHKEY_CURRENT_USER:
      return platform::RegistryRoot::CurrentUser;
    case TRegistryRoot::rrHKEY_LOCAL_MACHINE:
      return platform::RegistryRoot::LocalMachine;
    case TRegistryRoot::rrHKEY_USERS:
      return platform::RegistryRoot::Users;
    case TRegistryRoot::rrHKEY_CURRENT_CONFIG:
      return platform::RegistryRoot::CurrentConfig;
    case TRegistryRoot::rrNone:
      break;
  }
  return std::nullopt;
}

std::string TrimmedRegistryPath(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  return std::string(path);
}

class RegistryBackend final : public TWreg::Backend {
 public:
  RegistryBackend(platform::RegistryRoot root, std::string path) : root_(root), path_(std::move(path)) {}

  bool Select(const std::vector<std::string_view>& sub_path, bool save) override {
    std::string path = path_;
    for (std::string_view segment : sub_path) path.append("\\").append(segment);
    key_ = platform::RegistryKey::open(root_, path, save);
    return key_.has_value();
  }

  bool Exists(std::string_view name) override { return key_->value_exists(name); }

  std::optional<std::int64_t> ReadInteger(std::string_view name) override {
    const auto v = key_->read_dword(name);
    if (!v) return std::nullopt;
    return static_cast<std::int32_t>(*v);
  }

  std::optional<double> ReadFloat(std::string_view name) override {
    const auto bytes = key_->read_binary(name);
    if (!bytes || bytes->size() != sizeof(double)) return std::nullopt;
    double d = 0;
    std::memcpy(&d, bytes->data(), sizeof d);
    return d;
  }

  std::optional<std::string> ReadText(std::string_view name) override { return key_->read_string(name); }

  // A value of the wrong type would be skipped on every load; deleting it lets the next save write it anew.
  void Unreadable(std::string_view name) override { key_->delete_value(name); }

  void WriteInteger(std::string_view name, std::int32_t value) override {
    Guarded(name, [&] { key_->write_dword(name, static_cast<std::uint32_t>(value)); });
  }
  void WriteFloat(std::string_view name, double value) override {
    Guarded(name, [&] { key_->write_binary(name, &value, sizeof value); });
  }
  void WriteText(std::string_view name, std::string_view value) override {
    Guarded(name, [&] { key_->write_string(name, value); });
  }
  void Delete(std::string_view name) override { key_->delete_value(name); }
  bool Finish() override { return true; }

 private:
  // A failed write may have left a damaged value behind: remove it, then report the failure.
  template <class Write>
  void Guarded(std::string_view name, Write write) {
    try {
      write();
    } catch (...) {
      key_->delete_value(name);
      throw;
    }
  }

  platform::RegistryRoot root_;
  std::string path_;
  std::optional<platform::RegistryKey> key_;
};

class IniBackend final : public TWreg::Backend {
 public:
  IniBackend(std::string file, std::string prefix)
      : lock_(IniFileLockName(file)), file_(std::move(file)), prefix_(std::move(prefix)) {
    // The lock is held from here to the end of the operation, so the file read below is the one the write
    // replaces: another store's save can neither interleave nor be lost.
    lock_.lock();
    try {
      ini_ = IniFile::Load(file_);
    } catch (const std::exception&) {
      // An unreadable file loads nothing, and is never overwritten: a save would otherwise replace every
      // setting it holds with the few this store writes.
      unreadable_ = true;
    }
  }
  ~IniBackend() override { lock_.unlock(); }

  bool Select(const std::vector<std::string_view>& sub_path, bool) override {
    std::string section;
    for (std::string_view segment : sub_path) {
      if (!section.empty()) section += '.';
      section.append(segment);
    }
    if (section.empty()) section = "Common";
    section_ = prefix_.empty() ? section : prefix_ + "." + section;
    return true;
  }

  bool Exists(std::string_view name) override { return ini_.ValueExists(section_, name); }

  // Unreadable numbers read as 0 in INI files, as hand-edited files are expected to hold some.
  std::optional<std::int64_t> ReadInteger(std::string_view name) override {
    const std::string text = ini_.ReadString(section_, name).value_or("");
    const auto n = ParseInteger(text);
    if (!n) return 0;
    if (*n >= std::numeric_limits<std::int32_t>::min() && *n <= std::numeric_limits<std::int32_t>::max())
      return *n;
    // A hexadecimal text names the 32 bits ("0xFFFFFFFF" is -1); larger numbers are unreadable.
    const bool hex = text.find_first_of("xX$") != std::string::npos;
    if (hex && *n > 0 && *n <= 0xFFFFFFFFll) return static_cast<std::int32_t>(static_cast<std::uint32_t>(*n));
    return 0;
  }

  std::optional<double> ReadFloat(std::string_view name) override {
    return ParseFloat(ini_.ReadString(section_, name).value_or("")).value_or(0.0);
  }

  std::optional<std::string> ReadText(std::string_view name) override {
    return ini_.ReadString(section_, name);
  }
  void Unreadable(std::string_view) override {}
  void WriteInteger(std::string_view name, std::int32_t value) override {
    ini_.WriteString(section_, name, std::to_string(value));
  }
  void WriteFloat(std::string_view name, double value) override {
    ini_.WriteString(section_, name, FloatToText(value));
  }
  void WriteText(std::string_view name, std::string_view value) override {
    ini_.WriteString(section_, name, value);
  }
  void Delete(std::string_view name) override { ini_.DeleteKey(section_, name); }

  bool Finish() override {
    if (unreadable_) return false;
    try {
      ini_.SaveIfModified(file_);
      return true;
    } catch (const std::exception&) {
      return false;
    }
  }

 private:
  platform::NamedLock lock_;
  std::string file_;
  std::string prefix_;
  IniFile ini_;
  bool unreadable_ = false;
  std::string section_;
};

bool IsPersistedKind(PropertyKind kind) {
  switch (kind) {
    case PropertyKind::Integer:
    case PropertyKind::Floating:
    case PropertyKind::Enumeration:
    case PropertyKind::Text:
    case PropertyKind::Variant:
    case PropertyKind::Object:
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string IniFileLockName(const std::string& ini_file) {
  std::string name = platform::canonical_file_path(ini_file);
  for (char& c : name) {
    c = AsciiLower(c);
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) c = '_';
  }
  return name;
}

const TClassInfo& TWreg::StaticClass() {
  using binding::EnumField;
  using binding::Field;
  static const std::vector<std::string> roots{"rrHKEY_CLASSES_ROOT",   "rrHKEY_CURRENT_USER",
                                              "rrHKEY_LOCAL_MACHINE",  "rrHKEY_USERS",
                                              "rrHKEY_CURRENT_CONFIG", "rrNone"};
  static const TClassInfo info{
      "TWreg",
      &TComponent::StaticClass(),
      {
          EnumField("RegistryRoot", &TWreg::RegistryRoot, roots),
          EnumField("SecondRegistryRoot", &TWreg::SecondRegistryRoot, roots),
          Field("RegistryPath", &TWreg::RegistryPath),
          Field("INIFile", &TWreg::INIFile),
          Field("INIFileSectionPrefix", &TWreg::INIFileSectionPrefix),
          binding::ObjectAccessor<TWreg>("Components", [](TWreg& w) { return &w.Components(); }),
      }};
  return info;
}

bool TWreg::LoadProperties(TPersistent& target) {
  return Run(target, false);
}
bool TWreg::SaveProperties(TPersistent& target) {
  return Run(target, true);
}

std::unique_ptr<TWreg::Backend> TWreg::OpenBackend(bool save) {
  active_root_ = TRegistryRoot::rrNone;
  if (!INIFile.empty() && (save || platform::file_exists(INIFile))) {
    return std::make_unique<IniBackend>(INIFile, INIFileSectionPrefix);
  }
  const std::string path = TrimmedRegistryPath(RegistryPath);
  if (RegistryRoot == TRegistryRoot::rrNone) return nullptr;
  for (TRegistryRoot root : {RegistryRoot, SecondRegistryRoot}) {
    const auto platform_root = PlatformRoot(root);
    if (!platform_root) continue;
    if (platform::RegistryKey::open(*platform_root, path, save)) {
      active_root_ = root;
      return std::make_unique<RegistryBackend>(*platform_root, path);
    }
  }
  return nullptr;
}

bool TWreg::Run(TPersistent& target, bool save) {
  std::unique_ptr<Backend> backend;
  try {
    backend = OpenBackend(save);
  } catch (const std::exception&) {
    return false;  // The INI file's lock could not be made: nothing is read or written.
  }
  if (!backend) return false;
  const std::vector<std::string>& lines = components_.Lines();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    try {
      ProcessEntry(*backend, target, lines[i], static_cast<int>(i), save);
    } catch (const std::exception&) {
      // One bad entry never stops the others.
    }
  }
  return backend->Finish();
}

void TWreg::ProcessEntry(Backend& backend, TPersistent& target, const std::string& raw_line, int index,
                         bool save) {
  const std::string_view line = TrimBlanks(raw_line);
  if (line.empty() || line.front() == ';') return;

  const std::size_t comma = line.find(',');
  const std::string_view property_path = TrimBlanks(line.substr(0, comma));
  const std::string_view key_path =
      comma == std::string_view::npos ? std::string_view() : TrimBlanks(line.substr(comma + 1));
  if (property_path.empty()) return;

  std::vector<std::string_view> segments;
  for (std::string_view rest = key_path; segments.size() < kMaxKeySegments;) {
    const std::size_t sep = rest.find('\\');
    const std::string_view segment = rest.substr(0, sep);
    if (segment.empty()) break;
    segments.push_back(segment);
    if (sep == std::string_view::npos) break;
    rest.remove_prefix(sep + 1);
  }
  if (segments.empty()) return;
  const std::string_view value_name = segments.back();
  segments.pop_back();
  if (!backend.Select(segments, save)) return;

  std::string name(property_path);
  PropertyRef ref;
  if (dynamic_cast<TProxyCodeCustomObject*>(&target) != nullptr) {
    for (char& c : name) {
      if (c == '.') c = '_';
    }
    if (const PropertyInfo* info = target.FindProperty(name)) ref = PropertyRef{&target, info};
  } else {
    ref = ResolvePropertyPath(target, name);
  }

  bool require = static_cast<bool>(ref);
  bool is_virtual = !ref;
  PropertyKind kind = ref.Kind();
  if (BeforeProcessItem) BeforeProcessItem(*this, name, index, require, is_virtual, kind);
  if (!require || !IsPersistedKind(kind) || (!is_virtual && !ref)) return;

  // A string list is the only kind of object a map names; other objects are left alone.
  TStringList* list = nullptr;
  if (!is_virtual && kind == PropertyKind::Object) {
    if (ref.Kind() != PropertyKind::Object) return;
    list = dynamic_cast<TStringList*>(ref.Object());
    if (list == nullptr) return;
  }

  if (!save) {
    if (!backend.Exists(value_name)) return;
    PropertyValue value;
    if (kind == PropertyKind::Integer) {
      const auto n = backend.ReadInteger(value_name);
      if (!n) return backend.Unreadable(value_name);
      value = *n;
    } else if (kind == PropertyKind::Floating) {
      const auto d = backend.ReadFloat(value_name);
      if (!d) return backend.Unreadable(value_name);
      value = *d;
    } else {
      auto text = backend.ReadText(value_name);
      if (!text) return backend.Unreadable(value_name);
      value = kind == PropertyKind::Variant ? std::move(*text) : UnescapeSettingText(*text);
    }
    if (is_virtual) {
      if (SetValue) SetValue(*this, name, index, value);
      return;
    }
    if (!ref.Info->Writable() && list == nullptr) return;
    try {
      if (list != nullptr) {
        list->SetText(ValueToText(value));
      } else if (kind == PropertyKind::Enumeration) {
        const std::string text = ValueToText(value);
        if (!text.empty()) ref.SetEnumName(text);
      } else {
        ref.Set(value);
      }
    } catch (const EPropertyError&) {
      backend.Unreadable(value_name);  // The property refused the value.
    }
    return;
  }

  PropertyValue value;
  if (is_virtual) {
    if (GetValue) GetValue(*this, name, index, value);
    if (const auto* text = std::get_if<std::string>(&value)) value = EscapeSettingText(*text);
  } else if (list != nullptr) {
    value = EscapeSettingText(list->Text());
  } else if (kind == PropertyKind::Text) {
    value = EscapeSettingText(ValueToText(ref.Get()));
  } else if (kind == PropertyKind::Enumeration) {
    value = ref.EnumName();
  } else {
    value = ref.Get();
  }
  if (IsEmptyValue(value)) return backend.Delete(value_name);
  if (kind == PropertyKind::Integer) {
    backend.WriteInteger(value_name, static_cast<std::int32_t>(ValueToInteger(value)));
  } else if (kind == PropertyKind::Floating) {
    backend.WriteFloat(value_name, ValueToFloat(value));
  } else {
    backend.WriteText(value_name, ValueToText(value));
  }
}

}  // namespace quendra
