// Perl-compatible regular expressions for the packet filters, on PCRE2 (8-bit code units, no UTF).
//
// A filter expression is typed by a user and runs on every block, so a search is bounded: a pattern that
// backtracks without end stops at the match, depth or heap limit and reports LimitHit instead of holding
// the host's data thread. PCRE2 counts its match limit afresh at every start position, so a pattern that
// stays just under it at each of many positions would still run for minutes: a time limit, checked at
// every start position, bounds the whole search.
//
// Not thread-safe: an expression and a search context serve one search at a time; the filter list runs its
// searches under its own lock.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace quendra {

struct RegexLimits {
  // Backtracking steps of one search (counted by the interpreter per start position, by the JIT for the
  // whole search).
  uint32_t Match = 1'000'000;
  // Nested backtracking points of the interpreter.
  uint32_t Depth = 100'000;
  // Heap the interpreter may use for backtracking, in KiB.
  uint32_t HeapKiB = 16 * 1024;
  // Wall-clock time of one search, in milliseconds: far above what any sound pattern needs on a block.
  uint32_t TimeMs = 100;
};

// What one search needs besides the expression: the limits, the JIT's stack and the match state. One serves
// many expressions, one search at a time; searches in parallel need one each (the expression is shared).
class RegexSearchContext {
 public:
  explicit RegexSearchContext(const RegexLimits& limits = {});
  ~RegexSearchContext();
  RegexSearchContext(const RegexSearchContext&) = delete;
  RegexSearchContext& operator=(const RegexSearchContext&) = delete;

  // The engine's text for the last search through this context that did not end in Found or NotFound:
  // "PCRE2 error <code> (match): <message>", or the time limit's own text.
  const std::string& ErrorText() const;

 private:
  friend class FilterRegex;
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

enum class RegexSearchResult : uint8_t {
  NotFound,
  Found,
  LimitHit,  // the search gave up at a limit: whether the expression occurs is unknown
  Failed,    // any other engine failure (e.g. a "(*UTF)" pattern on text that is not UTF-8)
};

class FilterRegex {
 public:
  // Compiles `pattern` with the dot matching line breaks, letter case significant, "^" and "$" at the start
  // and end of the whole text; uses the JIT where the platform has one. Never throws for a bad pattern: the
  // result is then not Valid() and ErrorText() says why (offsets counted in `pattern`).
  explicit FilterRegex(std::string_view pattern);
  ~FilterRegex();
  FilterRegex(const FilterRegex&) = delete;
  FilterRegex& operator=(const FilterRegex&) = delete;

  bool Valid() const;
  // True when searches run the JIT's machine code.
  bool Jitted() const;
  // Why the expression did not compile: "PCRE2 error <code> (compile): <message> at offset <n>".
  const std::string& ErrorText() const { return error_text_; }

  // Looks for a match anywhere in `text`. An invalid expression is never found. Any number of threads may
  // search at once, each with its own context.
  RegexSearchResult Search(std::string_view text, RegexSearchContext& context) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  std::string error_text_;
};

}  // namespace quendra
