// What each of the twelve exports does. The shared library's entry points forward here; every function
// catches all failures and answers with its value for failure, so nothing escapes across the boundary.
#pragma once

#include <cstdint>

#include "plugin/call_record.h"

namespace quendra::exports {

int32_t GetLogEx(PPluginCallRec rec) noexcept;
int32_t GetEvents(PPluginCallRec rec) noexcept;
int32_t GetData(PPluginCallRec rec) noexcept;
int32_t ProcessData(PPluginCallRec rec) noexcept;
void ShowOptionsDialog(PPluginCallRec rec) noexcept;
uint8_t MultiThreadSupport(PPluginCallRec rec) noexcept;
int32_t GetCustomCommands(PPluginCallRec rec) noexcept;
int32_t GetPluginIntfVersion() noexcept;
float GetAppMinVersion(PPluginCallRec rec) noexcept;
int32_t GetModuleType(PPluginCallRec rec) noexcept;
const char* GetModuleDescription(PPluginCallRec rec) noexcept;
int32_t ExecutePluginCommand(PPluginCallRec rec) noexcept;

}  // namespace quendra::exports
