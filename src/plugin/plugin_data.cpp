// Data exchange: what the framework does around the module's data handlers.
#include "common/errors.h"
#include "common/item_names.h"
#include "platform/clock.h"
#include "plugin/plugin.h"

namespace quendra {

namespace {

void log_if_text(TzelPlugin& plugin, int type, const std::string& text) {
  if (!text.empty()) plugin.AddLog(type, text);
}

}  // namespace

int32_t TzelPlugin::ProcessDataCall(PPluginCallRec rec) {
  int32_t result = 0;
  rec->ResultValue = 0;
  if (!TzelParamsList::is_valid(rec->Params)) throw InvalidCallParameters();
  void* const input = rec->Data;
  const TModuleTypes types = TModuleTypes::from_bits(rec->ModuleTypes);
  if (!types.empty()) {
    try {
      auto* list =
          rec->DataType == QUENDRA_DT_PARAMS_LIST ? static_cast<QuendraParamsList*>(rec->Data) : nullptr;
      if (list && !types.contains(TModuleType::mttDataQuery) && TzelParamsList::is_valid(list) &&
          TzelParamsList::from(list)->empty())
        rec->Data = nullptr;
      bool run = true;
      if (types.contains(TModuleType::mttDataExport)) {
        if (!rec->Data) {
          log_if_text(*this, 1, MsgNoData);
          run = false;
        } else if (list && TzelParamsList::is_valid(list)) {
          TzelParamsList* rows = TzelParamsList::from(list);
          if (rows->is_rows_list() && !rows->empty() && !rows->GetItem(rows->Count() - 1)->is_row_marker())
            rows->AddNewRow();
        }
      }
      if (run) {
        if (OnProcessData) OnProcessData(*this, rec, result);
        if (TzelRowsParamsList* rows = OutputRows.get(); rows && !rows->empty()) {
          rec->ResultType = QUENDRA_DT_PARAMS_LIST;
          rec->ResultValue = reinterpret_cast<intptr_t>(rows);
        }
        // A positive result announces an output block; the host's own input is not one.
        if (result > 0 && (!rec->Data || rec->Data == input)) result = 0;
        if (types.contains(TModuleType::mttDataExport) || types.contains(TModuleType::mttEventsHandling))
          log_if_text(*this, result < 0 ? 1 : 2, result < 0 ? MsgWriteCompleteError : MsgWriteComplete);
      }
    } catch (...) {
      result = QUENDRA_FAILED;
      log_if_text(*this, 1, MsgWriteCompleteError);
    }
  }
  // The host never gets its own input back as output.
  if (rec->Data == input) rec->Data = nullptr;
  return result;
}

int32_t TzelPlugin::GetDataCall(PPluginCallRec rec) {
  int32_t result = 0;
  rec->ResultValue = 0;
  if (TModuleTypes::from_bits(rec->ModuleTypes).empty()) return 0;
  rec->Data = nullptr;
  try {
    if (OnGetData) OnGetData(*this, rec, result);
    TzelRowsParamsList* rows = OutputRows.get();
    if (!rows) throw std::logic_error("no output rows before LOAD");
    if (!rows->empty()) {
      rec->ResultType = QUENDRA_DT_PARAMS_LIST;
      rec->ResultValue = reinterpret_cast<intptr_t>(rows);
    }
    if (result > 0 && !rec->Data) result = 0;
  } catch (...) {
    result = QUENDRA_FAILED;
    log_if_text(*this, 1, MsgWriteCompleteError);
  }
  return result;
}

int32_t TzelPlugin::GetEventsCall(PPluginCallRec rec) {
  if (!EventRows) throw std::logic_error("no event rows before LOAD");
  if (rec->ResultValue == reinterpret_cast<intptr_t>(EventRows.get())) {
    EventRows->Clear();
  } else {
    rec->ResultType = QUENDRA_DT_PARAMS_LIST;
    rec->ResultValue = reinterpret_cast<intptr_t>(EventRows.get());
  }
  return 0;
}

namespace {

// The standard values' names, made once for the process (null when the name table was full).
struct StandardNames {
  const ItemName* FullDataPacket = InternItemName("FULL_DATA_PACKET");
  const ItemName* DataPacket = InternItemName("DATA_PACKET");
  const ItemName* DateTimeStamp = InternItemName("DATE_TIME_STAMP");
  const ItemName* DataSourceId = InternItemName("DATA_SOURCE_ID");
  const ItemName* DataSourceFullName = InternItemName("DATA_SOURCE_FULL_NAME");
  const ItemName* ClientId = InternItemName("CLIENTID");
  const ItemName* DataSourceName = InternItemName("DATA_SOURCE_NAME");
};

TzelParamsListItem* add_named(TzelParamsList& list, const ItemName* name, std::string_view text,
                              OleVariant&& value) {
  return name ? list.Add(*name, std::move(value)) : list.Add(text, std::move(value));
}

}  // namespace

int AddStandardValues(TzelParamsList* list, std::string_view full_packet, std::string_view packet,
                      int32_t data_source_id, int32_t client_id, std::string_view source_name,
                      std::string_view full_name, std::string_view client_name) {
  if (!list) return 0;
  static const StandardNames names;
  int count = 0;
  auto add = [&](const ItemName* name, std::string_view text, OleVariant&& value) {
    TzelParamsListItem* item = add_named(*list, name, text, std::move(value));
    ++count;
    return item;
  };
  TzelParamsListItem* full = nullptr;
  if (!full_packet.empty())
    full = add(names.FullDataPacket, "FULL_DATA_PACKET", OleVariant::from_ansi_as_wide(full_packet));
  if (!packet.empty()) {
    // Usually the same text as the full packet: then both items share one wide copy of it.
    if (full && names.DataPacket && packet == full_packet) {
      list->AddSameValue(*names.DataPacket, *full);
      ++count;
    } else {
      add(names.DataPacket, "DATA_PACKET", OleVariant::from_ansi_as_wide(packet));
    }
  }
  add(names.DateTimeStamp, "DATE_TIME_STAMP", OleVariant::from_date(platform::local_now_ole_date()));
  add(names.DataSourceId, "DATA_SOURCE_ID", OleVariant::from_int32(data_source_id));
  add(names.DataSourceFullName, "DATA_SOURCE_FULL_NAME", OleVariant::from_ansi_as_wide(full_name));
  if (client_id != 0) {
    add(names.ClientId, "CLIENTID", OleVariant::from_int32(client_id));
    add(names.DataSourceName, "DATA_SOURCE_NAME", OleVariant::from_ansi_as_wide(client_name));
  } else {
    add(names.DataSourceName, "DATA_SOURCE_NAME", OleVariant::from_ansi_as_wide(source_name));
  }
  return count;
}

}  // namespace quendra
