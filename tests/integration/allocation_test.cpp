// Allocations of the data path with the benchmark's settings: counted per value the host receives, once the
// instance has warmed up. A binary of its own: it wraps the C runtime's allocator (every heap allocation of
// the library and of operator new goes through malloc), counting the calls made on the test's thread.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "bench_settings.h"
#include "host_session.h"
#include "plugin_library.h"

#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define QUENDRA_COUNTS_ALLOCATIONS 1

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* block, std::size_t size);
}

namespace {
// Initial-exec TLS: reading it allocates nothing, so the allocator may use it.
__attribute__((tls_model("initial-exec"))) thread_local bool t_counting = false;
__attribute__((tls_model("initial-exec"))) thread_local std::size_t t_allocations = 0;

void count() {
  if (t_counting) ++t_allocations;
}
}  // namespace

extern "C" {
void* malloc(std::size_t size) {
  count();
  return __libc_malloc(size);
}
void* calloc(std::size_t count_, std::size_t size) {
  count();
  return __libc_calloc(count_, size);
}
void* realloc(void* block, std::size_t size) {
  count();
  return __libc_realloc(block, size);
}
}
#endif

namespace quendra::host {
namespace {

struct Tally {
  std::size_t allocations = 0;
  std::size_t values = 0;  // items of the rows, row markers not counted
  std::size_t rows = 0;
  std::size_t blocks = 0;
};

// The stream one block per call (so two streams of the same blocks make the same calls), counting what the
// host receives and, while `counting`, the allocations.
Tally feed(HostSession& session, std::string_view data, [[maybe_unused]] bool counting) {
  Tally tally;
  while (!data.empty()) {
    const std::size_t end = data.find("</Data>");
    const std::string_view piece = data.substr(0, end == std::string_view::npos ? data.size() : end + 7);
    data.remove_prefix(piece.size());
#ifdef QUENDRA_COUNTS_ALLOCATIONS
    t_allocations = 0;
    t_counting = counting;
#endif
    const HostSession::Answer answer = session.process(piece, 0);
#ifdef QUENDRA_COUNTS_ALLOCATIONS
    t_counting = false;
    tally.allocations += t_allocations;
#endif
    for (std::size_t sep = answer.text.find("<{[::]}>"); sep != std::string_view::npos;
         sep = answer.text.find("<{[::]}>", sep + 1))
      ++tally.blocks;
    if (!answer.rows) continue;
    for (int32_t i = 0; i < answer.rows->Count(); ++i) {
      if (answer.rows->GetItem(i)->is_row_marker()) {
        ++tally.rows;
      } else {
        ++tally.values;
      }
    }
  }
  return tally;
}

// The same stream with every text value of the string rules 300 characters longer; `lengthened` counts them.
std::string with_longer_texts(std::string data, std::size_t& lengthened) {
  for (const char* name :
       {"Operator", "Recipe", "Machine", "Comment", "Material", "Shift", "OrderId", "Line"}) {
    const std::string end_tag = std::string("</") + name + ">";
    for (std::size_t at = data.find(end_tag); at != std::string::npos;
         at = data.find(end_tag, at + 300 + 1)) {
      data.insert(at, 300, 'y');
      ++lengthened;
    }
  }
  return data;
}

class Allocations : public ::testing::Test {
 protected:
  void SetUp() override {
#ifndef QUENDRA_COUNTS_ALLOCATIONS
    GTEST_SKIP() << "the allocator is counted only on glibc without sanitizers";
#endif
    std::ifstream in(QUENDRA_FIXTURES "/bench_blocks.xml", std::ios::binary);
    data_.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    ASSERT_GT(data_.size(), 60000u);
    dir_ = std::filesystem::temp_directory_path() / ("quendra-allocations-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    std::ofstream(dir_ / "settings.ini", std::ios::binary) << "[Common]\r\n" << bench::kSettingsLines;
  }
  void TearDown() override {
    if (!dir_.empty()) std::filesystem::remove_all(dir_);
  }

  // Feeds the stream once to warm the instance up (the client, its buffers, the thread's lists), then counts.
  Tally warm_count(std::string_view data, uint32_t handle) {
    SessionOptions options;
    options.settings = (dir_ / "settings.ini").string();
    options.handle = handle;
    HostSession session(library_, options);
    feed(session, data, false);
    return feed(session, data, true);
  }

  PluginLibrary library_{QUENDRA_PLUGIN_PATH};
  std::string data_;
  std::filesystem::path dir_;
};

TEST_F(Allocations, AFewPerValue) {
  const Tally tally = warm_count(data_, 95);
  ASSERT_EQ(tally.blocks, 60u);
  ASSERT_GT(tally.values, 5 * tally.rows);
  const double per_value = static_cast<double>(tally.allocations) / static_cast<double>(tally.values);
  std::cout << "allocations: " << tally.allocations << " for " << tally.values << " values in " << tally.rows
            << " rows of " << tally.blocks << " blocks: " << per_value << " per value\n";
  RecordProperty("allocations_per_value", std::to_string(per_value));
  // A row's copied items take one allocation together; what remains is made once per value read from the
  // block (the item, its name and text) and once per block.
  EXPECT_LE(per_value, 1.5);
}

TEST_F(Allocations, NoneForLongerTexts) {
  const Tally base = warm_count(data_, 96);
  std::size_t lengthened = 0;
  const std::string longer = with_longer_texts(data_, lengthened);
  ASSERT_GT(longer.size(), data_.size() + 3000);
  const Tally more = warm_count(longer, 97);
  EXPECT_EQ(more.values, base.values);
  // A text too long for a string's own room takes one allocation more (once per value and per copy made of
  // it, not per character), and a buffer may grow once for a larger block than before.
  EXPECT_LE(more.allocations, base.allocations + lengthened + base.blocks);
}

}  // namespace
}  // namespace quendra::host
