// The twelve exported functions of the library. Each forwards to the module base, which catches every failure.
#include "plugin/plugin_exports.h"
#include "quendra/plugin_api.h"

#if defined(_WIN32)
#define QUENDRA_EXPORT  // names and ordinals come from quendra.def
#else
#define QUENDRA_EXPORT __attribute__((visibility("default")))
#endif

namespace ex = quendra::exports;

extern "C" {

QUENDRA_EXPORT int32_t QUENDRA_CALL GetLogEx(QuendraCallRec* rec) { return ex::GetLogEx(rec); }
QUENDRA_EXPORT int32_t QUENDRA_CALL GetEvents(QuendraCallRec* rec) { return ex::GetEvents(rec); }
QUENDRA_EXPORT int32_t QUENDRA_CALL GetData(QuendraCallRec* rec) { return ex::GetData(rec); }
QUENDRA_EXPORT int32_t QUENDRA_CALL ProcessData(QuendraCallRec* rec) { return ex::ProcessData(rec); }
QUENDRA_EXPORT void QUENDRA_CALL ShowOptionsDialog(QuendraCallRec* rec) { ex::ShowOptionsDialog(rec); }
QUENDRA_EXPORT uint8_t QUENDRA_CALL MultiThreadSupport(QuendraCallRec* rec) { return ex::MultiThreadSupport(rec); }
QUENDRA_EXPORT int32_t QUENDRA_CALL GetCustomCommands(QuendraCallRec* rec) { return ex::GetCustomCommands(rec); }
QUENDRA_EXPORT int32_t QUENDRA_CALL GetPluginIntfVersion(void) { return ex::GetPluginIntfVersion(); }
QUENDRA_EXPORT float QUENDRA_CALL GetAppMinVersion(QuendraCallRec* rec) { return ex::GetAppMinVersion(rec); }
QUENDRA_EXPORT int32_t QUENDRA_CALL GetModuleType(QuendraCallRec* rec) { return ex::GetModuleType(rec); }
QUENDRA_EXPORT const char* QUENDRA_CALL GetModuleDescription(QuendraCallRec* rec) {
  return ex::GetModuleDescription(rec);
}
QUENDRA_EXPORT int32_t QUENDRA_CALL ExecutePluginCommand(QuendraCallRec* rec) { return ex::ExecutePluginCommand(rec); }

}  // extern "C"
