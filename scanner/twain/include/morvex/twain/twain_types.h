// TWAIN's data types, structures and constants as the scanner layer and a
// Source Manager exchange them through DSM_Entry, written from the values
// and layouts the TWAIN standard documents (protocol 1.x). Structures use
// 2-byte packing, as the standard's structures do on its platforms.
#pragma once

#include <stdint.h>

#include "morvex/winshim/hglobal.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef int8_t TW_INT8;
typedef int16_t TW_INT16;
typedef int32_t TW_INT32;
typedef uint8_t TW_UINT8;
typedef uint16_t TW_UINT16;
typedef uint32_t TW_UINT32;
typedef uint16_t TW_BOOL;
typedef uintptr_t TW_UINTPTR;
typedef void* TW_MEMREF;
typedef HGLOBAL TW_HANDLE;
typedef char TW_STR32[34];
typedef char TW_STR64[66];
typedef char TW_STR128[130];
typedef char TW_STR255[256];

#pragma pack(push, 2)

typedef struct TW_FIX32 {
  TW_INT16 Whole;
  TW_UINT16 Frac;
} TW_FIX32;

typedef struct TW_FRAME {
  TW_FIX32 Left;
  TW_FIX32 Top;
  TW_FIX32 Right;
  TW_FIX32 Bottom;
} TW_FRAME;

typedef struct TW_VERSION {
  TW_UINT16 MajorNum;
  TW_UINT16 MinorNum;
  TW_UINT16 Language;
  TW_UINT16 Country;
  TW_STR32 Info;
} TW_VERSION;

typedef struct TW_IDENTITY {
  TW_UINT32 Id;
  TW_VERSION Version;
  TW_UINT16 ProtocolMajor;
  TW_UINT16 ProtocolMinor;
  TW_UINT32 SupportedGroups;
  TW_STR32 Manufacturer;
  TW_STR32 ProductFamily;
  TW_STR32 ProductName;
} TW_IDENTITY, *pTW_IDENTITY;

typedef struct TW_USERINTERFACE {
  TW_BOOL ShowUI;
  TW_BOOL ModalUI;
  TW_HANDLE hParent;
} TW_USERINTERFACE;

// pEvent points at the application's message (a MorvexMessage here).
typedef struct TW_EVENT {
  TW_MEMREF pEvent;
  TW_UINT16 TWMessage;
} TW_EVENT;

typedef struct TW_PENDINGXFERS {
  TW_UINT16 Count;
  union {
    TW_UINT32 EOJ;
    TW_UINT32 Reserved;
  };
} TW_PENDINGXFERS;

typedef struct TW_STATUS {
  TW_UINT16 ConditionCode;
  TW_UINT16 Reserved;
} TW_STATUS;

typedef struct TW_CAPABILITY {
  TW_UINT16 Cap;
  TW_UINT16 ConType;
  TW_HANDLE hContainer;
} TW_CAPABILITY;

typedef struct TW_ONEVALUE {
  TW_UINT16 ItemType;
  TW_UINT32 Item;
} TW_ONEVALUE;

typedef struct TW_ARRAY {
  TW_UINT16 ItemType;
  TW_UINT32 NumItems;
  TW_UINT8 ItemList[1];
} TW_ARRAY;

typedef struct TW_ENUMERATION {
  TW_UINT16 ItemType;
  TW_UINT32 NumItems;
  TW_UINT32 CurrentIndex;
  TW_UINT32 DefaultIndex;
  TW_UINT8 ItemList[1];
} TW_ENUMERATION;

typedef struct TW_RANGE {
  TW_UINT16 ItemType;
  TW_UINT32 MinValue;
  TW_UINT32 MaxValue;
  TW_UINT32 StepSize;
  TW_UINT32 DefaultValue;
  TW_UINT32 CurrentValue;
} TW_RANGE;

#pragma pack(pop)

// Byte offsets of the item lists, for code that reads containers as bytes.
enum {
  TW_ARRAY_ITEMLIST_OFFSET = 6,
  TW_ENUMERATION_ITEMLIST_OFFSET = 14
};

// The Source Manager's one entry point. Every triplet passes through it:
// origin identity, destination identity or 0, data group, data argument
// type, message, data. It returns a TWRC_ code.
typedef TW_UINT16 (*DSMENTRYPROC)(pTW_IDENTITY pOrigin, pTW_IDENTITY pDest, TW_UINT32 DG, TW_UINT16 DAT,
                                  TW_UINT16 MSG, TW_MEMREF pData);
TW_UINT16 DSM_Entry(pTW_IDENTITY pOrigin, pTW_IDENTITY pDest, TW_UINT32 DG, TW_UINT16 DAT, TW_UINT16 MSG,
                    TW_MEMREF pData);

// Data groups.
enum {
  DG_CONTROL = 0x0001,
  DG_IMAGE = 0x0002,
  DG_AUDIO = 0x0004
};

