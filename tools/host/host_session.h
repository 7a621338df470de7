// One host configuration driving one plug-in instance: LOAD, SET-STATE, ITEMS, data, UNLOAD, release.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "plugin_library.h"
#include "row_output.h"

namespace quendra::host {

struct SessionOptions {
  std::string settings;  // INI-FILE; empty: the registry
  std::string registry_path = "Software\\Quendra\\Host";
  std::string section;
  int32_t source_id = 1;
  std::string source_name = "Data source 1";
  std::string source_full_name;  // empty: the name
  int32_t client_id = 0;
  std::string language;
  uint32_t handle = 1;
};

class HostSession {
 public:
  // Loads the instance and switches the parser role on; throws std::runtime_error when a command fails.
  HostSession(const PluginLibrary& library, SessionOptions options);
  // Unloads and releases the instance.
  ~HostSession();
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

  // The parser items text the instance reports (ITEMS).
  std::string items();

  struct Answer {
    int32_t result = 0;
    const TzelParamsList* rows = nullptr;  // owned by the plug-in, valid until the next data call
    std::string_view text;                 // the accepted blocks' text, valid as long as `rows`
  };
  // One ProcessData call with a chunk of received text from `client_id`.
  Answer process(std::string_view chunk, int32_t client_id);

  int32_t command(const std::string& name, std::initializer_list<std::pair<const char*, OleVariant>> values);

 private:
  QuendraCallRec record(TzelParamsList* params) const;

  const PluginLibrary& library_;
  SessionOptions options_;
  ParamsPtr data_params_{TzelParamsList::create()};
};

}  // namespace quendra::host
