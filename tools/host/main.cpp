// quendra-host: a data-logging host in miniature. It loads the plug-in library and talks to it only through
// its exports, as a real host does: LOAD, SET-STATE with one data source, ITEMS, the input in chunks through
// ProcessData, UNLOAD and release. Rows go to stdout, log lines and a summary to stderr.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <exception>
#include <fstream>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "host_session.h"
#include "platform/console.h"
#include "platform/tcp.h"
#include "platform/window.h"
#include "platform/module.h"
#include "plugin_library.h"
#include "row_output.h"

namespace {

using quendra::host::Format;

constexpr std::string_view kBlockSeparator = "<{[::]}>";

struct Options {
  std::string plugin = QUENDRA_DEFAULT_PLUGIN;
  quendra::host::SessionOptions session;
  Format format = quendra::platform::stdout_is_terminal() ? Format::Table : Format::Csv;
  std::size_t chunk = 4096;
  std::string blocks_file;
  std::vector<std::string> hidden;
  int listen_port = -1;   // -1: read files instead
  double max_seconds = 0;  // 0: no limit
  std::vector<std::string> inputs;
  bool info = false;
  bool options = false;
};

void usage() {
  std::fputs(
      "usage: quendra-host [options] [FILE...|-]\n"
      "       quendra-host [--plugin PATH] --info\n"
      "  --plugin PATH          the plug-in library (default: the one built beside this program)\n"
      "  --settings FILE.ini    keep the settings in this INI file (default: the registry)\n"
      "  --registry-path PATH   registry key of the settings (default Software\\Quendra\\Host)\n"
      "  --section PREFIX       prefix of the settings' INI sections\n"
      "  --source-id N          data source number (default 1)\n"
      "  --source-name NAME     data source name (default \"Data source 1\")\n"
      "  --source-full-name N   data source full name (default: the name)\n"
      "  --client-id N          client of the data source (default 0)\n"
      "  --format table|csv|jsonl  how rows are printed (default: table on a terminal, else csv)\n"
      "  --chunk BYTES          size of the pieces fed to ProcessData (default 4096)\n"
      "  --blocks FILE          write the text of the accepted blocks to FILE\n"
      "  --hide NAME[,NAME...]  leave these values out of the printed rows\n"
      "  --listen PORT          serve a TCP data source on 127.0.0.1:PORT (0: any free port); every\n"
      "                         connection is a client of the data source\n"
      "  --max-seconds S        with --listen: stop after S seconds (default: run until killed)\n"
      "  --language CODE        interface language of the plug-in\n"
      "  --info                 print what the plug-in reports about itself\n"
      "  --options              open the plug-in's options dialog (Windows)\n"
      "Exit codes: 0 done, 1 bad arguments, 2 library or settings could not be loaded.\n",
      stderr);
}

std::vector<std::string> split_names(std::string_view list) {
  std::vector<std::string> names;
  for (std::size_t start = 0; start <= list.size();) {
    std::size_t comma = list.find(',', start);
    if (comma == std::string_view::npos) comma = list.size();
    if (comma > start) names.emplace_back(list.substr(start, comma - start));
    start = comma + 1;
  }
  return names;
}

bool parse_number(const char* text, long long min, long long max, long long& out) {
  char* end = nullptr;
  out = std::strtoll(text, &end, 10);
  return end && *end == '\0' && end != text && out >= min && out <= max;
}

bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
    long long n = 0;
    if (arg == "--info") {
      o.info = true;
    } else if (arg == "--options") {
      o.options = true;
    } else if (arg == "-" || arg.rfind("--", 0) != 0) {
      o.inputs.push_back(arg);
    } else {
      const char* v = value();
      if (!v) return false;
      if (arg == "--plugin") o.plugin = v;
      else if (arg == "--settings") o.session.settings = v;
      else if (arg == "--registry-path") o.session.registry_path = v;
      else if (arg == "--section") o.session.section = v;
      else if (arg == "--source-name") o.session.source_name = v;
      else if (arg == "--source-full-name") o.session.source_full_name = v;
      else if (arg == "--blocks") o.blocks_file = v;
      else if (arg == "--language") o.session.language = v;
      else if (arg == "--hide") o.hidden = split_names(v);
      else if (arg == "--listen" && parse_number(v, 0, 65535, n)) o.listen_port = static_cast<int>(n);
      else if (arg == "--max-seconds" && parse_number(v, 1, 1 << 30, n)) o.max_seconds = static_cast<double>(n);
      else if (arg == "--source-id" && parse_number(v, INT32_MIN, INT32_MAX, n)) o.session.source_id = static_cast<int32_t>(n);
      else if (arg == "--client-id" && parse_number(v, INT32_MIN, INT32_MAX, n)) o.session.client_id = static_cast<int32_t>(n);
      else if (arg == "--chunk" && parse_number(v, 1, 1 << 30, n)) o.chunk = static_cast<std::size_t>(n);
      else if (arg == "--format" && std::strcmp(v, "table") == 0) o.format = Format::Table;
      else if (arg == "--format" && std::strcmp(v, "csv") == 0) o.format = Format::Csv;
      else if (arg == "--format" && std::strcmp(v, "jsonl") == 0) o.format = Format::Jsonl;
      else return false;
    }
  }
  if (o.inputs.empty() && !o.info && !o.options && o.listen_port < 0) o.inputs.push_back("-");
  return true;
}

