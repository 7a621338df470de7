#include "quendra/filter_regex.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <new>

namespace quendra {

namespace {

// The JIT's own stack: 32 KiB to start, grown on demand up to a bound that, like the limits, ends a search
// that would otherwise nest without end.
constexpr PCRE2_SIZE kJitStackStart = 32 * 1024;
constexpr PCRE2_SIZE kJitStackMax = 1024 * 1024;

std::string engine_error(int code, const char* stage, std::string_view detail = {}) {
  std::array<PCRE2_UCHAR, 256> message{};
  const int length = pcre2_get_error_message(code, message.data(), message.size());
  std::string text = "PCRE2 error " + std::to_string(code) + " (" + stage + "): ";
  if (length > 0)
    text.append(reinterpret_cast<const char*>(message.data()), static_cast<std::size_t>(length));
  text.append(detail);
  return text;
}

using Clock = std::chrono::steady_clock;

// Callout number 0 in front of the pattern: called at every start position the search tries.
constexpr std::string_view kStartCallout = "(?C)";

// Start-of-pattern options ("(*UTF)", "(*LIMIT_MATCH=100)", ...) must stay first: the length of those at
// the front of `pattern`. Backtracking verbs such as "(*FAIL)" are part of the pattern proper.
std::size_t leading_options(std::string_view pattern) {
  static constexpr std::string_view kVerbs[] = {"ACCEPT", "FAIL", "F", "COMMIT", "PRUNE", "SKIP", "THEN"};
  std::size_t at = 0;
  while (pattern.substr(at, 2) == "(*") {
    std::size_t end = at + 2;
    while (end < pattern.size() && ((pattern[end] >= 'A' && pattern[end] <= 'Z') || pattern[end] == '_'))
      ++end;
    const std::string_view name = pattern.substr(at + 2, end - at - 2);
    if (end < pattern.size() && pattern[end] == '=') {
      ++end;
      while (end < pattern.size() && pattern[end] >= '0' && pattern[end] <= '9') ++end;
    }
    if (name.empty() || end >= pattern.size() || pattern[end] != ')') break;
    if (std::find(std::begin(kVerbs), std::end(kVerbs), name) != std::end(kVerbs)) break;
    at = end + 1;
  }
  return at;
}

bool is_limit(int code) {
  return code == PCRE2_ERROR_MATCHLIMIT || code == PCRE2_ERROR_DEPTHLIMIT || code == PCRE2_ERROR_HEAPLIMIT ||
         code == PCRE2_ERROR_JIT_STACKLIMIT;
}

}  // namespace

struct RegexSearchContext::Impl {
  pcre2_match_context* match = nullptr;
  pcre2_jit_stack* jit_stack = nullptr;
  // A found/not-found answer needs only the whole match's pair, whatever the pattern captures.
  pcre2_match_data* match_data = nullptr;
  std::string error_text;  // the last search's failure
  Clock::duration time_limit{};
  // The search in progress: its deadline, the start positions tried, whether the deadline ended it.
  Clock::time_point deadline;
  uint32_t positions = 0;
  bool timed_out = false;

  static int OnStartPosition(pcre2_callout_block*, void* data) {
    Impl& self = *static_cast<Impl*>(data);
    // Reading the clock costs more than most attempts at one position: read it at every 4th. One attempt
    // is bounded by the match limit, so the deadline is still noticed soon after it passes.
    if (++self.positions % 4 != 0 || Clock::now() < self.deadline) return 0;
    self.timed_out = true;
    return PCRE2_ERROR_MATCHLIMIT;  // any negative value ends the search with that result
  }

