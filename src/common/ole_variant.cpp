#include "common/ole_variant.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "common/ansi_string.h"
#include "platform/ansi_codepage.h"
#include "platform/ole_string.h"

namespace quendra {

namespace {

// Types this class copies and clears itself: the plain ones and the two kinds of text.
bool is_managed(uint16_t type) {
  return OleVariant::is_plain_type(type) || type == static_cast<uint16_t>(VarType::OleStr) ||
         type == static_cast<uint16_t>(VarType::AnsiString);
}

void copy_raw(QuendraVariant& target, const QuendraVariant& source) {
  switch (static_cast<VarType>(source.Type)) {
    case VarType::OleStr: {
      auto* text = reinterpret_cast<const char16_t*>(source.Value.OleString);
      target = source;
      target.Value.OleString = reinterpret_cast<uint16_t*>(
          text ? platform::ole_string_alloc(text, platform::ole_string_length(text)) : nullptr);
      return;
    }
    case VarType::AnsiString:
      target = source;
      target.Value.AnsiString = ansi::retain(source.Value.AnsiString);
      return;
    default:
      if (is_managed(source.Type)) {
        target = source;
      } else if (!platform::variant_copy_foreign(&target, &source)) {
        target = QuendraVariant{};
      }
  }
}

template <typename T>
std::string decimal(T value) {
  char buffer[32];
  auto end = std::to_chars(buffer, buffer + sizeof buffer, value).ptr;
  return std::string(buffer, end);
}

std::optional<int64_t> parse_integer(std::string_view text) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (text.starts_with('$')) {
    base = 16;
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    base = 16;
    text.remove_prefix(2);
  }
  uint64_t magnitude = 0;
  if (text.empty()) return std::nullopt;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  if (negative) {
    if (magnitude > uint64_t{1} << 63) return std::nullopt;
    return static_cast<int64_t>(0 - magnitude);
  }
  if (magnitude > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) return std::nullopt;
  return static_cast<int64_t>(magnitude);
}

}  // namespace

OleVariant::OleVariant(const OleVariant& other) : v_{} {
  copy_raw(v_, other.v_);
}

OleVariant& OleVariant::operator=(const OleVariant& other) {
  if (this != &other) {
    QuendraVariant copy{};
    copy_raw(copy, other.v_);
    clear();
    v_ = copy;
  }
  return *this;
}

void OleVariant::release() noexcept {
  switch (static_cast<VarType>(v_.Type)) {
    case VarType::OleStr:
      platform::ole_string_free(reinterpret_cast<char16_t*>(v_.Value.OleString));
      break;
    case VarType::AnsiString:
      ansi::release(v_.Value.AnsiString);
      break;
    default:
      if (!is_managed(v_.Type)) platform::variant_clear_foreign(&v_);
  }
}

OleVariant OleVariant::null() {
  OleVariant v;
  v.v_.Type = 1;
  return v;
}

OleVariant OleVariant::from_int32(int32_t value) {
  return from_typed_integer(VarType::Int32, value);
}
OleVariant OleVariant::from_int64(int64_t value) {
  return from_typed_integer(VarType::Int64, value);
}

OleVariant OleVariant::from_typed_integer(VarType type, int64_t value) {
  OleVariant v;
  v.v_.Type = static_cast<uint16_t>(type);
  switch (type) {
    case VarType::Int8:
      v.v_.Value.Int8 = static_cast<int8_t>(value);
      break;
    case VarType::UInt8:
      v.v_.Value.UInt8 = static_cast<uint8_t>(value);
      break;
    case VarType::Int16:
      v.v_.Value.Int16 = static_cast<int16_t>(value);
      break;
    case VarType::UInt16:
      v.v_.Value.Int16 = static_cast<int16_t>(static_cast<uint16_t>(value));
      break;
    case VarType::Int32:
    case VarType::Int:
      v.v_.Value.Int32 = static_cast<int32_t>(value);
      break;
    case VarType::UInt32:
    case VarType::UInt:
      v.v_.Value.Int32 = static_cast<int32_t>(static_cast<uint32_t>(value));
      break;
    default:
      v.v_.Type = static_cast<uint16_t>(VarType::Int64);
      v.v_.Value.Int64 = value;
      break;
  }
  return v;
}

OleVariant OleVariant::from_double(double value) {
  OleVariant v;
  v.v_.Type = static_cast<uint16_t>(VarType::Double);
  v.v_.Value.Double = value;
  return v;
}

OleVariant OleVariant::from_single(float value) {
  OleVariant v;
  v.v_.Type = static_cast<uint16_t>(VarType::Single);
  v.v_.Value.Single = value;
  return v;
}

OleVariant OleVariant::from_bool(bool value) {
  OleVariant v;
  v.v_.Type = static_cast<uint16_t>(VarType::Bool);
  v.v_.Value.Bool = value ? -1 : 0;
  return v;
}

