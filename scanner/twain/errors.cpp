// The last-error record, its texts and the report box.
#include <array>

#include "morvex/twain/multitwain.h"
#include "session_state.h"

namespace morvex::twain {

void TWAIN_ClearError() {
  SessionState& s = Session();
  s.errorCode = 0;
  s.errorReturnCode = 0;
  s.errorCondition = 0;
}

void TWAIN_NoteError(int code) {
  SessionState& s = Session();
  if (s.errorCode != 0) return;
  s.errorCode = code;
  if (code >= 2 && code <= 5) {
    // The status query is a triplet of its own: the failed triplet's code
    // stays the last return code.
    s.errorReturnCode = s.lastReturnCode;
    s.errorCondition = TWAIN_QueryCondition();
    s.lastReturnCode = s.errorReturnCode;
  } else {
    s.errorReturnCode = 0;
    s.errorCondition = 0;
  }
}

TW_UINT16 TWAIN_QueryCondition() {
  const int state = Session().state;
  TW_STATUS status{};
  bool answered = false;
  if (state >= 4) {
    answered = TWAIN_CallSource(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
  } else if (state == 3) {
    answered = TWAIN_CallManager(DG_CONTROL, DAT_STATUS, MSG_GET, &status);
  } else {
    return TWCC_SEQERROR;
  }
  return answered ? status.ConditionCode : static_cast<TW_UINT16>(TWCC_BUMMER);
}

int TWAIN_LastErrorCode() { return Session().errorCode; }
TW_UINT16 TWAIN_LastErrorReturnCode() { return Session().errorReturnCode; }
TW_UINT16 TWAIN_LastErrorCondition() { return Session().errorCondition; }

std::string TWAIN_ErrorText(int code) {
  static const std::array<const char*, 14> texts = {
      "[no details available]",
      "",
      "DAT_CAPABILITY/MSG_GET failed",
      "DAT_CAPABILITY/MSG_SET failed",
      "Source Manager operation failed",
      "DataSource operation failed",
      "",
      "TWAIN session not in State 4 (Source Open)",
      "MSG_GET returned a NULL container handle",
      "MSG_GET returned an invalid container handle",
      "Returned container is not valid type",
      "Returned container has invalid ItemType",
      "Returned container is empty",
      "App and source found NO values in common",
  };
  if (code < 0 || code >= static_cast<int>(texts.size())) return std::to_string(code) + " (undefined)";
  return texts[static_cast<std::size_t>(code)];
}

std::string TWAIN_ReturnCodeText(unsigned code) {
  static const std::array<const char*, 8> texts = {
      "TWRC_SUCCESS",  "TWRC_FAILURE",    "TWRC_CHECKSTATUS ('tried hard')", "TWRC_CANCEL",
      "TWRC_DSEVENT", "TWRC_NOTDSEVENT", "TWRC_XFERDONE",                   "TWRC_ENDOFLIST",
  };
  if (code >= texts.size()) return std::to_string(code) + " (undefined)";
  return texts[code];
}

std::string TWAIN_ConditionCodeText(unsigned code) {
  static const std::array<const char*, 13> texts = {
      "TWCC_SUCCESS",
      "TWCC_BUMMER (Failure due to unknown causes)",
      "TWCC_LOWMEMORY",
      "TWCC_NODS (No Data Source)",
      "TWCC_MAXCONNECTIONS (DS is connected to max possible apps)",
      "TWCC_OPERATIONERROR (DS or DSM reported error, app shouldn't)",
      "TWCC_BADCAP (Unknown capability)",
      "7 (undefined)",
      "8 (undefined)",
      "TWCC_BADPROTOCOL (Unrecognized triplet)",
      "TWCC_BADVALUE (Data parameter out of range)",
      "TWCC_SEQERROR (Triplet out of sequence)",
      "TWCC_BADDEST (Unknown dest. App/Src in DSM_Entry)",
  };
  if (code >= texts.size()) return std::to_string(code) + " (undefined)";
  return texts[code];
}

void TWAIN_ReportLastError(const std::string& stepText) {
  const SessionState& s = Session();
  std::string details = stepText + "\n" + TWAIN_ErrorText(s.errorCode);
  if (s.errorCode >= 2 && s.errorCode <= 5) {
    details += "\nReturn code: " + TWAIN_ReturnCodeText(s.errorReturnCode);
    details += "\nCondition code: " + TWAIN_ConditionCodeText(s.errorCondition);
  }
  TWAIN_WarningBox("TWAIN_ReportLastError: an error occurred", details);
}

}  // namespace morvex::twain
