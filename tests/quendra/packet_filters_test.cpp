#include "quendra/packet_filters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "quendra/filter_regex.h"
#include "quendra/text_resources.h"

namespace quendra {

// Found by GoogleTest through the type's namespace.
void PrintTo(const TFilterItem& item, std::ostream* out) {
  *out << "{" << int(item.Situation) << ", " << int(item.MatchType) << ", " << int(item.Action) << ", \""
       << item.Expression << "\"}";
}

namespace {

// Runs blocks through a filter list and keeps what it logs.
class FilterFixture {
 public:
  explicit FilterFixture(std::string_view hint) { filters.Load(hint); }

  bool Accept(std::string_view block) {
    return filters.AcceptBlock(block, texts, [this](int type, const std::string& text) {
      EXPECT_EQ(type, 0);
      logged.push_back(text);
    });
  }

  TPacketFilters filters;
  TTextResources texts;
  std::vector<std::string> logged;
};

struct ReadCase {
  const char* name;
  std::string hint;
  std::vector<TFilterItem> items;
};

TEST(ReadPacketFilters, StoredRows) {
  const ReadCase cases[] = {
      {"empty table", "", {}},
      {"two rows, CR LF", "1||0||ERR||0\r\n1||0||<Data||1", {{1, 0, 0, "ERR"}, {1, 0, 1, "<Data"}}},
      {"lone CR and LF end lines too",
       "1||0||a||0\r2||1||b||1\n1||0||c||0",
       {{1, 0, 0, "a"}, {2, 1, 1, "b"}, {1, 0, 0, "c"}}},
      {"blank lines are skipped", "\r\n\r\n1||0||a||0\r\n\r\n", {{1, 0, 0, "a"}}},
      {"disabled row is not loaded", "0||1||x||1\r\n1||1||<t>[0-9]+</t>||1", {{1, 1, 1, "<t>[0-9]+</t>"}}},
      {"[7C] writes a bar", "1||0||a[7C]b||0", {{1, 0, 0, "a|b"}}},
      {"two [7C] write a double bar", "1||0||[7C][7C]||0", {{1, 0, 0, "||"}}},
      {"unfinished code stays", "1||0||a[7C||0", {{1, 0, 0, "a[7C"}}},
      {"a double bar splits the expression", "1||0||a||b||0", {}},
      {"a single bar stays in the field", "1||1||a|b||0", {{1, 1, 0, "a|b"}}},
      {"fields are trimmed", " 1 ||\t0 ||  x y  || 1 ", {{1, 0, 1, "x y"}}},
      {"blank expression", "1||0||   ||0", {}},
      {"empty expression", "1||0||||0", {}},
      {"missing action", "1||0||x", {}},
      {"missing everything after the situation", "1", {}},
      {"fields after the fourth are ignored", "1||0||x||0||9||junk", {{1, 0, 0, "x"}}},
      {"unknown situation loads", "3||0||x||0", {{3, 0, 0, "x"}}},
      {"unknown match type loads", "1||7||x||0", {{1, 7, 0, "x"}}},
      {"unknown action loads", "1||0||x||2", {{1, 0, 2, "x"}}},
      {"negative situation", "-1||0||x||0", {}},
      {"unreadable situation", "one||0||x||0", {}},
      {"negative match type", "1||-1||x||0", {}},
      {"unreadable match type", "1||text||x||0", {}},
      {"negative action", "1||0||x||-1", {}},
      {"unreadable action", "1||0||x||parse", {}},
      {"values beyond a byte saturate", "257||256||x||513", {{255, 255, 255, "x"}}},
  };
  for (const ReadCase& c : cases) {
    EXPECT_EQ(ReadPacketFilters(c.hint), c.items) << c.name;
  }
}

TEST(TPacketFilters, ItemsAreTheLoadedRowsAndALoadReplacesThem) {
  TPacketFilters filters;
  EXPECT_TRUE(filters.Items().empty());
  filters.Load("1||0||a||0\r\n0||0||b||0\r\n2||1||c||1");
  EXPECT_EQ(filters.Items(), (std::vector<TFilterItem>{{1, 0, 0, "a"}, {2, 1, 1, "c"}}));
  filters.Load("1||0||d||1");
  EXPECT_EQ(filters.Items(), (std::vector<TFilterItem>{{1, 0, 1, "d"}}));
  filters.Load("");
  EXPECT_TRUE(filters.Items().empty());
}

struct DecisionCase {
  const char* name;
  std::string hint;
  std::string block;
  bool accepted;
};

TEST(TPacketFilters, Decisions) {
  const std::string error_then_data = "1||0||ERR||0\r\n1||0||<Data||1";
  const std::string digits_or_drop = "1||1||<t>[0-9]+</t>||1\r\n1||0||<Data||0";
  const DecisionCase cases[] = {
      {"no filters", "", "<Data>anything</Data>", true},
      {"no filters, empty block", "", "", true},
      {"first filter drops", error_then_data, "<Data>ERR</Data>", false},
      {"second filter keeps", error_then_data, "<Data>ok</Data>", true},
      {"no filter decides", error_then_data, "<Other>ok</Other>", true},
      {"not contains drops", "2||0||<ok/>||0", "<Data><a/></Data>", false},
      {"not contains, found: nobody decides", "2||0||<ok/>||0", "<Data><ok/></Data>", true},
      {"regular expression keeps", digits_or_drop, "<Data><t>42</t></Data>", true},
      {"regular expression misses, next drops", digits_or_drop, "<Data><t>x</t></Data>", false},
      {"[7C] bar found", "1||0||a[7C]b||0", "<Data>a|b</Data>", false},
      {"[7C] bar not found", "1||0||a[7C]b||0", "<Data>ab</Data>", true},
      {"text is case-sensitive", "1||0||error||0", "<Data>ERROR</Data>", true},
      {"text found", "1||0||error||0", "<Data>error</Data>", false},
      {"text with a byte above 127", "1||0||\xE9t\xE9||0", "<Data>\xE9t\xE9</Data>", false},
      {"dot matches a line break", "1||1||a.b||0", "a\nb", false},
      {"dot matches CR", "1||1||a.b||0", "a\rb", false},
      {"caret at the start of the block", "1||1||^<Data||0", "<Data a='1'/>", false},
      {"caret not after a line break", "1||1||^<Data||0", "x\n<Data/>", true},
      {"dollar at the very end", "1||1||Data>$||0", "<Data></Data>", false},
      {"dollar not before a final line break", "1||1||Data>$||0", "<Data></Data>\n", true},
      {"dollar not at a line end", "1||1||a$||0", "a\nb", true},
      {"regular expression is case-sensitive", "1||1||DATA||0", "<Data/>", true},
      {"inline option may ignore case", "1||1||(?i)DATA||0", "<Data/>", false},
      {"inline multi-line option", "1||1||(?m)^b$||0", "a\r\nb\r\nc", false},
      {"match anywhere", "1||1||[0-9]{3}||0", "<Data>x123y</Data>", false},
      {"alternation written with [7C]", "1||1||foo[7C]bar||0", "<Data>bar</Data>", false},
      {"bytes above 127 are single characters", "1||1||^.\\xFF$||0", "a\xFF", false},
      {"a zero byte in the block", "1||1||a\\x00b||0", std::string("a\0b", 3), false},
      {"text sees past a zero byte", "1||0||b||0", std::string("a\0b", 3), false},
      {"unknown situation never decides", "3||0||x||0", "x", true},
      {"unknown situation, then a deciding row", "3||0||x||1\r\n1||0||x||0", "x", false},
      {"unknown match type never finds", "1||7||x||0", "x", true},
      {"unknown match type with not contains drops", "2||7||x||0", "x", false},
      {"unknown action drops", "1||0||x||2", "x", false},
      {"first deciding row wins", "1||0||a||1\r\n1||0||a||0", "a", true},
      {"first deciding row wins, the other way", "1||0||a||0\r\n1||0||a||1", "a", false},
      {"not contains on an empty block", "2||0||x||0", "", false},
      {"regular expression on an empty block", "1||1||^$||0", "", false},
  };
  for (const DecisionCase& c : cases) {
    FilterFixture fixture(c.hint);
    EXPECT_EQ(fixture.Accept(c.block), c.accepted) << c.name;
    EXPECT_TRUE(fixture.logged.empty()) << c.name << ": " << fixture.logged.front();
  }
}

struct FailureCase {
  const char* name;
  std::string hint;
  std::string block;
  bool accepted;
  std::string logged;
};

TEST(TPacketFilters, InvalidExpressionsCountAsNotFoundAndAreLogged) {
  const FailureCase cases[] = {
      {"contains: nobody decides", "1||1||([||0", "<Data/>", true,
       "An invalid regular expression ([ [missing terminating ] for character class at offset 2]. Please, "
       "use "
       "valid regexp syntax."},
      {"not contains: drops", "2||1||([||0", "<Data/>", false,
       "An invalid regular expression ([ [missing terminating ] for character class at offset 2]. Please, "
       "use "
       "valid regexp syntax."},
      {"a later row decides", "1||1||a)||0\r\n1||0||Data||0", "<Data/>", false,
       "An invalid regular expression a) [unmatched closing parenthesis at offset 1]. Please, use valid "
       "regexp "
       "syntax."},
      {"[7C] inside the expression", "1||1||(a[7C]||1", "a", true,
       "An invalid regular expression (a| [missing closing parenthesis at offset 3]. Please, use valid "
       "regexp "
       "syntax."},
  };
  for (const FailureCase& c : cases) {
    FilterFixture fixture(c.hint);
    EXPECT_EQ(fixture.Accept(c.block), c.accepted) << c.name;
    EXPECT_EQ(fixture.logged, std::vector<std::string>{c.logged}) << c.name;
  }
}

TEST(TPacketFilters, AFailingExpressionIsLoggedOncePerLoad) {
  FilterFixture fixture("1||1||([||0\r\n1||1||a)||0");
  for (int block = 0; block < 3; ++block) EXPECT_TRUE(fixture.Accept("<Data/>"));
  ASSERT_EQ(fixture.logged.size(), 2u);  // one line per filter, not per block
  EXPECT_NE(fixture.logged[0].find(" ([ ["), std::string::npos);
  EXPECT_NE(fixture.logged[1].find(" a) ["), std::string::npos);
  fixture.filters.Load("1||1||([||0");
  EXPECT_TRUE(fixture.Accept("<Data/>"));
  EXPECT_TRUE(fixture.Accept("<Data/>"));
  EXPECT_EQ(fixture.logged.size(), 3u);
}

TEST(TPacketFilters, TheMessageComesFromTheMessageTable) {
  FilterFixture fixture("1||1||([||0");
  fixture.texts.ErrBadRegExp = "Ausdruck %s ist ung\xFCltig: %s";
  fixture.Accept("x");
  EXPECT_EQ(fixture.logged, std::vector<std::string>{
                                "Ausdruck ([ ist ung\xFCltig: missing terminating ] for character class at "
                                "offset 2"});
}

TEST(TPacketFilters, NoLogCallbackIsAllowed) {
  TPacketFilters filters;
  TTextResources texts;
  filters.Load("2||1||([||0");
  EXPECT_FALSE(filters.AcceptBlock("x", texts, nullptr));
}

// Catastrophic backtracking: without limits this search would run for longer than the universe.
TEST(TPacketFilters, ABacktrackingExpressionStopsAtTheLimitAndIsLoggedOnce) {
  const std::string block = std::string(100 * 1024, 'a') + "b";
  for (const std::string pattern : {"(a+)+$", "(*NO_JIT)(a+)+$"}) {
    FilterFixture fixture("2||1||" + pattern + "||0\r\n1||1||" + pattern + "||0");
    // Both rows count the expression as not found: the first drops the block.
    EXPECT_FALSE(fixture.Accept(block)) << pattern;
    EXPECT_FALSE(fixture.Accept(block)) << pattern;
    ASSERT_EQ(fixture.logged.size(), 1u) << pattern;
    const std::string& line = fixture.logged[0];
    const std::string head = "An invalid regular expression " + pattern + " [";
    const std::string tail = "]. Please, use valid regexp syntax.";
    EXPECT_EQ(line.substr(0, head.size()), head);
    ASSERT_GT(line.size(), head.size() + tail.size());
    EXPECT_EQ(line.substr(line.size() - tail.size()), tail);
    EXPECT_NE(line.find("limit"), std::string::npos) << line;
  }
}

// Decisions of several data sources share one filter list, its expressions and their search state, while
// the configuration reloads it: every decision sees one whole table, old or new.
TEST(TPacketFilters, DecisionsAndReloadsFromSeveralThreads) {
  const std::string tables[] = {"1||1||^<D[a-z]+ ok||1\r\n2||1||<t>[0-9]+</t>||0\r\n1||0||<D||0",
                                "2||0||<t>||0\r\n1||1||(?<=<)Data ok||1\r\n1||1||D.*||0"};
  TPacketFilters filters;
  filters.Load(tables[0]);
  TTextResources texts;
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::vector<std::thread> deciders;
  for (int t = 0; t < 3; ++t) {
    deciders.emplace_back([&] {
      for (int i = 0; i < 2000; ++i) {
        // Both tables keep the first block and drop the second.
        if (!filters.AcceptBlock("<Data ok><t>1</t></Data>", texts, nullptr)) ++wrong;
        if (filters.AcceptBlock("<Data><t>x</t></Data>", texts, nullptr)) ++wrong;
      }
    });
  }
  std::thread loader([&] {
    for (int i = 0; !stop; ++i) filters.Load(tables[i % 2]);
  });
  for (std::thread& decider : deciders) decider.join();
  stop = true;
  loader.join();
  EXPECT_EQ(wrong, 0);
}

// Decisions run in parallel: a failing expression is still told once, whichever thread meets it first.
TEST(TPacketFilters, AFailureMetOnSeveralThreadsIsLoggedOnce) {
  TPacketFilters filters;
  filters.Load("2||1||(*UTF)a.b||0");
  TTextResources texts;
  std::atomic<int> logged{0};
  const TPacketFilters::Log log = [&](int, const std::string&) { ++logged; };
  std::vector<std::thread> deciders;
  for (int t = 0; t < 4; ++t) {
    deciders.emplace_back([&] {
      for (int i = 0; i < 500; ++i)
        filters.AcceptBlock(
            "a\xE9"
            "b",
            texts, log);
    });
  }
  for (std::thread& decider : deciders) decider.join();
  EXPECT_EQ(logged, 1);
}

// The match limit counts afresh at every start position: a pattern that stays under it at each of 100000
// positions would search for minutes without the time limit.
TEST(FilterRegex, ASearchJustUnderTheMatchLimitAtEveryPositionStopsAtTheTimeLimit) {
  const std::string block = std::string(100 * 1024, 'a') + "b";
  RegexSearchContext context;
  for (const char* pattern : {"(?:a|a){0,14}b(*FAIL)", "(*NO_JIT)(?:a|a){0,14}b(*FAIL)"}) {
    FilterRegex regex(pattern);
    ASSERT_TRUE(regex.Valid()) << pattern;
    EXPECT_EQ(regex.Search(block, context), RegexSearchResult::LimitHit) << pattern;
    EXPECT_EQ(context.ErrorText(), "Search stopped (match): time limit exceeded") << pattern;
    // The next search starts with a fresh allowance.
    EXPECT_EQ(regex.Search("aab", context), RegexSearchResult::NotFound) << pattern;
  }
}

TEST(FilterRegex, StartOptionsStayInFrontAndOffsetsCountInThePattern) {
  struct Case {
    const char* pattern;
    const char* text;
    RegexSearchResult result;
    const char* error;  // after a failed compilation
  };
  const Case cases[] = {
      {"(*UTF)(*NO_JIT)a.b",
       "a\xC3\xA9"
       "b",
       RegexSearchResult::Found, nullptr},
      {"(*LIMIT_MATCH=1000)(a+)+$", "aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", RegexSearchResult::LimitHit, nullptr},
      {"(*CRLF)(?m)^b$", "a\r\nb\r\nc", RegexSearchResult::Found, nullptr},
      {"(*FAIL)|x", "x", RegexSearchResult::Found, nullptr},
      {"(*COMMIT)b", "ab", RegexSearchResult::Found, nullptr},  // the start optimisation skips "a"
      {"(*NO_START_OPT)(*COMMIT)b", "ab", RegexSearchResult::NotFound, nullptr},
      {"(*ACCEPT)", "", RegexSearchResult::Found, nullptr},
      {"(*UTF)([", "", RegexSearchResult::NotFound,
       "PCRE2 error 106 (compile): missing terminating ] for character class at offset 8"},
      {"*a", "", RegexSearchResult::NotFound,
       "PCRE2 error 109 (compile): quantifier does not follow a repeatable item at offset 0"},
      {"a)", "", RegexSearchResult::NotFound,
       "PCRE2 error 122 (compile): unmatched closing parenthesis at offset 1"},
      {"(*BOGUS)a", "", RegexSearchResult::NotFound,
       "PCRE2 error 160 (compile): (*VERB) not recognized or malformed at offset 7"},
  };
  RegexSearchContext context;
  for (const Case& c : cases) {
    FilterRegex regex(c.pattern);
    EXPECT_EQ(regex.Valid(), c.error == nullptr) << c.pattern;
    if (c.error) {
      EXPECT_EQ(regex.ErrorText(), c.error) << c.pattern;
    }
    EXPECT_EQ(regex.Search(c.text, context), c.result) << c.pattern;
  }
}

TEST(FilterRegex, LimitsLeaveRoomForOrdinaryPatternsOnLargeBlocks) {
  std::string block;
  for (int i = 0; i < 8000; ++i) block += "ab";
  block += "c";
  RegexSearchContext context;
  for (const char* pattern :
       {"^(?:a|b)*c$", "(*NO_JIT)^(?:a|b)*c$", "(*NO_JIT)^(a|b)*c$", "(*NO_JIT)(ab)+c"}) {
    FilterRegex regex(pattern);
    ASSERT_TRUE(regex.Valid()) << pattern;
    EXPECT_EQ(regex.Search(block, context), RegexSearchResult::Found)
        << pattern << ": " << context.ErrorText();
    EXPECT_EQ(regex.Search(block.substr(0, block.size() - 1), context), RegexSearchResult::NotFound)
        << pattern;
  }
}

TEST(FilterRegex, ResultsAndErrorTexts) {
  RegexSearchContext context;
  FilterRegex bad("([");
  EXPECT_FALSE(bad.Valid());
  EXPECT_EQ(bad.ErrorText(),
            "PCRE2 error 106 (compile): missing terminating ] for character class at offset 2");
  EXPECT_EQ(bad.Search("([", context), RegexSearchResult::NotFound);

  FilterRegex good("b+");
  EXPECT_TRUE(good.Valid());
#if defined(__x86_64__) || defined(__i386__)
  EXPECT_TRUE(good.Jitted());  // PCRE2 has a JIT for both; the mingw build must not lose it
#endif
  EXPECT_FALSE(FilterRegex("(*NO_JIT)b+").Jitted());
  EXPECT_EQ(good.Search("abbc", context), RegexSearchResult::Found);
  EXPECT_EQ(good.Search("ac", context), RegexSearchResult::NotFound);
  EXPECT_EQ(good.Search("", context), RegexSearchResult::NotFound);
  EXPECT_EQ(good.Search(std::string_view(), context), RegexSearchResult::NotFound);
  EXPECT_TRUE(good.ErrorText().empty());
  EXPECT_TRUE(context.ErrorText().empty());

  // A pattern may ask for UTF-8 itself; text that is not UTF-8 then fails the search instead of being read
  // out of bounds.
  FilterRegex utf("(*UTF)a.b");
  ASSERT_TRUE(utf.Valid());
  EXPECT_EQ(utf.Search("a\xC3\xA9"
                       "b",
                       context),
            RegexSearchResult::Found);
  EXPECT_EQ(utf.Search("a\xE9"
                       "b",
                       context),
            RegexSearchResult::Failed);
  EXPECT_NE(context.ErrorText().find("(match): UTF-8 error"), std::string::npos) << context.ErrorText();
  EXPECT_TRUE(utf.ErrorText().empty());  // the expression itself is sound
}

TEST(TPacketFilters, AnExpressionThatFailsOnSomeBlocksIsStillLoggedOnce) {
  FilterFixture fixture("2||1||(*UTF)a.b||0");
  EXPECT_TRUE(
      fixture.Accept("a\xC3\xA9"
                     "b"));
  EXPECT_FALSE(
      fixture.Accept("a\xE9"
                     "b"));
  EXPECT_FALSE(
      fixture.Accept("a\xE9"
                     "b"));
  ASSERT_EQ(fixture.logged.size(), 1u);
  EXPECT_EQ(fixture.logged[0].substr(0, 47), "An invalid regular expression (*UTF)a.b [UTF-8 ");
}

}  // namespace
}  // namespace quendra
