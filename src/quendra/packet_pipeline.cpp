// The data path of one ProcessData call: the chunk goes into its client's stream buffer, complete blocks are
// cut out between the root element's start and end tags, filtered, returned to the host and parsed into rows.
#include <mutex>

#include "common/errors.h"
#include "platform/clock.h"
#include "quendra/quendra_module.h"
#include "quendra/value_conversion.h"
#include "text/date_template.h"
#include "text/format_text.h"
#include "xml/xml_parse_result.h"

namespace quendra {

namespace {

constexpr std::string_view kBlockSeparator = "<{[::]}>";

// Said once for each block the full stream buffer cut into: the block is dropped whole, never delivered torn.
constexpr std::string_view kBlockDropped =
    "A data block longer than the stream buffer (%s bytes) was dropped before its end tag arrived";

constexpr std::string_view kPacketFailed = "The received data could not be processed (%s)";

bool is_identity(const TzelTranslationTable* table) {
  return !table || table->IsIdentity();
}

// Appends `text` through the map; without a map, or with one that keeps every byte, unchanged.
void append_translated(const TzelTranslationTable* table, std::string_view text, std::string& out) {
  if (is_identity(table)) {
    out.append(text);
  } else {
    out.append(table->Translate(text));
  }
}

}  // namespace

std::string& TaPlugin::ResultTextOfThisThread() {
  std::lock_guard lock(result_texts_mutex_);
  return result_texts_[std::this_thread::get_id()];
}

int32_t TaPlugin::zelPluginProcessData(PPluginCallRec rec) {
  std::shared_lock lock(parser_lock_);
  if (!cfg_) return QUENDRA_INVALID;
  if (ParserUnloaded) return 0;
  if (!TzelParamsList::is_valid(rec->Params)) throw InvalidCallParameters();
  TSerialPortDM* container = FindDataSource(rec->DataSourceID);
  if (!TModuleTypes::from_bits(rec->ModuleTypes).contains(TModuleType::mttDataParser) ||
      !IsModuleActive(TModuleType::mttDataParser))
    return 0;
  if (!container) return 0;  // a data source the host did not list: ignored
  try {
    return ProcessPacket(rec, *container);
  } catch (const std::exception& failure) {
    // The packet ends with what it had; the host gets no rows and no text from it, and learns that it failed
    // (out of memory, say) instead of taking the empty answer for "no complete block yet".
    AddLog(0, FormatText(kPacketFailed, {failure.what()}));
    return QUENDRA_FAILED;
  }
}

int32_t TaPlugin::ProcessPacket(PPluginCallRec rec, TSerialPortDM& container) {
  container.SetCheckClientsEnabled(false);
  const std::string_view chunk = rec->Data && rec->DataSize > 0
                                     ? std::string_view(static_cast<const char*>(rec->Data), rec->DataSize)
                                     : std::string_view();
  int32_t result = 0;
  {
    // Packets of one data source take turns here for the whole packet.
    ListWriteLock clients(container.Clients);
    container.FData->Clear();
    TCustomParserClient& client = *container.Clients.FindOrCreateClient(*rec, this);
    client.Stream.Lock();
    struct Unlock {
      TFIFOStream& stream;
      ~Unlock() { stream.Unlock(); }
    } unlock{client.Stream};

    const auto raw_map = cfg_->TranslationTable(TDataSourceCfg::kRawDataTable);
    const std::size_t dropped =
        client.AppendText(is_identity(raw_map.get()) ? chunk : std::string_view(raw_map->Translate(chunk)));
    if (dropped > 0 && !client.WaitingForStart) {
      // The open block lost its beginning: drop it whole and wait for the next start tag.
      client.RestartBlock();
      AddLog(1, FormatText(kBlockDropped, {std::to_string(client.Stream.Capacity())}));
    }
    client.ResultText.clear();
    CutBlocks(container, client);

    // The thread's buffer takes the text by exchange; the client's buffer is emptied at its next packet.
    std::string& text = ResultTextOfThisThread();
    text.swap(client.ResultText);
    result = static_cast<int32_t>(text.size());
    if (result > 0) {
      rec->DataType = QUENDRA_DT_TEXT;
      rec->DataSize = result;
      rec->Data = text.data();
    }
    TzelRowsParamsList* rows = OutputRows.get();
    if (rows) {
      // The packet's rows change lists without being copied; the container's list is cleared at the next
      // packet.
      rows->Clear();
      rows->TakeItems(*container.FData);
    }
  }
  container.EnableCheckIfShared();
  return result;
}

std::pair<std::ptrdiff_t, const std::string*> TaPlugin::FindStartSign(const TFIFOStream& stream) const {
  // Both start signs are the root's name after '<' and differ in their last byte: one pass over the buffer
  // finds the first of them.
  const std::string_view prefix = std::string_view(signs_.StartSign1).substr(0, signs_.StartSignLen() - 1);
  const std::string_view held = stream.View();
  for (std::ptrdiff_t at = stream.Search(prefix); at >= 0;
       at = stream.Search(prefix, static_cast<std::size_t>(at) + 1)) {
    const std::size_t next = static_cast<std::size_t>(at) + prefix.size();
    if (next >= held.size()) break;
    if (held[next] == signs_.StartSign1.back()) return {at, &signs_.StartSign1};
    if (held[next] == signs_.StartSign2.back()) return {at, &signs_.StartSign2};
  }
  return {-1, nullptr};
}

void TaPlugin::CutBlocks(TSerialPortDM& container, TCustomParserClient& client) {
  TFIFOStream& stream = client.Stream;
  const std::size_t start_len = signs_.StartSignLen();
  const uint32_t timeout = static_cast<uint32_t>(std::max(0.0, cfg_->spSignTimeout_Value));
  for (;;) {
    if (start_len == 0) client.WaitingForStart = false;
    if (client.WaitingForStart) {
      const auto [p, sign] = FindStartSign(stream);
      if (p >= 0) {
        client.StartSign = *sign;
        stream.Discard(static_cast<std::size_t>(p) + start_len);
        client.WaitingForStart = false;
        client.BlockStartStamp = platform::tick_count();
      } else if (stream.Size() > start_len) {
        // Keep only what could be the beginning of a start tag split across chunks.
        stream.Discard(stream.Size() - start_len + 1);
      }
    } else if (start_len == 0) {
      client.ActivityStamp = platform::tick_count();
    }
    if (client.WaitingForStart) return;

    const std::ptrdiff_t end = stream.Search(signs_.EndSign);
    if (end < 0) {
      // Measured from the start tag: every chunk refreshes the activity stamp, so measuring from it would
      // never let a block that keeps receiving garbage time out.
      if (timeout > 0 && platform::tick_count() - client.BlockStartStamp > timeout) client.RestartBlock();
      return;
    }
    client.EndSign = signs_.EndSign;
    // The body is read in place (nothing writes to the stream until the block is discarded), and discarded
    // also when processing fails, so a failing block is never met again.
    const std::size_t block_size = static_cast<std::size_t>(end) + signs_.EndSign.size();
    try {
      ProcessBlock(container, client, stream.View().substr(0, static_cast<std::size_t>(end)));
    } catch (...) {
      stream.Discard(block_size);
      throw;
    }
    stream.Discard(block_size);
    client.RestartBlock();
    if (stream.Size() == 0) return;
  }
}

void TaPlugin::ProcessBlock(TSerialPortDM& container, TCustomParserClient& client, std::string_view body) {
  const TzelTranslationTable* map = cfg_->TranslationTable(TDataSourceCfg::kDataPacketTable).get();
  std::string& text = client.BlockText;
  text.clear();
  append_translated(map, client.StartSign, text);
  append_translated(map, body, text);
  append_translated(map, client.EndSign, text);
  if (packet_filters_ && !packet_filters_->AcceptBlock(
                             text, Texts, [this](int type, const std::string& line) { AddLog(type, line); }))
    return;
  client.ResultText += text;
  client.ResultText += kBlockSeparator;
  ParseBlock(container, client, text);
}

void TaPlugin::ParseBlock(TSerialPortDM& container, TCustomParserClient& client, std::string_view text) {
  TzelParamsList* current = container.BlockValues.get();
  current->Clear();
  AddStandardValues(current, text, text, container.DataSourceID, client.ClientID, container.DataSourceName,
                    container.DataSourceFullName, client.ShortName);
  try {
    TtolXMLTree& tree = container.Tree;
    tree.LoadFromText(text);
    const TtolXMLNode* root = tree.FindElement(signs_.RootName);
    if (!root) return;

    const TDataSourceCfg& cfg = *cfg_;
    ValueConversionSettings settings;
    settings.LeftTrim_Checked = cfg.LeftTrim_Checked;
    settings.RightTrim_Checked = cfg.RightTrim_Checked;
    settings.FmtDate_Text = cfg.FmtDate_Text;
    settings.FmtTime_Text = cfg.FmtTime_Text;
    settings.FmtDateTime_Text = cfg.FmtDateTime_Text;
    settings.chkUseNowDate_Checked = cfg.chkUseNowDate_Checked;
    settings.chkUseNowTime_Checked = cfg.chkUseNowTime_Checked;
    settings.spLocaleID_Value = cfg.spLocaleID_Value;
    // Looked up when the setting changes rather than under the shared table's lock for every block.
    TSerialPortDM::DateTemplates& templates = container.Templates;
    const int32_t lcid = LocaleIdFromSetting(cfg.spLocaleID_Value);
    const bool new_locale = !templates.Locale || templates.LocaleId != lcid;
    if (new_locale) {
      // Locale data lives as long as the process: the pointer stays good until the setting changes.
      templates.LocaleId = lcid;
      templates.Locale = &LocaleDataForLcid(lcid);
    }
    settings.Locale = templates.Locale;
    // Expanded again only when the settings or the locale changed since this source's last block.
    const std::string* sources[] = {&cfg.FmtDate_Text, &cfg.FmtTime_Text, &cfg.FmtDateTime_Text};
    for (int i = 0; i < 3; ++i) {
      if (!new_locale && templates.Sources[i] == *sources[i]) continue;
      templates.Expanded[i] = ExpandDateTemplate(*sources[i], *settings.Locale);
      templates.Sources[i] = *sources[i];
    }
    settings.ExpandedTemplates = templates.Expanded;
    const auto string_map = cfg.TranslationTable(TDataSourceCfg::kStringVariablesTable);
    settings.StringVariablesMap = string_map.get();
    const ConversionLog log = [this](int type, const std::string& line) { AddLog(type, line); };
    const ValueConversionContext context{settings, Texts, log};
    const rules::ValueFormatter format = [&](std::optional<TParamDataType> type, std::string_view value) {
      return FormatParamValue(context, type, value);
    };
    const rules::WalkOptions options{cfg.chkExpNode_Checked, cfg.chkExpAttr_Checked,
                                     cfg.chkAddNodeName_Checked, cfg.chkNameUpper_Checked};
    rules::WalkElement(*root, *current, *container.FData, node_rules_, options, format, &container.WalkNames);
  } catch (const std::exception& failure) {
    AddLog(0, Texts.ErrParseData + ": " + failure.what());
  }
}

}  // namespace quendra
