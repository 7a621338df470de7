// The call record every export receives, the module roles it names, and the record check.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "quendra/plugin_api.h"

namespace quendra {

using TPluginCallRec = QuendraCallRec;
using PPluginCallRec = QuendraCallRec*;

#if defined(_WIN32) && !defined(_WIN64)
// The i686 product shares this exact layout with its hosts.
static_assert(sizeof(TPluginCallRec) == 102);
static_assert(offsetof(TPluginCallRec, ReleaseFlag) == 4 && offsetof(TPluginCallRec, Handle) == 5 &&
              offsetof(TPluginCallRec, SenderID) == 9 && offsetof(TPluginCallRec, DataSourceID) == 13 &&
              offsetof(TPluginCallRec, ClientID) == 17 && offsetof(TPluginCallRec, ModuleTypes) == 21 &&
              offsetof(TPluginCallRec, Params) == 22 && offsetof(TPluginCallRec, Reserved26) == 26 &&
              offsetof(TPluginCallRec, DataSize) == 30 && offsetof(TPluginCallRec, DataType) == 34 &&
              offsetof(TPluginCallRec, Data) == 35 && offsetof(TPluginCallRec, Reserved39) == 39 &&
              offsetof(TPluginCallRec, ResultSize) == 43 && offsetof(TPluginCallRec, ResultType) == 47 &&
              offsetof(TPluginCallRec, ResultValue) == 48 && offsetof(TPluginCallRec, DataSourceName) == 52);
#endif

constexpr int32_t kCallRecSize = sizeof(TPluginCallRec);

enum class TModuleType : uint8_t {
  mttDataQuery,
  mttDataParser,
  mttDataExport,
  mttEventsHandling,
  mttLogging,
  mttFilter,
  mttDeviceLayer,
  mttMenuExt,
};
constexpr int kModuleTypeCount = 8;

// One-byte set of module roles, bit n for member n.
class TModuleTypes {
 public:
  constexpr TModuleTypes() = default;
  constexpr TModuleTypes(std::initializer_list<TModuleType> types) {
    for (TModuleType t : types) bits_ |= bit(t);
  }
  static constexpr TModuleTypes from_bits(uint8_t bits) {
    TModuleTypes set;
    set.bits_ = bits;
    return set;
  }
  constexpr bool contains(TModuleType t) const { return bits_ & bit(t); }
  constexpr bool empty() const { return bits_ == 0; }
  constexpr uint8_t bits() const { return bits_; }
  constexpr bool operator==(const TModuleTypes&) const = default;

 private:
  static constexpr uint8_t bit(TModuleType t) { return static_cast<uint8_t>(1u << static_cast<unsigned>(t)); }
  uint8_t bits_ = 0;
};

enum class TModuleOption : uint8_t { moNoConfig, moXMLOptions };
using TModuleOptions = uint8_t;  // bit n for option n

constexpr int32_t ModuleTypesToInt(TModuleTypes types) { return types.bits(); }
// Members 0 to 7 whose bit is set; higher bits are ignored.
constexpr TModuleTypes ModuleTypesFromInt(int32_t value) {
  return TModuleTypes::from_bits(static_cast<uint8_t>(value & 0xFF));
}

// Valid: not null, RecSize is the record's size, and Params is given unless this is a release request.
bool IsValidCallRec(const TPluginCallRec* rec) noexcept;

// DataSourceName: zero-terminated or filling its 50-byte field.
std::string_view DataSourceNameOf(const TPluginCallRec& rec) noexcept;

}  // namespace quendra
