/* Quendra plug-in interface for host authors.
 *
 * Boundary rules, once for the whole interface:
 * - Twelve functions are exported, by name and by the ordinals 2 to 13 (ordinal 1 is left free). On 32-bit
 *   Windows they are __stdcall. All except GetPluginIntfVersion take one pointer to a call record that the
 *   host owns for the duration of the call.
 * - The call record is packed. On i686 it is 102 bytes; on 64-bit builds its pointer fields widen and
 *   RecSize must be sizeof(QuendraCallRec).
 * - Parameter lists cross the boundary as live objects in the layout below. Their items, item arrays and
 *   counted 8-bit strings are allocated from the process heap on Windows (HeapAlloc(GetProcessHeap())) and
 *   with the C runtime's malloc elsewhere, so either side may free what the other allocated; wide texts
 *   inside variants are OLE strings (SysAllocString on Windows).
 * - Lists and rows handed to the host stay owned by the plug-in and valid until the next call of the same
 *   kind on the same instance, or until the instance is unloaded. The host must not change or free them.
 * - Results: 0 or more success; -1 invalid record, no instance, refused or missing parameter; -2 unknown
 *   command; -3 failure while handling. No failure ever crosses an export.
 */
#ifndef QUENDRA_PLUGIN_API_H
#define QUENDRA_PLUGIN_API_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define QUENDRA_CALL __stdcall
#else
#define QUENDRA_CALL
#endif

#define QUENDRA_INTF_VERSION 4
#define QUENDRA_LIST_MAGIC 0x0FDE2E4Bu
#define QUENDRA_RELEASE_FLAG 0xFFu
#define QUENDRA_NEW_ROW "$NEW_ROW$"
#define QUENDRA_ROWS_LIST_CLASS "TzelRowsParamsList"
#define QUENDRA_PARAMS_LIST_CLASS "TzelParamsList"
#define QUENDRA_PARAMS_ITEM_CLASS "TzelParamsListItem"

/* Result codes of the data and command exports. */
enum {
  QUENDRA_INVALID = -1,
  QUENDRA_UNKNOWN_COMMAND = -2,
  QUENDRA_FAILED = -3
};

/* Codes of DataType and ResultType. */
enum { QUENDRA_DT_PARAMS_LIST = 1, QUENDRA_DT_TEXT = 2, QUENDRA_DT_INTEGER = 5 };

/* Module roles: TModuleTypes is a one-byte set, bit n for member n. */
enum {
  QUENDRA_MTT_DATA_QUERY = 0,
  QUENDRA_MTT_DATA_PARSER = 1,
  QUENDRA_MTT_DATA_EXPORT = 2,
  QUENDRA_MTT_EVENTS_HANDLING = 3,
  QUENDRA_MTT_LOGGING = 4,
  QUENDRA_MTT_FILTER = 5,
  QUENDRA_MTT_DEVICE_LAYER = 6,
  QUENDRA_MTT_MENU_EXT = 7
};
/* Module options, reported in bits 16 and 17 of GetModuleType. */
enum { QUENDRA_MO_NO_CONFIG = 0, QUENDRA_MO_XML_OPTIONS = 1 };

/* Window messages a host log window receives; parameter 1 is the SenderID given at LOAD. */
#define QUENDRA_WM_COPYDATA 0x004A   /* parameter 2: QuendraCopyData*, tag 1 block of lines, 2 one line */
#define QUENDRA_WM_LOG_WAITING 0x0711 /* parameter 2: 0; lines wait in the buffer, call GetLogEx */
#define QUENDRA_COPYDATA_LOG_BLOCK 1
#define QUENDRA_COPYDATA_LOG_LINE 2

typedef struct QuendraCopyData {
  uintptr_t Tag;
  uint32_t Size; /* bytes at Data, no terminator counted */
  void* Data;
} QuendraCopyData;

/* The 16-byte OLE variant (24 bytes on 64-bit Windows, as the platform's own). */
typedef struct QuendraVariant {
  uint16_t Type; /* VT code: 0 empty, 1 null, 3 int32, 5 double, 7 date, 8 OLE string, 11 bool, ... */
  uint16_t Reserved1, Reserved2, Reserved3;
  union {
    int64_t Int64;
    int32_t Int32;
    int16_t Int16;
    int8_t Int8;
    uint8_t UInt8;
    double Double;
    float Single;
    int16_t Bool; /* -1 true, 0 false */
    uint16_t* OleString; /* UTF-16, 32-bit byte length stored just before the first character */
    char* AnsiString;     /* type 0x0100: a counted 8-bit string */
    void* Pointer;
#ifdef _WIN32
    struct {
      void* Record;
      void* RecordInfo;
    } Record;
#endif
  } Value;
} QuendraVariant;

