#include "quendra/packet_filters.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <optional>

#include "common/thread_containers.h"
#include "quendra/filter_regex.h"
#include "quendra/text_resources.h"
#include "text/format_text.h"
#include "text/number_text.h"

namespace quendra {

namespace {

// Integer fields read as the options dialog writes them; anything unreadable is -1. The row keeps a byte:
// values beyond it saturate, so 257 stays a value that never holds rather than wrapping to 1 "Contains".
int32_t integer_field(std::string_view field) {
  return ParseInt32Text(field).value_or(-1);
}

uint8_t to_byte(int32_t value) {
  return static_cast<uint8_t>(std::min<int32_t>(value, 255));
}

// A stored row writes "|" inside a field as "[7C]", since "||" separates fields.
std::string unescape_bars(std::string_view field) {
  std::string text;
  text.reserve(field.size());
  for (std::size_t at = 0;;) {
    const std::size_t code = field.find("[7C]", at);
    text.append(field.substr(at, code - at));
    if (code == std::string_view::npos) return text;
    text.push_back('|');
    at = code + 4;
  }
}

std::optional<TFilterItem> read_filter(std::string_view line) {
  // Fields after the fourth are ignored; a missing one is empty.
  std::array<std::string, 4> fields;
  for (std::string& field : fields) {
    const std::size_t bar = line.find("||");
    field = Trim(unescape_bars(line.substr(0, bar)));
    if (bar == std::string_view::npos) break;
    line.remove_prefix(bar + 2);
  }
  // Read in field order, stopping at the first invalid one.
  const int32_t situation = integer_field(fields[0]);
  if (situation < 1) return std::nullopt;  // 0 is "Disabled"
  const int32_t match_type = integer_field(fields[1]);
  if (match_type < 0) return std::nullopt;
  if (fields[2].empty()) return std::nullopt;
  const int32_t action = integer_field(fields[3]);
  if (action < 0) return std::nullopt;
  return TFilterItem{to_byte(situation), to_byte(match_type), to_byte(action), std::move(fields[2])};
}

// The reason quoted in the log: the engine's text after its first "): ", trimmed.
std::string_view engine_reason(std::string_view error_text) {
  const std::size_t at = error_text.find("): ");
  return at == std::string_view::npos ? std::string_view() : Trim(error_text.substr(at + 3));
}

}  // namespace

struct TPacketFilters::Compiled {
  explicit Compiled(std::string_view expression) : regex(expression) {}
  FilterRegex regex;
  std::atomic<bool> reported{false};  // a failure of this expression has been logged since the load
};

// A search needs match state of its own; decisions in parallel take one each and give it back.
class TPacketFilters::SearchContexts {
 public:
  // One context, held for one search.
  class Lease {
   public:
    explicit Lease(SearchContexts& owner) : owner_(owner), context_(owner.Take()) {}
    ~Lease() { owner_.Return(std::move(context_)); }
    Lease(const Lease&) = delete;
    Lease& operator=(const Lease&) = delete;
    RegexSearchContext& context() const { return *context_; }

   private:
    SearchContexts& owner_;
    std::unique_ptr<RegexSearchContext> context_;
  };

 private:
  std::unique_ptr<RegexSearchContext> Take() {
    {
      std::lock_guard lock(mutex_);
      if (!free_.empty()) {
        std::unique_ptr<RegexSearchContext> context = std::move(free_.back());
        free_.pop_back();
        return context;
      }
    }
    return std::make_unique<RegexSearchContext>();
  }
  void Return(std::unique_ptr<RegexSearchContext> context) noexcept {
    std::lock_guard lock(mutex_);
    try {
      free_.push_back(std::move(context));
    } catch (...) {
      // Out of memory: this one is simply freed.
    }
  }

  std::mutex mutex_;
  std::vector<std::unique_ptr<RegexSearchContext>> free_;
};

TPacketFilters::TPacketFilters() : search_contexts_(std::make_unique<SearchContexts>()) {}

TPacketFilters::~TPacketFilters() = default;

void TPacketFilters::Load(std::string_view filters_hint) {
  // Read and compile before taking the lock, so a decision in progress waits only for the swap.
  std::vector<TFilterItem> items = ReadPacketFilters(filters_hint);
  std::vector<std::unique_ptr<Compiled>> compiled(items.size());
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].MatchType == static_cast<uint8_t>(FilterMatchType::RegExpr))
      compiled[i] = std::make_unique<Compiled>(items[i].Expression);
  }
  std::unique_lock guard(mutex_);
  items_.swap(items);
  compiled_.swap(compiled);
}

bool TPacketFilters::AcceptBlock(std::string_view text, const TTextResources& texts, const Log& log) {
  bool accept = true;
  std::vector<std::string> messages;  // logged once the lock is released
  {
    std::shared_lock guard(mutex_);
    for (std::size_t i = 0; i < items_.size(); ++i) {
      const TFilterItem& item = items_[i];
      bool found = false;
      if (item.MatchType == static_cast<uint8_t>(FilterMatchType::Text)) {
        found = text.find(item.Expression) != std::string_view::npos;
      } else if (Compiled* compiled = compiled_[i].get()) {
        RegexSearchResult result = RegexSearchResult::Failed;
        std::string_view reason = compiled->regex.ErrorText();
        std::optional<SearchContexts::Lease> lease;
        if (compiled->regex.Valid()) {
          lease.emplace(*search_contexts_);
          result = compiled->regex.Search(text, lease->context());
          reason = lease->context().ErrorText();
        }
        found = result == RegexSearchResult::Found;
        // A bad expression fails the same way on every block: one line tells the user, a line per block
        // would bury the rest of the log.
        if (!found && result != RegexSearchResult::NotFound && !compiled->reported.exchange(true))
          messages.push_back(FormatText(texts.ErrBadRegExp, {item.Expression, engine_reason(reason)}));
      }
      bool holds = false;
      if (item.Situation == static_cast<uint8_t>(FilterSituation::Contains)) holds = found;
      if (item.Situation == static_cast<uint8_t>(FilterSituation::NotContains)) holds = !found;
      if (holds) {
        accept = item.Action == static_cast<uint8_t>(FilterAction::Parse);
        break;
      }
    }
  }
  if (log) {
    for (const std::string& message : messages) log(0, message);
  }
  return accept;
}

std::vector<TFilterItem> TPacketFilters::Items() const {
  std::shared_lock guard(mutex_);
  return items_;
}

std::vector<TFilterItem> ReadPacketFilters(std::string_view filters_hint) {
  std::vector<TFilterItem> items;
  for (const std::string& line : TThreadStringList::SplitLines(filters_hint)) {
    if (auto item = read_filter(line)) items.push_back(std::move(*item));
  }
  return items;
}

}  // namespace quendra
