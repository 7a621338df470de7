// Nothing lost, nothing doubled: many clients on several data sources, fed from several threads at once in
// random chunks with garbage between the blocks.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "plugin_library.h"
#include "row_output.h"

namespace quendra::host {
namespace {

constexpr int kSources = 4;
constexpr int kClientsPerThread = 4;
constexpr int kThreads = 4;
constexpr int kBlocksPerClient = 10000;
constexpr uint32_t kHandle = 77;

const PluginLibrary& library() {
  static PluginLibrary lib(QUENDRA_PLUGIN_PATH);
  return lib;
}

int32_t command(const char* name, std::initializer_list<std::pair<const char*, OleVariant>> values,
                uint8_t module_types = 1u << QUENDRA_MTT_DATA_PARSER) {
  ParamsPtr params(TzelParamsList::create());
  for (const auto& [key, value] : values) params->Add(key, value);
  params->Add("COMMAND", OleVariant::from_ansi_as_wide(name));
  QuendraCallRec rec = library().record(kHandle, params.get());
  rec.ModuleTypes = module_types;
  return library().api().ExecutePluginCommand(&rec);
}

// One client's stream: blocks numbered 0.. with garbage (never a root tag) between them.
std::string client_stream(int source, int client, std::mt19937& random) {
  std::string stream;
  std::uniform_int_distribution<int> garbage_length(0, 40);
  const char garbage_chars[] = "abc <x> 123 \r\n/>&;";
  for (int n = 0; n < kBlocksPerClient; ++n) {
    for (int g = garbage_length(random); g > 0; --g) stream += garbage_chars[random() % (sizeof garbage_chars - 1)];
    stream += "<Data><r s=\"" + std::to_string(source) + "\" c=\"" + std::to_string(client) + "\" n=\"" +
              std::to_string(n) + "\"/></Data>";
  }
  return stream;
}

TEST(Stress, EveryBlockOnceAndInOrderPerClient) {
  const auto dir = std::filesystem::temp_directory_path() / ("quendra-stress-" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string ini = (dir / "settings.ini").string();
  std::ofstream(ini, std::ios::binary) << "[Common]\r\nExport nodes=False\r\n";

  ASSERT_EQ(command("LOAD", {{"INI-FILE", OleVariant::from_ansi_as_wide(ini)}}), 0);
  std::string sources;
  for (int s = 1; s <= kSources; ++s) sources += std::to_string(s) + ";COM" + std::to_string(s) + ";Port " + std::to_string(s) + "\r\n";
  ASSERT_EQ(command("SET-STATE", {{"DATA-SOURCES-IN-CFG", OleVariant::from_ansi_as_wide(sources)},
                                  {"RESULT", OleVariant::from_int32(1)}}),
            0);

  std::mutex seen_mutex;
  std::map<std::pair<int, int>, std::vector<int>> seen;  // (source, client) -> block numbers in arrival order
  std::atomic<long> text_blocks{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      std::mt19937 random(1234 + t);
      struct Feed {
        int source, client;
        std::string stream;
        std::size_t at = 0;
      };
      std::vector<Feed> feeds;
      for (int c = 0; c < kClientsPerThread; ++c) {
        const int client = t * kClientsPerThread + c + 1;
        const int source = (client - 1) % kSources + 1;
        feeds.push_back({source, client, client_stream(source, client, random)});
      }
      ParamsPtr params(TzelParamsList::create());
      std::uniform_int_distribution<std::size_t> chunk(1, 700);
      for (std::size_t left = feeds.size(); left > 0;) {
        Feed& f = feeds[random() % feeds.size()];
        if (f.at >= f.stream.size()) continue;
        const std::size_t n = std::min(chunk(random), f.stream.size() - f.at);
        QuendraCallRec rec = library().record(kHandle, params.get());
        rec.DataSourceID = f.source;
        rec.ClientID = f.client;
        rec.DataType = QUENDRA_DT_TEXT;
        rec.Data = f.stream.data() + f.at;
        rec.DataSize = static_cast<int32_t>(n);
        ASSERT_GE(library().api().ProcessData(&rec), 0);
        f.at += n;
        if (f.at == f.stream.size()) --left;
        if (rec.DataType == QUENDRA_DT_TEXT && rec.Data != nullptr && rec.DataSize > 0) {
          std::string_view text(static_cast<const char*>(rec.Data), static_cast<std::size_t>(rec.DataSize));
          for (std::size_t at = text.find("<{[::]}>"); at != std::string_view::npos; at = text.find("<{[::]}>", at + 1))
            ++text_blocks;
        }
        if (rec.ResultType != QUENDRA_DT_PARAMS_LIST || !rec.ResultValue) continue;
        auto* rows = TzelParamsList::from(reinterpret_cast<QuendraParamsList*>(rec.ResultValue));
        std::lock_guard lock(seen_mutex);
        for (const auto& row : split_rows(*rows)) {
          int s = -1, c = -1, number = -1;
          for (const TzelParamsListItem* item : row) {
            if (item->name() == "s") s = static_cast<int>(*item->Value.to_int64());
            if (item->name() == "c") c = static_cast<int>(*item->Value.to_int64());
            if (item->name() == "n") number = static_cast<int>(*item->Value.to_int64());
          }
          EXPECT_EQ(s, f.source);
          EXPECT_EQ(c, f.client);
          seen[{s, c}].push_back(number);
        }
      }
    });
  }
  for (auto& thread : threads) thread.join();

  EXPECT_EQ(text_blocks.load(), static_cast<long>(kThreads) * kClientsPerThread * kBlocksPerClient);
  ASSERT_EQ(seen.size(), static_cast<std::size_t>(kThreads * kClientsPerThread));
  for (const auto& [key, numbers] : seen) {
    ASSERT_EQ(numbers.size(), static_cast<std::size_t>(kBlocksPerClient)) << key.first << "/" << key.second;
    for (int n = 0; n < kBlocksPerClient; ++n) ASSERT_EQ(numbers[n], n) << key.first << "/" << key.second;
  }
  EXPECT_EQ(command("UNLOAD", {{"INI-FILE", OleVariant::from_ansi_as_wide(ini)}}), 0);
  QuendraCallRec release = library().record(kHandle, nullptr);
  release.ReleaseFlag = QUENDRA_RELEASE_FLAG;
  library().api().ExecutePluginCommand(&release);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace quendra::host
