// The user's packet filters: before a cut block is returned and parsed, the first filter whose condition
// holds keeps it ("Parse") or drops it ("Ignore"); a block no filter decides for is kept.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <string_view>
#include <vector>

namespace quendra {

class TTextResources;
class RegexSearchContext;

enum class FilterSituation : uint8_t { Disabled = 0, Contains = 1, NotContains = 2 };
enum class FilterMatchType : uint8_t { Text = 0, RegExpr = 1 };
enum class FilterAction : uint8_t { Ignore = 0, Parse = 1 };

struct TFilterItem {
  uint8_t Situation = 0;  // 1 contains, 2 not contains; other positive values never hold
  uint8_t MatchType = 0;  // 0 text, 1 regular expression; other values never find anything
  uint8_t Action = 0;     // 1 keeps the block, anything else drops it
  std::string Expression;

  bool operator==(const TFilterItem&) const = default;
};

class TPacketFilters {
 public:
  using Log = std::function<void(int message_type, const std::string& text)>;

  TPacketFilters();
  ~TPacketFilters();

  // Replaces the filters by the rows of the stored table (one per line, fields separated by "||", "[7C]"
  // standing for "|"); invalid rows are skipped.
  void Load(std::string_view filters_hint);
  // True when the block is to be processed. A regular expression that does not compile, or whose search
  // gives up at the engine's limits, counts as not found; either is logged with the message table's
  // ErrBadRegExp once per filter and load, not once per block. `log` is called after the lock is released.
  bool AcceptBlock(std::string_view text, const TTextResources& texts, const Log& log);

  std::vector<TFilterItem> Items() const;

 private:
  struct Compiled;
  class SearchContexts;
  // Shared by decisions, which run in parallel (data sources have threads of their own), and held alone by
  // a reload.
  mutable std::shared_mutex mutex_;
  std::vector<TFilterItem> items_;
  std::vector<std::unique_ptr<Compiled>> compiled_;  // per item; null for text filters
  std::unique_ptr<SearchContexts> search_contexts_;  // match state for the searches running at a time
};

// Reads the stored table into filter rows, skipping invalid ones.
std::vector<TFilterItem> ReadPacketFilters(std::string_view filters_hint);

}  // namespace quendra
