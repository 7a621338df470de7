// A loaded plug-in library seen only through its twelve exports, as a data-logging host sees it.
#pragma once

#include <memory>
#include <string>

#include "common/params_list.h"
#include "platform/module.h"
#include "platform/window.h"
#include "quendra/plugin_api.h"

namespace quendra::host {

struct PluginExports {
#define QUENDRA_HOST_MEMBER(ordinal, name, type) type name = nullptr;
  QUENDRA_EXPORTS(QUENDRA_HOST_MEMBER)
#undef QUENDRA_HOST_MEMBER
};

using ParamsPtr = std::unique_ptr<TzelParamsList, ListDeleter<TzelParamsList>>;

class PluginLibrary {
 public:
  // Loads the library and resolves every export; throws std::runtime_error naming what failed.
  explicit PluginLibrary(const std::string& path);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  const PluginExports& api() const { return api_; }

  // A fresh record for the instance `handle` with the parser role and a valid Params list.
  QuendraCallRec record(uint32_t handle, TzelParamsList* params) const;

  // Runs a command with extra named values; returns the export's result.
  int32_t command(uint32_t handle, const std::string& name, TzelParamsList& params) const;

  // Receives the log lines of the instances on stderr (copy-data messages and "lines waiting" notices).
  platform::WindowHandle log_window() const { return log_window_; }
  void drain_log(uint32_t handle) const;

 private:
  static intptr_t log_window_proc(void* context, uint32_t message, uintptr_t wparam, intptr_t lparam);

  platform::ModuleHandle module_ = 0;
  PluginExports api_;
  platform::WindowHandle log_window_ = 0;
};

// Prints one log line as the host shows it: its kind, then the text.
void print_log_line(std::string_view line);

}  // namespace quendra::host
