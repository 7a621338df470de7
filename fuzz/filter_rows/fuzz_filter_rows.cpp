// Fuzzes the packet filter rows and the decision on a block: the input is a stored filter table, a zero
// byte, and a block. Rows read back to themselves once written, and deciding never crashes or hangs, whatever
// the expressions.
//
//   fuzz_filter_rows -dict=fuzz/filter_rows/filter_rows.dict fuzz/filter_rows/corpus
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "quendra/packet_filters.h"
#include "quendra/text_resources.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= 32;
}

// The row as the options dialog would store it: decimal fields, "|" written as "[7C]".
std::string WriteRow(const quendra::TFilterItem& item) {
  std::string expression;
  for (char c : item.Expression) {
    if (c == '|') {
      expression += "[7C]";
    } else {
      expression += c;
    }
  }
  return std::to_string(item.Situation) + "||" + std::to_string(item.MatchType) + "||" + expression + "||" +
         std::to_string(item.Action);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::size_t split = input.find('\0');
  const std::string_view hint = input.substr(0, split);
  const std::string_view block = split == std::string_view::npos ? input : input.substr(split + 1);

  const std::vector<quendra::TFilterItem> items = quendra::ReadPacketFilters(hint);
  std::string written;
  bool text_only = true;
  for (const quendra::TFilterItem& item : items) {
    Check(item.Situation >= 1);
    Check(!item.Expression.empty() && !IsBlank(item.Expression.front()) && !IsBlank(item.Expression.back()));
    Check(item.Expression.find_first_of("\r\n") == std::string::npos);
    Check(item.Expression.find("[7C]") == std::string::npos);  // always replaced by "|"
    if (item.MatchType == 1) text_only = false;
    written += WriteRow(item) + "\r\n";
  }
  Check(quendra::ReadPacketFilters(written) == items);

  quendra::TPacketFilters filters;
  filters.Load(hint);
  Check(filters.Items() == items);
  const quendra::TTextResources texts;
  std::size_t logged = 0;
  const auto log = [&](int type, const std::string&) {
    Check(type == 0);
    ++logged;
  };
  const bool accepted = filters.AcceptBlock(block, texts, log);
  Check(filters.AcceptBlock(block, texts, log) == accepted);  // the same block, the same answer
  Check(logged <= items.size());                              // at most one line per filter and load

  if (text_only) {
    // Without expressions the decision is plain to state: the first row whose condition holds.
    bool expected = true;
    for (const quendra::TFilterItem& item : items) {
      const bool found = item.MatchType == 0 && block.find(item.Expression) != std::string_view::npos;
      if ((item.Situation == 1 && found) || (item.Situation == 2 && !found)) {
        expected = item.Action == 1;
        break;
      }
    }
    Check(accepted == expected);
    Check(logged == 0);
  }
  return 0;
}
