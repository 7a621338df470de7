// The data path through the exports: chunks in, blocks cut, filtered, returned and parsed into rows.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "host_session.h"
#include "platform/clock.h"
#include "platform/window.h"
#include "plugin_library.h"
#include "row_output.h"

namespace quendra::host {
namespace {

const PluginLibrary& library() {
  static PluginLibrary lib(QUENDRA_PLUGIN_PATH);
  return lib;
}

// A settings file in a folder of its own; removed with the fixture.
class SettingsFile {
 public:
  explicit SettingsFile(const std::string& common_lines) {
    static std::atomic<int> counter{0};
    dir_ = std::filesystem::temp_directory_path() /
           ("quendra-pipeline-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(dir_);
    std::ofstream(path(), std::ios::binary) << "[Common]\r\n" << common_lines;
  }
  ~SettingsFile() { std::filesystem::remove_all(dir_); }
  std::string path() const { return (dir_ / "settings.ini").string(); }

 private:
  std::filesystem::path dir_;
};

std::string row_text(const std::vector<const TzelParamsListItem*>& row) {
  static const std::vector<std::string> standard = {"FULL_DATA_PACKET", "DATA_PACKET", "DATE_TIME_STAMP",
                                                    "DATA_SOURCE_ID", "DATA_SOURCE_FULL_NAME", "DATA_SOURCE_NAME",
                                                    "CLIENTID"};
  std::string text;
  for (const TzelParamsListItem* item : row) {
    std::string name(item->name());
    if (std::find(standard.begin(), standard.end(), name) != standard.end()) continue;
    text += name + "=" + format_value(item->Value.raw(), true) + ";";
  }
  return text;
}

struct Collected {
  std::vector<std::string> rows;
  std::string text;
};

class Pipeline : public ::testing::Test {
 protected:
  std::unique_ptr<HostSession> open(const std::string& settings_lines, uint32_t handle = 1) {
    settings_ = std::make_unique<SettingsFile>(settings_lines);
    SessionOptions options;
    options.settings = settings_->path();
    options.handle = handle;
    return std::make_unique<HostSession>(library(), options);
  }

  static void feed(HostSession& session, std::string_view data, std::size_t chunk, Collected& out,
                   int32_t client = 0) {
    for (std::size_t at = 0; at < data.size(); at += chunk) {
      auto answer = session.process(data.substr(at, chunk), client);
      if (answer.rows)
        for (const auto& row : split_rows(*answer.rows)) out.rows.push_back(row_text(row));
      out.text += answer.text;
    }
  }