std::string module_type_text(int32_t type) {
  static const char* const kNames[] = {"mttDataQuery", "mttDataParser", "mttDataExport",  "mttEventsHandling",
                                       "mttLogging",   "mttFilter",     "mttDeviceLayer", "mttMenuExt"};
  std::string names;
  for (int bit = 0; bit < 8; ++bit)
    if (type & (1 << bit)) names += std::string(names.empty() ? "" : ", ") + kNames[bit];
  return std::to_string(type) + " [" + names + "]";
}

std::string file_version_text(const std::string& path) {
  try {
    auto v = quendra::platform::file_version(path);
    return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + " build " +
           std::to_string(v[3]);
  } catch (const std::exception&) {
    return "unknown";
  }
}

int print_info(const quendra::host::PluginLibrary& library, const std::string& path, uint32_t handle) {
  const auto& api = library.api();
  quendra::host::ParamsPtr params(quendra::TzelParamsList::create());
  QuendraCallRec rec = library.record(handle, params.get());
  const char* description = api.GetModuleDescription(&rec);
  std::printf("interface version:    %d\n", api.GetPluginIntfVersion());
  std::printf("description:          %s\n", description ? description : "");
  std::printf("version:              %s\n", file_version_text(path).c_str());
  std::printf("module type:          %s\n", module_type_text(api.GetModuleType(&rec)).c_str());
  std::printf("minimum host version: %.1f\n", static_cast<double>(api.GetAppMinVersion(&rec)));
  std::printf("multi-thread support: %s\n", api.MultiThreadSupport(&rec) ? "yes" : "no");
  library.drain_log(handle);
  QuendraCallRec release = library.record(handle, nullptr);
  release.ReleaseFlag = QUENDRA_RELEASE_FLAG;
  api.ExecutePluginCommand(&release);
  return 0;
}

std::size_t count_blocks(std::string_view text) {
  std::size_t n = 0;
  for (std::size_t at = text.find(kBlockSeparator); at != std::string_view::npos;
       at = text.find(kBlockSeparator, at + kBlockSeparator.size()))
    ++n;
  return n;
}

struct Totals {
  std::size_t blocks = 0, bytes = 0;
};

void feed(quendra::host::HostSession& session, std::istream& in, const Options& o,
          quendra::host::RowPrinter& printer, std::ofstream* blocks, Totals& totals) {
  std::vector<char> chunk(o.chunk);
  while (in) {
    in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto got = static_cast<std::size_t>(in.gcount());
    if (got == 0) break;
    totals.bytes += got;
    auto answer = session.process(std::string_view(chunk.data(), got), o.session.client_id);
    if (answer.rows) printer.add(*answer.rows);
    totals.blocks += count_blocks(answer.text);
    if (blocks) blocks->write(answer.text.data(), static_cast<std::streamsize>(answer.text.size()));
  }
}