OleVariant OleVariant::from_date(double ole_date) {
  OleVariant v = from_double(ole_date);
  v.v_.Type = static_cast<uint16_t>(VarType::Date);
  return v;
}

OleVariant OleVariant::from_currency_units(int64_t units) {
  OleVariant v;
  v.v_.Type = static_cast<uint16_t>(VarType::Currency);
  v.v_.Value.Int64 = units;
  return v;
}

OleVariant OleVariant::from_wide(std::u16string_view text) {
  OleVariant v;
  v.v_.Value.OleString = reinterpret_cast<uint16_t*>(
      platform::ole_string_alloc(text.data(), static_cast<uint32_t>(text.size())));
  v.v_.Type = static_cast<uint16_t>(VarType::OleStr);
  return v;
}

OleVariant OleVariant::from_ansi_as_wide(std::string_view text) {
  const platform::AnsiCodePage& code_page = platform::AnsiCodePage::System();
  if (!code_page.single_byte()) return from_wide(code_page.ToUtf16(text));
  // One unit per byte: widened straight into the string, without a temporary.
  if (text.size() > UINT32_MAX / sizeof(char16_t) - 4) throw std::bad_alloc();
  char16_t* chars = platform::ole_string_alloc(nullptr, static_cast<uint32_t>(text.size()));
  code_page.WidenSingleByte(text, chars);
  OleVariant v;
  v.v_.Value.OleString = reinterpret_cast<uint16_t*>(chars);
  v.v_.Type = static_cast<uint16_t>(VarType::OleStr);
  return v;
}

OleVariant OleVariant::from_ansi_string(std::string_view text) {
  OleVariant v;
  v.v_.Value.AnsiString = ansi::make(text);
  v.v_.Type = static_cast<uint16_t>(VarType::AnsiString);
  return v;
}

OleVariant OleVariant::copy_of(const QuendraVariant& raw) {
  OleVariant v;
  copy_raw(v.v_, raw);
  return v;
}

std::u16string_view OleVariant::wide_view() const noexcept {
  if (v_.Type != static_cast<uint16_t>(VarType::OleStr) || !v_.Value.OleString) return {};
  auto* text = reinterpret_cast<const char16_t*>(v_.Value.OleString);
  return {text, platform::ole_string_length(text)};
}

std::string_view OleVariant::ansi_view() const noexcept {
  return v_.Type == static_cast<uint16_t>(VarType::AnsiString) ? ansi::view(v_.Value.AnsiString)
                                                               : std::string_view();
}

bool OleVariant::text_empty() const noexcept {
  return wide_view().empty() && ansi_view().empty();
}

std::string OleVariant::to_ansi() const {
  switch (type()) {
    case VarType::OleStr:
      return platform::AnsiCodePage::System().FromUtf16(wide_view());
    case VarType::AnsiString:
      return std::string(ansi_view());
    case VarType::Bool:
      return v_.Value.Bool ? "True" : "False";
    case VarType::Single:
      return decimal(v_.Value.Single);
    case VarType::Double:
    case VarType::Date:
      return decimal(v_.Value.Double);
    case VarType::Currency:
      return decimal(static_cast<double>(v_.Value.Int64) / 10000.0);
    default:
      if (auto n = to_int64()) return decimal(*n);
      return {};
  }
}

std::optional<int64_t> OleVariant::to_int64() const {
  switch (type()) {
    case VarType::Int8:
      return v_.Value.Int8;
    case VarType::UInt8:
      return v_.Value.UInt8;
    case VarType::Int16:
      return v_.Value.Int16;
    case VarType::UInt16:
      return static_cast<uint16_t>(v_.Value.Int16);
    case VarType::Int32:
    case VarType::Int:
      return v_.Value.Int32;
    case VarType::UInt32:
    case VarType::UInt:
      return static_cast<uint32_t>(v_.Value.Int32);
    case VarType::Int64:
      return v_.Value.Int64;
    case VarType::UInt64:
      if (v_.Value.Int64 < 0) return std::nullopt;
      return v_.Value.Int64;
    case VarType::Bool:
      return v_.Value.Bool ? -1 : 0;
    case VarType::Single:
    case VarType::Double: {
      double d = type() == VarType::Single ? v_.Value.Single : v_.Value.Double;
      if (!std::isfinite(d) || std::fabs(d) >= 9.2e18) return std::nullopt;
      return static_cast<int64_t>(std::nearbyint(d));
    }
    case VarType::OleStr:
    case VarType::AnsiString:
      return parse_integer(to_ansi());
    default:
      return std::nullopt;
  }
}

void OleVariant::widen_ansi_text() {
  if (type() == VarType::AnsiString) *this = from_ansi_as_wide(ansi_view());
}

}  // namespace quendra