  std::unique_ptr<SettingsFile> settings_;
};

TEST_F(Pipeline, CutsBlocksBetweenRootTags) {
  auto session = open("");
  Collected got;
  feed(*session, "xx<Data a='1'><t>5</t></Data>yy<Data>", 4096, got);
  EXPECT_EQ(got.text, "<Data a='1'><t>5</t></Data><{[::]}>");
  EXPECT_EQ(got.rows, std::vector<std::string>{"t=\"5\";"});
  feed(*session, "<u>6</u></Data>", 4096, got);  // the open block completes in the next chunk
  EXPECT_EQ(got.rows.back(), "u=\"6\";");
}

TEST_F(Pipeline, StartTagSplitAcrossChunksAndTwoBlocksInOne) {
  auto session = open("");
  Collected got;
  feed(*session, "...<Da", 4096, got);
  feed(*session, "ta><t>1</t></Data>", 4096, got);
  EXPECT_EQ(got.text, "<Data><t>1</t></Data><{[::]}>");
  Collected two;
  auto answer = session->process("<Data>1</Data><Data id='2'><x>2</x></Data>", 0);
  EXPECT_EQ(answer.result, static_cast<int32_t>(std::string("<Data>1</Data><Data id='2'><x>2</x></Data>").size() + 16));
  EXPECT_EQ(std::string(answer.text), "<Data>1</Data><{[::]}><Data id='2'><x>2</x></Data><{[::]}>");
}

TEST_F(Pipeline, CaseOfTheRootTagMatters) {
  auto session = open("Start string=data\r\n");
  Collected got;
  feed(*session, "<Data><t>1</t></Data>", 4096, got);
  EXPECT_EQ(got.text, "");
  auto coded = open("Start string=#41BC\r\n", 2);
  feed(*coded, "<ABC><t>1</t></ABC>", 4096, got);
  EXPECT_EQ(got.text, "<ABC><t>1</t></ABC><{[::]}>");
  EXPECT_EQ(got.rows, std::vector<std::string>{"t=\"1\";"});
}

TEST_F(Pipeline, NestedRootEndsAtTheFirstEndTag) {
  auto session = open("");
  Collected got;
  feed(*session, "<Data><Data>1</Data></Data><Data><t>2</t></Data>", 4096, got);
  EXPECT_EQ(got.text, "<Data><Data>1</Data><{[::]}><Data><t>2</t></Data><{[::]}>");
  EXPECT_EQ(got.rows, (std::vector<std::string>{"Data=\"1\";", "t=\"2\";"}));
}

TEST_F(Pipeline, FiltersDropBlocksWithoutTrace) {
  auto session = open("Filter=1||0||ERR||0%0d%0a\r\n");
  Collected got;
  feed(*session, "<Data><e>ERR</e></Data><Data><t>1</t></Data>", 4096, got);
  EXPECT_EQ(got.text, "<Data><t>1</t></Data><{[::]}>");
  EXPECT_EQ(got.rows, std::vector<std::string>{"t=\"1\";"});
}

TEST_F(Pipeline, UnparsableBlockKeepsItsTextAndGivesNoRows) {
  auto session = open("");
  Collected got;
  feed(*session, "<Data x='1'/><a>1</a></Data>", 4096, got);
  EXPECT_EQ(got.text, "<Data x='1'/><a>1</a></Data><{[::]}>");
  EXPECT_TRUE(got.rows.empty());
}

// A block that outgrows the stream buffer is dropped whole: what arrives after it is parsed as usual.
TEST_F(Pipeline, BlockLargerThanTheBufferIsDroppedWhole) {
  auto session = open("");
  std::string big = "<Data><t>" + std::string(16400, 'x') + "</t></Data>";
  for (std::size_t chunk : {std::size_t{4096}, big.size() + 30}) {
    Collected got;
    feed(*session, big + "<Data><s>ok</s></Data>", chunk, got);
    EXPECT_EQ(got.text, "<Data><s>ok</s></Data><{[::]}>") << chunk;
    EXPECT_EQ(got.rows, std::vector<std::string>{"s=\"ok\";"}) << chunk;
  }
}

TEST_F(Pipeline, EndTagSplitAcrossChunks) {
  auto session = open("");
  Collected got;
  feed(*session, "<Data><t>1</t></Da", 4096, got);
  EXPECT_EQ(got.text, "");
  feed(*session, "ta>", 4096, got);
  EXPECT_EQ(got.text, "<Data><t>1</t></Data><{[::]}>");
}

TEST_F(Pipeline, ClientsOfOneSourceKeepSeparateBuffers) {
  auto session = open("");
  Collected got;
  feed(*session, "<Data><a>1</a>", 4096, got, 1);
  feed(*session, "<Data><b>2</b>", 4096, got, 2);
  feed(*session, "</Data>", 4096, got, 1);
  feed(*session, "</Data>", 4096, got, 2);
  EXPECT_EQ(got.rows, (std::vector<std::string>{"a=\"1\";", "b=\"2\";"}));
}

TEST_F(Pipeline, TypedValuesFollowTheRules) {
  auto session = open("XMLs=n||1||1||8%0d%0af||1||1||5%0d%0ab||1||1||Boolean%0d%0ax||1||0||0%0d%0a\r\n");
  Collected got;
  feed(*session, "<Data><n>42</n><f>2.5</f><b>1</b><x>no</x><n>oops</n></Data>", 4096, got);
  EXPECT_EQ(got.rows, (std::vector<std::string>{"n=42;", "f=2.5;", "b=true;", "n=\"oops\";"}));
}

// The sample stream gives the same rows and text whatever the chunk size.
TEST_F(Pipeline, GoldenSampleInAnyChunking) {
  std::ifstream settings(QUENDRA_SAMPLES "/weather.ini", std::ios::binary);
  std::string ini((std::istreambuf_iterator<char>(settings)), std::istreambuf_iterator<char>());
  std::ifstream stream(QUENDRA_SAMPLES "/weather.xml", std::ios::binary);
  std::string data((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
  std::ifstream expected_rows_file(QUENDRA_FIXTURES "/weather.rows.txt", std::ios::binary);
  std::vector<std::string> expected_rows;
  for (std::string line; std::getline(expected_rows_file, line);) expected_rows.push_back(line);
  std::ifstream expected_text_file(QUENDRA_FIXTURES "/weather.blocks.txt", std::ios::binary);
  std::string expected_text((std::istreambuf_iterator<char>(expected_text_file)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(expected_rows.empty());

  uint32_t handle = 10;
  for (std::size_t chunk : {std::size_t{1}, std::size_t{7}, std::size_t{4096}, data.size()}) {
    settings_.reset();
    auto session = open(ini.substr(ini.find("\r\n") + 2), handle++);
    Collected got;
    feed(*session, data, chunk, got);
    EXPECT_EQ(got.rows, expected_rows) << "chunk " << chunk;
    EXPECT_EQ(got.text, expected_text) << "chunk " << chunk;
  }
}

}  // namespace
}  // namespace quendra::host