// Data argument types.
enum {
  DAT_NULL = 0x0000,
  DAT_CAPABILITY = 0x0001,
  DAT_EVENT = 0x0002,
  DAT_IDENTITY = 0x0003,
  DAT_PARENT = 0x0004,
  DAT_PENDINGXFERS = 0x0005,
  DAT_SETUPMEMXFER = 0x0006,
  DAT_SETUPFILEXFER = 0x0007,
  DAT_STATUS = 0x0008,
  DAT_USERINTERFACE = 0x0009,
  DAT_XFERGROUP = 0x000a,
  DAT_IMAGEINFO = 0x0101,
  DAT_IMAGELAYOUT = 0x0102,
  DAT_IMAGEMEMXFER = 0x0103,
  DAT_IMAGENATIVEXFER = 0x0104,
  DAT_IMAGEFILEXFER = 0x0105
};

// Messages.
enum {
  MSG_NULL = 0x0000,
  MSG_GET = 0x0001,
  MSG_GETCURRENT = 0x0002,
  MSG_GETDEFAULT = 0x0003,
  MSG_GETFIRST = 0x0004,
  MSG_GETNEXT = 0x0005,
  MSG_SET = 0x0006,
  MSG_RESET = 0x0007,
  MSG_QUERYSUPPORT = 0x0008,
  MSG_XFERREADY = 0x0101,
  MSG_CLOSEDSREQ = 0x0102,
  MSG_CLOSEDSOK = 0x0103,
  MSG_DEVICEEVENT = 0x0104,
  MSG_OPENDSM = 0x0301,
  MSG_CLOSEDSM = 0x0302,
  MSG_OPENDS = 0x0401,
  MSG_CLOSEDS = 0x0402,
  MSG_USERSELECT = 0x0403,
  MSG_DISABLEDS = 0x0501,
  MSG_ENABLEDS = 0x0502,
  MSG_ENABLEDSUIONLY = 0x0503,
  MSG_PROCESSEVENT = 0x0601,
  MSG_ENDXFER = 0x0701,
  MSG_STOPFEEDER = 0x0702
};

// Return codes.
enum {
  TWRC_SUCCESS = 0,
  TWRC_FAILURE = 1,
  TWRC_CHECKSTATUS = 2,
  TWRC_CANCEL = 3,
  TWRC_DSEVENT = 4,
  TWRC_NOTDSEVENT = 5,
  TWRC_XFERDONE = 6,
  TWRC_ENDOFLIST = 7,
  TWRC_INFONOTSUPPORTED = 8,
  TWRC_DATANOTAVAILABLE = 9
};

// Condition codes.
enum {
  TWCC_SUCCESS = 0,
  TWCC_BUMMER = 1,
  TWCC_LOWMEMORY = 2,
  TWCC_NODS = 3,
  TWCC_MAXCONNECTIONS = 4,
  TWCC_OPERATIONERROR = 5,
  TWCC_BADCAP = 6,
  TWCC_BADPROTOCOL = 9,
  TWCC_BADVALUE = 10,
  TWCC_SEQERROR = 11,
  TWCC_BADDEST = 12,
  TWCC_CAPUNSUPPORTED = 13,
  TWCC_CAPBADOPERATION = 14,
  TWCC_CAPSEQERROR = 15
};

// Container types.
enum {
  TWON_ARRAY = 3,
  TWON_ENUMERATION = 4,
  TWON_ONEVALUE = 5,
  TWON_RANGE = 6,
  TWON_DONTCARE16 = 0xffff
};

// Item types.
enum {
  TWTY_INT8 = 0x0000,
  TWTY_INT16 = 0x0001,
  TWTY_INT32 = 0x0002,
  TWTY_UINT8 = 0x0003,
  TWTY_UINT16 = 0x0004,
  TWTY_UINT32 = 0x0005,
  TWTY_BOOL = 0x0006,
  TWTY_FIX32 = 0x0007,
  TWTY_FRAME = 0x0008,
  TWTY_STR32 = 0x0009,
  TWTY_STR64 = 0x000a,
  TWTY_STR128 = 0x000b,
  TWTY_STR255 = 0x000c
};

// Capabilities.
enum {
  CAP_XFERCOUNT = 0x0001,
  ICAP_COMPRESSION = 0x0100,
  ICAP_PIXELTYPE = 0x0101,
  ICAP_UNITS = 0x0102,
  ICAP_XFERMECH = 0x0103,
  ICAP_BITDEPTH = 0x112b
};

// Pixel types.
enum {
  TWPT_BW = 0,
  TWPT_GRAY = 1,
  TWPT_RGB = 2,
  TWPT_PALETTE = 3,
  TWPT_CMY = 4,
  TWPT_CMYK = 5,
  TWPT_YUV = 6,
  TWPT_YUVK = 7,
  TWPT_CIEXYZ = 8
};

// Languages and countries used by the application identity.
enum {
  TWLG_USA = 13,
  TWCY_USA = 1
};

#ifdef __cplusplus
}  // extern "C"

static_assert(sizeof(TW_VERSION) == 42);
static_assert(sizeof(TW_IDENTITY) == 156);
static_assert(sizeof(TW_ONEVALUE) == 6);
static_assert(sizeof(TW_PENDINGXFERS) == 6);
static_assert(sizeof(TW_STATUS) == 4);
static_assert(sizeof(TW_RANGE) == 22);
#endif
