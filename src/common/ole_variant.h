// The OLE variant that named values travel in: a type code and a value, in the platform's 16-byte layout.
// Text is held as a wide OLE string (type 8) or, as the host's own lists may hold it, a counted 8-bit string
// (type 0x0100). Values of other kinds a host puts in (interfaces, arrays) are copied and cleared by the
// platform; this side only reads them as "not a value".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "quendra/plugin_api.h"

namespace quendra {

enum class VarType : uint16_t {
  Empty = 0,
  Null = 1,
  Int16 = 2,
  Int32 = 3,
  Single = 4,
  Double = 5,
  Currency = 6,  // 64-bit integer scaled by 10000
  Date = 7,      // OLE automation date: days since 1899-12-30, time as the fraction
  OleStr = 8,
  Bool = 11,
  Int8 = 16,
  UInt8 = 17,
  UInt16 = 18,
  UInt32 = 19,
  Int64 = 20,
  UInt64 = 21,
  Int = 22,
  UInt = 23,
  AnsiString = 0x0100,
};

class OleVariant {
 public:
  OleVariant() noexcept : v_{} {}
  OleVariant(const OleVariant& other);
  OleVariant(OleVariant&& other) noexcept : v_(other.v_) { other.v_ = QuendraVariant{}; }
  OleVariant& operator=(const OleVariant& other);
  OleVariant& operator=(OleVariant&& other) noexcept {
    if (this != &other) {
      clear();
      v_ = other.v_;
      other.v_ = QuendraVariant{};
    }
    return *this;
  }
  ~OleVariant() { clear(); }

  static OleVariant null();
  static OleVariant from_int32(int32_t value);
  static OleVariant from_int64(int64_t value);
  static OleVariant from_double(double value);
  static OleVariant from_bool(bool value);
  static OleVariant from_date(double ole_date);
  static OleVariant from_currency_units(int64_t units);  // value * 10000
  // Integers of other widths keep their own type code.
  static OleVariant from_typed_integer(VarType type, int64_t value);
  static OleVariant from_single(float value);
  static OleVariant from_wide(std::u16string_view text);
  // 8-bit text as a wide OLE string, converted through the ANSI code page.
  static OleVariant from_ansi_as_wide(std::string_view text);
  // 8-bit text as a counted 8-bit string (type 0x0100), as hosts may pass it.
  static OleVariant from_ansi_string(std::string_view text);

  // Adopts a raw value (copied deeply); the argument is left as it was.
  static OleVariant copy_of(const QuendraVariant& raw);

  VarType type() const noexcept { return static_cast<VarType>(v_.Type); }
  bool is_empty() const noexcept { return v_.Type == 0; }
  bool is_null() const noexcept { return v_.Type == 1; }
  bool is_missing() const noexcept { return is_empty() || is_null() || (is_text() && text_empty()); }
  bool is_text() const noexcept { return v_.Type == 8 || v_.Type == 0x0100; }
  const QuendraVariant& raw() const noexcept { return v_; }

  // Views of a text value; empty for other types.
  std::u16string_view wide_view() const noexcept;
  std::string_view ansi_view() const noexcept;

  // The value as 8-bit text: texts converted through the ANSI code page, numbers in plain decimal with '.'.
  std::string to_ansi() const;
  // The value as an integer: integer types as they are, texts in decimal (optionally signed, surrounding
  // blanks ignored) or "$"/"0x" hexadecimal, booleans as -1/0. Empty when it is none of these or out of
  // range.
  std::optional<int64_t> to_int64() const;

  // Converts an 8-bit text value (0x0100) into a wide OLE string value; other values stay.
  void widen_ansi_text();
  // Values that own nothing are cleared in place; texts and foreign objects are released first.
  void clear() noexcept {
    if (!is_plain()) release();
    v_ = QuendraVariant{};
  }
  // True when the value owns nothing (no text, no foreign object): its bits alone are a copy of it.
  bool is_plain() const noexcept { return is_plain_type(v_.Type); }
  static bool is_plain_type(uint16_t t) noexcept {
    return t <= static_cast<uint16_t>(VarType::Date) || t == static_cast<uint16_t>(VarType::Bool) ||
           (t >= static_cast<uint16_t>(VarType::Int8) && t <= static_cast<uint16_t>(VarType::UInt));
  }

 private:
  // Frees what a text or foreign value owns; the caller then empties the value.
  void release() noexcept;
  bool text_empty() const noexcept;
  QuendraVariant v_;
};

static_assert(sizeof(OleVariant) == sizeof(QuendraVariant));

}  // namespace quendra