  ~Impl() {
    pcre2_match_data_free(match_data);
    pcre2_jit_stack_free(jit_stack);
    pcre2_match_context_free(match);
  }
};

RegexSearchContext::RegexSearchContext(const RegexLimits& limits) : impl_(std::make_unique<Impl>()) {
  impl_->match = pcre2_match_context_create(nullptr);
  if (!impl_->match) throw std::bad_alloc();
  pcre2_set_match_limit(impl_->match, limits.Match);
  pcre2_set_depth_limit(impl_->match, limits.Depth);
  pcre2_set_heap_limit(impl_->match, limits.HeapKiB);
  impl_->time_limit = std::chrono::milliseconds(limits.TimeMs);
  pcre2_set_callout(impl_->match, &Impl::OnStartPosition, impl_.get());
  // Without a stack of its own the JIT uses 32 KiB of the calling thread's; a failed allocation leaves it so.
  impl_->jit_stack = pcre2_jit_stack_create(kJitStackStart, kJitStackMax, nullptr);
  if (impl_->jit_stack) pcre2_jit_stack_assign(impl_->match, nullptr, impl_->jit_stack);
  impl_->match_data = pcre2_match_data_create(1, nullptr);
  if (!impl_->match_data) throw std::bad_alloc();
}

RegexSearchContext::~RegexSearchContext() = default;

const std::string& RegexSearchContext::ErrorText() const {
  return impl_->error_text;
}

struct FilterRegex::Impl {
  pcre2_code* code = nullptr;
  bool jitted = false;

  ~Impl() { pcre2_code_free(code); }
};

FilterRegex::FilterRegex(std::string_view pattern) : impl_(std::make_unique<Impl>()) {
  // The start callout goes after the pattern's own start options; callouts do not hide a leading "^" or
  // literal from the engine's start-of-match optimisations.
  const std::size_t insert_at = leading_options(pattern);
  std::string source;
  source.reserve(pattern.size() + kStartCallout.size());
  source.append(pattern.substr(0, insert_at)).append(kStartCallout).append(pattern.substr(insert_at));
  pcre2_compile_context* compile = pcre2_compile_context_create(nullptr);
  if (!compile) throw std::bad_alloc();
  // Data sources end lines with CR LF as often as with LF: "(?m)$" should see both.
  pcre2_set_newline(compile, PCRE2_NEWLINE_ANYCRLF);
  int error_code = 0;
  PCRE2_SIZE error_offset = 0;
  impl_->code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(source.data()), source.size(),
                              PCRE2_DOTALL | PCRE2_DOLLAR_ENDONLY, &error_code, &error_offset, compile);
  pcre2_compile_context_free(compile);
  if (!impl_->code) {
    if (error_offset > insert_at) error_offset -= std::min(error_offset - insert_at, kStartCallout.size());
    error_text_ = engine_error(error_code, "compile", " at offset " + std::to_string(error_offset));
    return;
  }
  // The JIT is an acceleration only: where it is missing or refuses the pattern the interpreter matches.
  // "(*NO_JIT)" makes the compilation succeed without machine code, hence the size check.
  std::size_t jit_size = 0;
  impl_->jitted = pcre2_jit_compile(impl_->code, PCRE2_JIT_COMPLETE) == 0 &&
                  pcre2_pattern_info(impl_->code, PCRE2_INFO_JITSIZE, &jit_size) == 0 && jit_size > 0;
}

FilterRegex::~FilterRegex() = default;

bool FilterRegex::Valid() const {
  return impl_->code != nullptr;
}

bool FilterRegex::Jitted() const {
  return impl_->jitted;
}

RegexSearchResult FilterRegex::Search(std::string_view text, RegexSearchContext& context) const {
  if (!impl_->code) return RegexSearchResult::NotFound;
  // This PCRE2 refuses a null subject even when it is empty.
  const char* subject = text.data() ? text.data() : "";
  RegexSearchContext::Impl& search = *context.impl_;
  search.deadline = Clock::now() + search.time_limit;
  search.positions = 0;
  search.timed_out = false;
  // 0 means a match whose pairs did not fit the match data: still a match.
  const int rc = pcre2_match(impl_->code, reinterpret_cast<PCRE2_SPTR>(subject), text.size(), 0, 0,
                             search.match_data, search.match);
  if (rc >= 0) return RegexSearchResult::Found;
  if (rc == PCRE2_ERROR_NOMATCH || rc == PCRE2_ERROR_PARTIAL) return RegexSearchResult::NotFound;
  search.error_text =
      search.timed_out ? "Search stopped (match): time limit exceeded" : engine_error(rc, "match");
  return is_limit(rc) ? RegexSearchResult::LimitHit : RegexSearchResult::Failed;
}

}  // namespace quendra
