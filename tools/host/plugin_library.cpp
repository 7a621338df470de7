#include "plugin_library.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "common/thread_containers.h"

namespace quendra::host {

namespace {

const char* kKinds[] = {"error", "warning", "info"};

}  // namespace

void print_log_line(std::string_view line) {
  if (line.empty()) return;
  int kind = static_cast<unsigned char>(line.front()) - 1;
  const char* label = kind >= 0 && kind < 3 ? kKinds[kind] : "log";
  std::fprintf(stderr, "[%s] %.*s\n", label, static_cast<int>(line.size() - 1), line.data() + 1);
}

PluginLibrary::PluginLibrary(const std::string& path) {
  module_ = platform::load_library(path);
  if (!module_) throw std::runtime_error("cannot load " + path + ": " + platform::last_load_error());
#define QUENDRA_HOST_RESOLVE(ordinal, name, type)                                              \
  api_.name = reinterpret_cast<type>(platform::find_entry_point(module_, #name));              \
  if (!api_.name) throw std::runtime_error(std::string("export missing: ") + #name);
  QUENDRA_EXPORTS(QUENDRA_HOST_RESOLVE)
#undef QUENDRA_HOST_RESOLVE
  log_window_ = platform::create_window(&PluginLibrary::log_window_proc, this);
}

PluginLibrary::~PluginLibrary() {
  platform::destroy_window(log_window_);
  platform::free_library(module_);
}

QuendraCallRec PluginLibrary::record(uint32_t handle, TzelParamsList* params) const {
  QuendraCallRec rec{};
  rec.RecSize = sizeof(QuendraCallRec);
  rec.Handle = handle;
  rec.SenderID = static_cast<int32_t>(handle);
  rec.ModuleTypes = 1u << QUENDRA_MTT_DATA_PARSER;
  rec.Params = params ? params->raw() : nullptr;
  return rec;
}

int32_t PluginLibrary::command(uint32_t handle, const std::string& name, TzelParamsList& params) const {
  params.SetValue("COMMAND", OleVariant::from_ansi_as_wide(name), true);
  params.SetValue("MessagesProcessorHandle", OleVariant::from_int64(static_cast<int64_t>(log_window_)), true);
  QuendraCallRec rec = record(handle, &params);
  return api_.ExecutePluginCommand(&rec);
}

void PluginLibrary::drain_log(uint32_t handle) const {
  std::vector<char> buffer(4096);
  for (int attempt = 0; attempt < 4; ++attempt) {
    ParamsPtr params(TzelParamsList::create());
    QuendraCallRec rec = record(handle, params.get());
    rec.Data = buffer.data();
    rec.DataSize = static_cast<int32_t>(buffer.size());
    int32_t copied = api_.GetLogEx(&rec);
    if (copied > 0) {
      for (const auto& line : TThreadStringList::SplitLines(std::string_view(buffer.data(), copied)))
        print_log_line(line);
      return;
    }
    if (rec.ResultValue <= static_cast<intptr_t>(buffer.size())) return;
    buffer.resize(static_cast<std::size_t>(rec.ResultValue));  // the text grew: ask again with room for it
  }
}

intptr_t PluginLibrary::log_window_proc(void* context, uint32_t message, uintptr_t wparam, intptr_t lparam) {
  auto* self = static_cast<PluginLibrary*>(context);
  if (message == QUENDRA_WM_COPYDATA && lparam) {
    const auto* data = reinterpret_cast<const QuendraCopyData*>(lparam);
    std::string_view text(static_cast<const char*>(data->Data), data->Size);
    for (const auto& line : TThreadStringList::SplitLines(text)) print_log_line(line);
    return 1;
  }
  if (message == QUENDRA_WM_LOG_WAITING) {
    self->drain_log(static_cast<uint32_t>(wparam));  // this host uses the instance handle as SenderID
    return 1;
  }
  return 0;
}

}  // namespace quendra::host
