// Several threads reading dates under different locales and translating with one shared table, the
// way data calls for different data sources do. Run under TSan (label "concurrency").
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "text/date_template.h"
#include "text/translation_table.h"

namespace quendra {
namespace {

struct LocaleRead {
  std::int32_t lcid;
  const char* tmpl;
  const char* text;
};

TEST(TextConcurrency, LocalesAndTablesShareNothingMutable) {
  // Each reads 7 March 2021 (day 44262) under its own locale; 12345 falls back to the current one.
  const LocaleRead reads[] = {
      {1033, "DD MMMM YYYY", "07 March 2021"},
      {1031, "D. MMMM YYYY", "7. M\xE4rz 2021"},
      {1036, "DDDD D MMMM YYYY", "dimanche 7 mars 2021"},
      {12345, "DD.MM.YYYY", "07.03.2021"},
  };
  // Upper case, and ";" becomes CR LF. (Built with push_back: assigning literals into the sized vector
  // trips a false -Wrestrict of mingw g++ 12 at -O3.)
  std::vector<std::string> lines{"N", "N", "1"};
  while (lines.size() < 3 + 59) lines.emplace_back();
  lines.emplace_back("S#0D#0A");
  TzelTranslationTable table;
  table.LoadFromStrings(lines);

  std::atomic<int> failures{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 8; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        const LocaleRead& r = reads[(t + i) % 4];
        if (DateTimeFromTemplate(r.tmpl, r.lcid, r.text, false, false) != 44262.0) ++failures;
        if (table.Translate("a;b") != "A\r\nB") ++failures;
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 0);
}

}  // namespace
}  // namespace quendra