/* Class record that every list object's header points to: its class name and its two operations. */
typedef struct QuendraClassRec {
  const char* ClassName;
  void(QUENDRA_CALL* Clear)(void* self);
  void(QUENDRA_CALL* Destroy)(void* self);
} QuendraClassRec;

/* Counted 8-bit string: a pointer to the first character; the 32-bit length is stored in the four bytes
 * before it, a 32-bit reference count in the four bytes before the length, and a zero byte follows the last
 * character. A null pointer is the empty string. */
typedef char* QuendraAnsiStr;

/* One named value of a list (40 bytes on i686). */
typedef struct QuendraParamsItem {
  const QuendraClassRec* ClassRec;
  QuendraAnsiStr Name;      /* as added: not trimmed, case kept */
  QuendraAnsiStr LowerName; /* Name in lower case, used for lookups */
  void* Reserved12;
  uint8_t State; /* 2 for every item added to a list */
  uint8_t Reserved17[7];
  QuendraVariant Value;
} QuendraParamsItem;

/* Ordered list of owned items (28 bytes on i686). A rows list is the same with one more reserved word (32
 * bytes) and the class name "TzelRowsParamsList"; its rows end at items named "$NEW_ROW$". */
typedef struct QuendraParamsList {
  const QuendraClassRec* ClassRec;
  QuendraParamsItem** Items;
  int32_t Count;
  int32_t Capacity;
  uint32_t Magic; /* QUENDRA_LIST_MAGIC while alive, 0 once destroyed */
  QuendraAnsiStr ListID;
  void* Reserved24;
} QuendraParamsList;

typedef struct QuendraRowsParamsList {
  QuendraParamsList List;
  void* Reserved28;
} QuendraRowsParamsList;

#pragma pack(push, 1)
typedef struct QuendraCallRec {
  int32_t RecSize;
  uint8_t ReleaseFlag;
  uint32_t Handle;
  int32_t SenderID;
  int32_t DataSourceID;
  int32_t ClientID;
  uint8_t ModuleTypes;
  QuendraParamsList* Params;
  int32_t Reserved26;
  int32_t DataSize;
  uint8_t DataType;
  void* Data;
  int32_t Reserved39;
  int32_t ResultSize;
  uint8_t ResultType;
  intptr_t ResultValue;
  char DataSourceName[50]; /* zero-terminated or filling the field */
} QuendraCallRec;
#pragma pack(pop)

typedef int32_t(QUENDRA_CALL* QuendraCallFn)(QuendraCallRec* rec);
typedef void(QUENDRA_CALL* QuendraShowOptionsDialogFn)(QuendraCallRec* rec);
typedef uint8_t(QUENDRA_CALL* QuendraMultiThreadSupportFn)(QuendraCallRec* rec);
typedef int32_t(QUENDRA_CALL* QuendraGetPluginIntfVersionFn)(void);
typedef float(QUENDRA_CALL* QuendraGetAppMinVersionFn)(QuendraCallRec* rec);
typedef const char*(QUENDRA_CALL* QuendraGetModuleDescriptionFn)(QuendraCallRec* rec);

/* Export names with their ordinals. */
#define QUENDRA_EXPORTS(X)              \
  X(2, GetLogEx, QuendraCallFn)         \
  X(3, GetEvents, QuendraCallFn)        \
  X(4, GetData, QuendraCallFn)          \
  X(5, ProcessData, QuendraCallFn)      \
  X(6, ShowOptionsDialog, QuendraShowOptionsDialogFn) \
  X(7, MultiThreadSupport, QuendraMultiThreadSupportFn) \
  X(8, GetCustomCommands, QuendraCallFn) \
  X(9, GetPluginIntfVersion, QuendraGetPluginIntfVersionFn) \
  X(10, GetAppMinVersion, QuendraGetAppMinVersionFn) \
  X(11, GetModuleType, QuendraCallFn)   \
  X(12, GetModuleDescription, QuendraGetModuleDescriptionFn) \
  X(13, ExecutePluginCommand, QuendraCallFn)

#ifdef __cplusplus
}
#endif

#endif /* QUENDRA_PLUGIN_API_H */
