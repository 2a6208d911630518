// MultiTWAIN: the scanner layer. Plain functions over one TWAIN session at a
// time, with module-level state (layer_state.h); everything runs on the GUI
// thread and no operation may be entered again while one runs.
//
// The two public operations that open a session, TWAIN_SelectImageSource and
// TWAIN_AcquireDib, start from State 1 and take the session back down to
// State 1 before they return. When the Source Manager or the source refuses
// a closing triplet, the layer still releases the library and returns to
// State 1 (see TWAIN_AbandonSession), so that the next call starts clean.
#pragma once

#include <cstdint>
#include <string>

#include "morvex/twain/platform.h"
#include "morvex/twain/twain_types.h"

namespace morvex::twain {

// ---- Session and states ----------------------------------------------------

// Lets the user choose the default source in the Source Manager's dialog.
// 1 when a source was chosen, 0 otherwise. `window` is the caller's window
// or 0 (a proxy window "Acquire Proxy" then stands in).
int TWAIN_SelectImageSource(HWND window);

// The steps between the states; each reports whether the state is now where
// the step leads.
bool TWAIN_ManagerLoad();
bool TWAIN_ManagerOpen(HWND window);
bool TWAIN_SourceOpenDefault();
bool TWAIN_SourceEnable(HWND window);
bool TWAIN_SourceDisable();
bool TWAIN_SourceClose();
bool TWAIN_ManagerClose(HWND window);
bool TWAIN_ManagerUnload();
// Brings a session that the closing steps left above State 1 down: a
// pending transfer is ended and reset, the closing steps are tried again, and
// whatever stays open is abandoned: the library is released and the state is
// set to 1.
void TWAIN_AbandonSession(HWND window);

// The only callers of DSM_Entry: to the Source Manager, and to the open
// source. Each records the return code and is true for TWRC_SUCCESS.
bool TWAIN_CallManager(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data);
bool TWAIN_CallSource(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, void* data);

// "TWAIN Error" box with the exclamation icon; `details` are shown collapsed.
void TWAIN_WarningBox(const std::string& text, const std::string& details = {});
// "Assertion failed" box captioned "MultiTWAIN" when `condition` is false.
void TWAIN_AssertBox(bool condition);
HWND TWAIN_MakeProxyWindow();

int TWAIN_State();
int TWAIN_Version();  // 106
int TWAIN_GetHideUI();
void TWAIN_SetHideUI(int hide);
TW_UINT16 TWAIN_LastReturnCode();
bool TWAIN_ManagerPresent();
// Replaces the application identity's version and texts; each text is cut
// to what a TW_STR32 holds (33 bytes).
void TWAIN_DescribeApplication(TW_UINT16 majorNum, TW_UINT16 minorNum, TW_UINT16 language, TW_UINT16 country,
                               const std::string& versionInfo, const std::string& manufacturer,
                               const std::string& productFamily, const std::string& productName);
// The application identity, as the next triplet presents it.
const TW_IDENTITY& TWAIN_ApplicationIdentity();

// ---- Native image acquisition --------------------------------------------------

// One image from the default source as a DIB handle, or 0. Bit n of
// `pixelTypes` admits TWPT value n; 0 admits whatever the source delivers.
// The handle belongs to the caller, who frees it with TWAIN_FreeDib.
HGLOBAL TWAIN_AcquireDib(HWND window, std::uint32_t pixelTypes);
void TWAIN_FreeDib(HGLOBAL dib);
void TWAIN_ModalWait();
bool TWAIN_FilterMessage(const Message* message);
void TWAIN_TransferImages();
// One transfer, then any further pending transfers are discarded.
void TWAIN_TransferSingleImage();

// The image list of the last acquisition: up to kImageSlots handles. Slots
// that a source fills beyond the list are not kept. The handles belong to
// the layer, except the one TWAIN_AcquireDib returned; the layer frees them
// when the next acquisition starts (TWAIN_FreeImageList frees them at once),
// so a hook or a caller that keeps one must copy it.
inline constexpr int kImageSlots = 999;
int TWAIN_ImageCount();
// The handle in `slot`, or 0 when the slot is not below the count.
HGLOBAL TWAIN_ImageHandle(int slot);
void TWAIN_FreeImageList();
using ImageHook = void (*)(HGLOBAL dib, int slot);
void TWAIN_SetImageHook(ImageHook hook);
void TWAIN_RemoveImageHook();

// ---- Capabilities and errors ---------------------------------------------

bool TWAIN_RestrictPixelTypes(std::uint32_t pixelTypes);
bool TWAIN_CapSetSingle(TW_UINT16 cap, TW_UINT16 itemType, TW_UINT32 value);
bool TWAIN_CapGetCurrentValue(TW_UINT16 cap, TW_UINT16 itemType, void* destination);
// The size in bytes of an item of the type, 0 for an unknown type.
int TWAIN_ItemSize(TW_UINT16 itemType);
bool TWAIN_ItemTypesMatch(TW_UINT16 a, TW_UINT16 b);

bool TWAIN_SetXferCount(int count);
unsigned TWAIN_GetUnits();
unsigned TWAIN_GetBitDepth();
unsigned TWAIN_GetPixelType();
bool TWAIN_SetUnits(unsigned units);
bool TWAIN_SetBitDepth(unsigned bits);
bool TWAIN_SetPixelType(unsigned pixelType);

// The last-error record: the code of the first failure since the last
// acquisition started, with the return and condition codes for codes 2 to 5.
void TWAIN_ClearError();
void TWAIN_NoteError(int code);
TW_UINT16 TWAIN_QueryCondition();
int TWAIN_LastErrorCode();
TW_UINT16 TWAIN_LastErrorReturnCode();
TW_UINT16 TWAIN_LastErrorCondition();
std::string TWAIN_ErrorText(int code);
std::string TWAIN_ReturnCodeText(unsigned code);
std::string TWAIN_ConditionCodeText(unsigned code);
// The "TWAIN Error" box "TWAIN_ReportLastError: an error occurred", with the
// failed step's text, the record's text and the codes' texts as details.
void TWAIN_ReportLastError(const std::string& stepText);

// ---- Acquisition straight to the clipboard or a file -------------------------

int TWAIN_ScanToClipboard(HWND window, std::uint32_t pixelTypes);
// 0 saved, -1 no image, else what TWAIN_SaveDibFile returned. An empty name
// asks with the save dialog.
int TWAIN_ScanToBmpFile(HWND window, const std::string& fileName);

}  // namespace morvex::twain
