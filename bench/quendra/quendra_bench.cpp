// The plug-in end to end, as a host drives it through its exports, next to what the same bytes cost in other
// hands: our tree reader, pugixml and expat parsing the cut blocks, the pugixml program a user would write to
// get rows, and memcpy. Every case reports bytes_per_second; the row-making ones also rows per second.
//
// The stream is generated at build time (QUENDRA_BENCH_STREAM, or the file named by the environment variable
// of that name). The plug-in gets the settings of bench_settings.h, written into a temporary folder.
#include <benchmark/benchmark.h>
#include <expat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>
#include <vector>

#include <pugixml.hpp>

#include "bench_settings.h"
#include "host_session.h"
#include "plugin_library.h"
#include "xml/xml_tree.h"

namespace quendra::bench {
namespace {

constexpr std::size_t kChunkSize = 4096;
constexpr int32_t kClientCount = 16;
constexpr int kIdleClients = 1000;

// ---- The stream and its blocks ----------------------------------------------------------------------------

struct Stream {
  std::string text;
  std::vector<std::string_view> blocks;  // "<Data ...>" .. "</Data>", in stream order
  std::size_t block_bytes = 0;
  // The stream's blocks dealt round-robin to the clients, each client's share cut into chunks, and the
  // chunks interleaved: client 0's first chunk, client 1's first chunk, ...
  std::vector<std::string> client_streams;
  std::vector<std::pair<int32_t, std::string_view>> interleaved;
};

const Stream& LoadStream() {
  static const Stream stream = [] {
    Stream s;
    const char* path = std::getenv("QUENDRA_BENCH_STREAM");
    std::ifstream in(path ? path : QUENDRA_BENCH_STREAM, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open the benchmark stream");
    s.text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    const std::string_view text = s.text;
    constexpr std::string_view end_tag = "</Data>";
    for (std::size_t pos = 0;;) {
      std::size_t start = text.find("<Data", pos);
      while (start != std::string_view::npos && start + 5 < text.size() && text[start + 5] != ' ' &&
             text[start + 5] != '>')
        start = text.find("<Data", start + 1);
      if (start == std::string_view::npos) break;
      const std::size_t end = text.find(end_tag, start);
      if (end == std::string_view::npos) break;
      s.blocks.push_back(text.substr(start, end + end_tag.size() - start));
      s.block_bytes += s.blocks.back().size();
      pos = end + end_tag.size();
    }
    s.client_streams.resize(kClientCount);
    for (std::size_t i = 0; i < s.blocks.size(); ++i) {
      s.client_streams[i % kClientCount].append(s.blocks[i]).append("\r\n");
    }
    for (std::size_t at = 0;; at += kChunkSize) {
      bool any = false;
      for (int32_t c = 0; c < kClientCount; ++c) {
        const std::string_view own = s.client_streams[c];
        if (at >= own.size()) continue;
        s.interleaved.emplace_back(c + 1, own.substr(at, kChunkSize));
        any = true;
      }
      if (!any) break;
    }
    return s;
  }();
  return stream;
}

std::size_t ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

// ---- The plug-in, loaded once
// --------------------------------------------------------------------------------

class SettingsFolder {
 public:
  SettingsFolder() {
    dir_ = std::filesystem::temp_directory_path() / ("quendra-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir_);
    std::ofstream(path(), std::ios::binary) << "[Common]\r\n" << kSettingsLines;
  }
  ~SettingsFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(dir_, ignored);
  }
  std::string path() const { return (dir_ / "settings.ini").string(); }

 private:
  std::filesystem::path dir_;
};

// One plug-in instance with two data sources (1 and 2), each used by at most one benchmark thread at a time.
struct Host {
  explicit Host(uint32_t handle) : session(library(), Options(handle)) {
    const int32_t result = session.command(
        "SET-STATE", {{"DATA-SOURCES-IN-CFG", OleVariant::from_ansi_as_wide("1;Source 1;Source 1\r\n"
                                                                            "2;Source 2;Source 2")},
                      {"RESULT", OleVariant::from_int32(1)}});
    if (result < 0) throw std::runtime_error("SET-STATE failed");
  }

  static const host::PluginLibrary& library() {
    static const host::PluginLibrary lib(QUENDRA_PLUGIN_PATH);
    return lib;
  }
  static const SettingsFolder& settings() {
    static const SettingsFolder folder;
    return folder;
  }
  host::SessionOptions Options(uint32_t handle) {
    host::SessionOptions options;
    options.settings = settings().path();
    options.handle = handle;
    options.source_id = 1;
    options.source_name = "Source 1";
    handle_ = handle;
    return options;
  }

  uint32_t handle_ = 0;
  host::HostSession session;
};

Host& SharedHost() {
  static Host host(1);
  return host;
}

// What one host thread keeps for its data calls.
class Caller {
 public:
  Caller(Host& host, int32_t source)
      : host_(host), source_(source), name_("Source " + std::to_string(source)) {}

  // Returns the number of rows the call produced.
  int64_t Process(int32_t client, std::string_view chunk) {
    QuendraCallRec rec = Host::library().record(host_.handle_, params_.get());
    rec.DataSourceID = source_;
    std::memset(rec.DataSourceName, 0, sizeof rec.DataSourceName);
    std::memcpy(rec.DataSourceName, name_.data(), std::min(name_.size(), sizeof rec.DataSourceName));
    rec.ClientID = client;
    rec.DataType = QUENDRA_DT_TEXT;
    rec.Data = const_cast<char*>(chunk.data());
    rec.DataSize = static_cast<int32_t>(chunk.size());
    Host::library().api().ProcessData(&rec);
    if (rec.ResultType != QUENDRA_DT_PARAMS_LIST || !rec.ResultValue || !count_rows_) return 0;
    const TzelParamsList* rows = TzelParamsList::from(reinterpret_cast<QuendraParamsList*>(rec.ResultValue));
    int64_t count = 0;
    for (int32_t i = 0; i < rows->Count(); ++i) count += rows->GetItem(i)->is_row_marker() ? 1 : 0;
    return count;
  }
  void CountRows(bool on) { count_rows_ = on; }

 private:
  Host& host_;
  int32_t source_;
  std::string name_;
  host::ParamsPtr params_{TzelParamsList::create()};
  bool count_rows_ = false;
};

// Feeds the whole stream in chunks from one client; returns the rows.
int64_t FeedStream(Caller& caller, int32_t client) {
  const std::string_view text = LoadStream().text;
  int64_t rows = 0;
  for (std::size_t at = 0; at < text.size(); at += kChunkSize)
    rows += caller.Process(client, text.substr(at, kChunkSize));
  return rows;
}

int64_t FeedInterleaved(Caller& caller) {
  int64_t rows = 0;
  for (const auto& [client, chunk] : LoadStream().interleaved) rows += caller.Process(client, chunk);
  return rows;
}

// Rows of one pass, counted once outside the timed loop (the stream is the same every pass).
template <typename Feed>
int64_t RowsPerPass(Caller& caller, Feed feed) {
  caller.CountRows(true);
  const int64_t rows = feed(caller);
  caller.CountRows(false);
  return rows;
}

void Report(benchmark::State& state, std::size_t bytes_per_pass, int64_t rows_per_pass) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes_per_pass));
  if (rows_per_pass > 0)
    state.counters["rows_per_second"] =
        benchmark::Counter(static_cast<double>(rows_per_pass) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
}

// ---- End to end
// ------------------------------------------------------------------------------------------------

// With more than one thread, thread n feeds data source n + 1, so the sources run side by side. The threads
// enter and leave the timed loop together, so the first thread's clock from its first pass to the loop's end
// gives the bytes of all threads per wall-clock second ("wall_bytes_per_second").
void BM_Quendra_EndToEnd(benchmark::State& state) {
  Caller caller(SharedHost(), static_cast<int32_t>(state.thread_index()) + 1);
  const int64_t rows = RowsPerPass(caller, [](Caller& c) { return FeedStream(c, 0); });
  std::chrono::steady_clock::time_point start;
  bool first = true;
  for (auto _ : state) {
    if (first) start = std::chrono::steady_clock::now();
    first = false;
    FeedStream(caller, 0);
  }
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - start;
  Report(state, LoadStream().text.size(), rows);
  if (state.thread_index() == 0) {
    state.counters["wall_bytes_per_second"] = static_cast<double>(state.threads()) *
                                              static_cast<double>(state.iterations()) *
                                              static_cast<double>(LoadStream().text.size()) / wall.count();
  }
}

void BM_Quendra_EndToEnd_16Clients(benchmark::State& state) {
  Caller caller(SharedHost(), 1);
  const int64_t rows = RowsPerPass(caller, FeedInterleaved);
  for (auto _ : state) FeedInterleaved(caller);
  std::size_t bytes = 0;
  for (const std::string& own : LoadStream().client_streams) bytes += own.size();
  Report(state, bytes, rows);
}

// 1,000 clients that connected and sent the beginning of a block: what they cost in resident memory. Runs
// first, on an instance of its own, before the other cases have grown the heap.
void BM_Quendra_IdleClients(benchmark::State& state) {
  for (auto _ : state) {
    Host host(7);
    Caller caller(host, 1);
    caller.Process(kIdleClients + 1, "<Data id=\"0\">");  // the data source's first client
    const std::size_t before = ResidentBytes();
    for (int32_t client = 1; client <= kIdleClients; ++client)
      caller.Process(client, "<Data id=\"1\" ts=\"2026-12-10 14:30:05.123\">\r\n  <Counter>1</Counter>");
    const std::size_t after = ResidentBytes();
    state.counters["clients"] = kIdleClients;
    state.counters["resident_mib"] = static_cast<double>(after - before) / (1024.0 * 1024.0);
  }
}

// The harness at full speed for QUENDRA_BENCH_SOAK_SECONDS (registered only when it is set): resident memory
// after the first minute (or the first sixth of a shorter run) and at the end, from which the growth.
void BM_Quendra_Soak(benchmark::State& state) {
  const double seconds = std::atof(std::getenv("QUENDRA_BENCH_SOAK_SECONDS"));
  const double settle = std::min(60.0, seconds / 6);
  for (auto _ : state) {
    Caller caller(SharedHost(), 1);
    const auto start = std::chrono::steady_clock::now();
    auto elapsed = [&] {
      return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
    std::size_t settled = 0;
    int64_t passes = 0;
    while (elapsed() < seconds) {
      FeedStream(caller, 0);
      ++passes;
      if (settled == 0 && elapsed() >= settle) settled = ResidentBytes();
    }
    const double mib = 1024.0 * 1024.0;
    state.counters["passes"] = static_cast<double>(passes);
    state.counters["resident_mib_settled"] = static_cast<double>(settled) / mib;
    state.counters["resident_mib_end"] = static_cast<double>(ResidentBytes()) / mib;
  }
}

// ---- Parsing only, and the user's pugixml program
// ------------------------------------------------------------

void ReportBlocks(benchmark::State& state, int64_t rows_per_pass = 0) {
  Report(state, LoadStream().block_bytes, rows_per_pass);
}

void BM_XmlTree_Parse(benchmark::State& state) {
  TtolXMLTree tree;  // reused from block to block, as the plug-in does
  for (auto _ : state) {
    for (std::string_view block : LoadStream().blocks) {
      const XmlParseResult result = tree.parse(block);
      benchmark::DoNotOptimize(result);
      benchmark::DoNotOptimize(tree.Children().data());
    }
  }
  ReportBlocks(state);
}

void BM_Pugixml_Parse(benchmark::State& state) {
  pugi::xml_document document;
  for (auto _ : state) {
    for (std::string_view block : LoadStream().blocks) {
      const pugi::xml_parse_result result = document.load_buffer(block.data(), block.size());
      benchmark::DoNotOptimize(result);
      benchmark::DoNotOptimize(document.first_child().internal_object());
    }
  }
  ReportBlocks(state);
}

// Expat builds no tree; the handlers only count, which is the least any user of it does.
void BM_Expat_Parse(benchmark::State& state) {
  std::unique_ptr<XML_ParserStruct, decltype(&XML_ParserFree)> parser(XML_ParserCreate(nullptr),
                                                                      &XML_ParserFree);
  std::size_t events = 0;
  for (auto _ : state) {
    for (std::string_view block : LoadStream().blocks) {
      XML_ParserReset(parser.get(), nullptr);
      XML_SetUserData(parser.get(), &events);
      XML_SetElementHandler(
          parser.get(),
          [](void* data, const XML_Char*, const XML_Char**) { ++*static_cast<std::size_t*>(data); },
          [](void* data, const XML_Char*) { ++*static_cast<std::size_t*>(data); });
      XML_SetCharacterDataHandler(
          parser.get(), [](void* data, const XML_Char*, int) { ++*static_cast<std::size_t*>(data); });
      const XML_Status status =
          XML_Parse(parser.get(), block.data(), static_cast<int>(block.size()), XML_TRUE);
      benchmark::DoNotOptimize(status);
    }
  }
  benchmark::DoNotOptimize(events);
  ReportBlocks(state);
}

// The straightforward program: parse, walk, and for every leaf element a row of name/value pairs holding the
// values on the way down and the leaf's own, numbers converted with strtoll/strtod by the element's name.
struct UserField {
  std::string name;
  std::string text;
  std::variant<std::monostate, long long, double> number;
};
using UserRow = std::vector<UserField>;

class UserRows {
 public:
  UserRows() {
    for (const char* name : {"Counter", "BatchNo", "Status", "ErrorCode", "Cycles", "PartCount", "Speed",
                             "Level", "Position", "StepNo", "no"})
      kinds_[name] = Kind::Integer;
    for (const char* name : {"Temperature", "Pressure", "Flow", "Voltage", "Current", "Weight", "Torque",
                             "Humidity", "Density", "Viscosity"})
      kinds_[name] = Kind::Float;
  }

  void Walk(const pugi::xml_node& element, std::vector<UserRow>& rows) {
    for (const pugi::xml_node& child : element.children()) {
      if (child.type() != pugi::node_element) continue;
      const std::size_t mark = path_.size();
      const bool leaf =
          !child.find_child([](const pugi::xml_node& n) { return n.type() == pugi::node_element; });
      if (leaf) path_.push_back(Field(child.name(), child.child_value()));
      for (const pugi::xml_attribute& attribute : child.attributes())
        path_.push_back(Field(std::string(child.name()) + "." + attribute.name(), attribute.value()));
      if (leaf) {
        rows.push_back(path_);
      } else {
        Walk(child, rows);
      }
      path_.resize(mark);
    }
  }

 private:
  enum class Kind { Text, Integer, Float };

  UserField Field(std::string name, const char* text) {
    UserField field{std::move(name), text, {}};
    const auto kind = kinds_.find(field.name);
    if (kind != kinds_.end() && kind->second == Kind::Integer) field.number = std::strtoll(text, nullptr, 10);
    if (kind != kinds_.end() && kind->second == Kind::Float) field.number = std::strtod(text, nullptr);
    return field;
  }

  std::unordered_map<std::string, Kind> kinds_;
  UserRow path_;
};

void BM_Pugixml_ParseWalkRows(benchmark::State& state) {
  pugi::xml_document document;
  UserRows walker;
  int64_t rows_per_pass = 0;
  for (auto _ : state) {
    int64_t rows_now = 0;
    for (std::string_view block : LoadStream().blocks) {
      std::vector<UserRow> rows;
      if (document.load_buffer(block.data(), block.size())) walker.Walk(document.document_element(), rows);
      rows_now += static_cast<int64_t>(rows.size());
      benchmark::DoNotOptimize(rows.data());
    }
    rows_per_pass = rows_now;
  }
  ReportBlocks(state, rows_per_pass);
}

void BM_Memcpy(benchmark::State& state) {
  std::vector<char> copy(kChunkSize);
  const std::string_view text = LoadStream().text;
  for (auto _ : state) {
    for (std::size_t at = 0; at < text.size(); at += kChunkSize) {
      const std::size_t n = std::min(kChunkSize, text.size() - at);
      std::memcpy(copy.data(), text.data() + at, n);
      benchmark::ClobberMemory();
    }
  }
  Report(state, text.size(), 0);
}

BENCHMARK(BM_Quendra_IdleClients)->Iterations(1);
// Single-thread rates are per CPU second, as the parse-only cases, so that other work on the machine does not
// enter the ratios. The speed-up of two threads is measured on the wall clock, one thread against two.
BENCHMARK(BM_Quendra_EndToEnd)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quendra_EndToEnd)->Threads(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quendra_EndToEnd)->Threads(2)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Quendra_EndToEnd_16Clients)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_XmlTree_Parse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pugixml_Parse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Expat_Parse)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pugixml_ParseWalkRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);

[[maybe_unused]] const bool kSoakRegistered = std::getenv("QUENDRA_BENCH_SOAK_SECONDS") != nullptr &&
                                              benchmark::RegisterBenchmark("BM_Quendra_Soak", BM_Quendra_Soak)
                                                      ->Iterations(1)
                                                      ->Unit(benchmark::kSecond) != nullptr;

}  // namespace
}  // namespace quendra::bench

BENCHMARK_MAIN();
