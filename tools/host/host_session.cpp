#include "host_session.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace quendra::host {

HostSession::HostSession(const PluginLibrary& library, SessionOptions options)
    : library_(library), options_(std::move(options)) {
  if (options_.source_full_name.empty()) options_.source_full_name = options_.source_name;
  int32_t r = command("LOAD", {{"RegistryPath", OleVariant::from_ansi_as_wide(options_.registry_path)},
                               {"INISectionPrefix", OleVariant::from_ansi_as_wide(options_.section)},
                               {"ApplicationName", OleVariant::from_ansi_as_wide("quendra-host")}});
  if (r < 0) throw std::runtime_error("LOAD failed with " + std::to_string(r));
  const std::string source = std::to_string(options_.source_id) + ";" + options_.source_name + ";" +
                             options_.source_full_name;
  r = command("SET-STATE",
              {{"DATA-SOURCES-IN-CFG", OleVariant::from_ansi_as_wide(source)}, {"RESULT", OleVariant::from_int32(1)}});
  if (r < 0) throw std::runtime_error("SET-STATE failed with " + std::to_string(r));
}

HostSession::~HostSession() {
  command("UNLOAD", {});
  QuendraCallRec release = record(nullptr);
  release.ReleaseFlag = QUENDRA_RELEASE_FLAG;
  library_.api().ExecutePluginCommand(&release);
  library_.drain_log(options_.handle);
}

QuendraCallRec HostSession::record(TzelParamsList* params) const {
  QuendraCallRec rec = library_.record(options_.handle, params);
  rec.DataSourceID = options_.source_id;
  std::memset(rec.DataSourceName, 0, sizeof rec.DataSourceName);
  std::memcpy(rec.DataSourceName, options_.source_name.data(),
              std::min(options_.source_name.size(), sizeof rec.DataSourceName));
  return rec;
}

int32_t HostSession::command(const std::string& name,
                             std::initializer_list<std::pair<const char*, OleVariant>> values) {
  ParamsPtr params(TzelParamsList::create());
  for (const auto& [key, value] : values) params->Add(key, value);
  // Every command carries the settings file, so UNLOAD sees the same one as LOAD.
  if (!options_.settings.empty()) params->Add("INI-FILE", OleVariant::from_ansi_as_wide(options_.settings));
  if (!options_.language.empty()) params->Add("LANGUAGE", OleVariant::from_ansi_as_wide(options_.language));
  params->Add("COMMAND", OleVariant::from_ansi_as_wide(name));
  params->Add("MessagesProcessorHandle", OleVariant::from_int64(static_cast<int64_t>(library_.log_window())));
  QuendraCallRec rec = record(params.get());
  return library_.api().ExecutePluginCommand(&rec);
}

std::string HostSession::items() {
  ParamsPtr params(TzelParamsList::create());
  params->Add("COMMAND", OleVariant::from_ansi_as_wide("ITEMS"));
  params->Add("RESULT", OleVariant::null());
  QuendraCallRec rec = record(params.get());
  if (library_.api().ExecutePluginCommand(&rec) != 0) return {};
  return params->GetValue("RESULT").to_ansi();
}

HostSession::Answer HostSession::process(std::string_view chunk, int32_t client_id) {
  QuendraCallRec rec = record(data_params_.get());
  rec.ClientID = client_id;
  rec.DataType = QUENDRA_DT_TEXT;
  rec.Data = const_cast<char*>(chunk.data());
  rec.DataSize = static_cast<int32_t>(chunk.size());
  Answer answer;
  answer.result = library_.api().ProcessData(&rec);
  if (rec.ResultType == QUENDRA_DT_PARAMS_LIST && rec.ResultValue) {
    auto* rows = reinterpret_cast<QuendraParamsList*>(rec.ResultValue);
    if (TzelParamsList::is_valid(rows)) answer.rows = TzelParamsList::from(rows);
  }
  if (rec.Data && rec.DataType == QUENDRA_DT_TEXT && rec.DataSize > 0)
    answer.text = std::string_view(static_cast<const char*>(rec.Data), static_cast<std::size_t>(rec.DataSize));
  return answer;
}

}  // namespace quendra::host