// Serves a TCP data source: every connection is a client of it, fed through ProcessData on its own thread.
// This thread keeps the host log window alive by pumping its messages.
Totals serve(quendra::host::HostSession& session, const Options& o, quendra::host::RowPrinter& printer) {
  auto listener = quendra::platform::listen_loopback(static_cast<uint16_t>(o.listen_port));
  std::fprintf(stderr, "quendra-host: listening on 127.0.0.1:%u\n", static_cast<unsigned>(listener->port()));
  std::atomic<bool> stop{false};
  std::mutex output_mutex;
  Totals totals;
  std::vector<std::thread> clients;
  std::thread acceptor([&] {
    int32_t next_client = 1;
    while (!stop) {
      std::shared_ptr<quendra::platform::TcpConnection> connection = listener->accept(100);
      if (!connection) continue;
      const int32_t client = next_client++;
      clients.emplace_back([&, connection, client] {
        std::vector<char> buffer(o.chunk);
        while (!stop) {
          const std::ptrdiff_t got = connection->read(buffer.data(), buffer.size(), 100);
          if (got < 0) break;
          if (got == 0) continue;
          auto answer = session.process(std::string_view(buffer.data(), static_cast<std::size_t>(got)), client);
          std::lock_guard lock(output_mutex);
          totals.bytes += static_cast<std::size_t>(got);
          totals.blocks += count_blocks(answer.text);
          if (answer.rows) printer.add(*answer.rows);
        }
      });
    }
  });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(o.max_seconds);
  while (o.max_seconds == 0 || std::chrono::steady_clock::now() < deadline) {
    quendra::platform::pump_messages();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  stop = true;
  acceptor.join();
  for (auto& client : clients) client.join();
  return totals;
}

int run(const Options& o) {
  std::unique_ptr<quendra::host::PluginLibrary> library;
  try {
    library = std::make_unique<quendra::host::PluginLibrary>(o.plugin);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "quendra-host: %s\n", failure.what());
    return 2;
  }
  if (o.info) return print_info(*library, o.plugin, o.session.handle);

  std::ofstream blocks;
  if (!o.blocks_file.empty()) {
    blocks.open(o.blocks_file, std::ios::binary);
    if (!blocks) {
      std::fprintf(stderr, "quendra-host: cannot write %s\n", o.blocks_file.c_str());
      return 1;
    }
  }
  std::unique_ptr<quendra::host::HostSession> session;
  try {
    session = std::make_unique<quendra::host::HostSession>(*library, o.session);
  } catch (const std::exception& failure) {
    std::fprintf(stderr, "quendra-host: %s\n", failure.what());
    return 2;
  }
  if (o.options) {
    // The call carries the settings file as every command does; without it the module would use the registry.
    quendra::host::ParamsPtr params(quendra::TzelParamsList::create());
    using quendra::OleVariant;
    if (!o.session.settings.empty())
      params->Add("INI-FILE", OleVariant::from_ansi_as_wide(o.session.settings));
    if (!o.session.language.empty())
      params->Add("LANGUAGE", OleVariant::from_ansi_as_wide(o.session.language));
    QuendraCallRec rec = library->record(o.session.handle, params.get());
    library->api().ShowOptionsDialog(&rec);
    library->drain_log(o.session.handle);
    std::fprintf(stderr, "quendra-host: options dialog %s\n",
                 rec.ResultValue == 1 ? "confirmed" : "not confirmed");
    if (o.inputs.empty()) return 0;
  }
  std::string items = session->items();
  std::fprintf(stderr, "quendra-host: %zu parser items\n", items.empty() ? 0 : 1 + std::count(items.begin(), items.end(), '\n'));

  quendra::host::RowPrinter printer(o.format, stdout, o.hidden);
  Totals totals;
  const auto start = std::chrono::steady_clock::now();
  if (o.listen_port >= 0) {
    try {
      totals = serve(*session, o, printer);
    } catch (const std::exception& failure) {
      std::fprintf(stderr, "quendra-host: %s\n", failure.what());
      return 2;
    }
  }
  for (const std::string& input : o.inputs) {
    if (input == "-") {
      quendra::platform::set_binary_stdio();
      feed(*session, std::cin, o, printer, blocks.is_open() ? &blocks : nullptr, totals);
      continue;
    }
    std::ifstream file(input, std::ios::binary);
    if (!file) {
      std::fprintf(stderr, "quendra-host: cannot read %s\n", input.c_str());
      return 1;
    }
    feed(*session, file, o, printer, blocks.is_open() ? &blocks : nullptr, totals);
  }
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  printer.finish();
  std::fflush(stdout);
  session.reset();
  std::fprintf(stderr, "blocks %zu rows %zu bytes %zu seconds %.3f MB/s %.1f\n", totals.blocks, printer.rows(),
               totals.bytes, seconds, seconds > 0 ? static_cast<double>(totals.bytes) / 1e6 / seconds : 0.0);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      usage();
      return 0;
    }
  Options options;
  if (!parse(argc, argv, options)) {
    usage();
    return 1;
  }
  return run(options);
}
