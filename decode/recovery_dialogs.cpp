#ifdef _WIN32
#include "decode/recovery_dialogs.h"

#include <cstdio>

#include "config/style_lists.h"
#include "core/ui.h"
#include "decode/decode_context.h"
#include "decode/dialog_help.h"
#include "decode/recovery_questions.h"
#include "encode/header_styles.h"
#include "resources/resource.h"

namespace {

const char kSkipWarning[] =
    "You have chosen to skip decoding of places where encoding integrity rules have been violated. This may "
    "help in decoding a multiple part format which cannot be automatically detected. However, it is also "
    "possible that the decoded file is corrupted as a result because all areas which should normally be "
    "decoded are not.";
const char kDecodeWarning[] =
    "You have chosen to attempt decoding in spite of violations in the encoding integrity rules. The decoded "
    "file may be corrupted as a result because the assumption of how to decode may be inaccurate.";
const char kConfirmation[] = "*** Warning ***\r\n\r\n%s\r\n\r\nProceed as indicated?";
const char kEncodeQuestion[] =
    "%s apparently cannot be decoded.\r\nYou may instead encode the file (choose Encode),\r\n"
    "continue trying to decode the file (choose Decode),\r\nor cancel the operation on this file (choose Cancel).";
const char kInvalidDataTopic[] = "invalid data";
const char kUnknownMultipartTopic[] = "unknown multipart";
const char kAskEncodeTopic[] = "ask encode";
enum { QUESTION_ROOM = 640 };

static_assert(IDC_DECERR_ABORT == ANSWER_ABORT && IDC_DECERR_SKIP_LINE == ANSWER_SKIP_LINE &&
                  IDC_DECERR_DECODE_LINE == ANSWER_DECODE_LINE && IDC_DECERR_DECODE_ALL == ANSWER_DECODE_ALL &&
                  IDC_DECERR_SKIP_ALL == ANSWER_SKIP_ALL,
              "the Decode Error buttons' ids are the answers the decoder acts on");

// What sets one recovery dialog apart: how it opens and how it answers a button.
struct RecoveryDialog {
  void (*open)(HWND dialog, const char* text);
  bool (*press)(HWND dialog, int button);
};

// The three procedures differ only in their handlers. Only button clicks (notification 0)
// are acted on.
INT_PTR HandleMessage(const RecoveryDialog& kind, HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const RecoveryDialogParam* param = reinterpret_cast<const RecoveryDialogParam*>(lParam);
      KeepHelpFile(dialog, param ? param->helpPath : nullptr);
      kind.open(dialog, param && param->text ? param->text : "");
      return TRUE;
    }
    case WM_COMMAND:
      return HIWORD(wParam) == BN_CLICKED && kind.press(dialog, LOWORD(wParam));
    case WM_DESTROY:
      ForgetHelpFile(dialog);
      return FALSE;
  }
  return FALSE;
}

// --- Decode Error ----------------------------------------------------------------------

const char* WarningFor(int button) {
  switch (button) {
    case IDC_DECERR_SKIP_LINE:
    case IDC_DECERR_SKIP_ALL: return kSkipWarning;
    case IDC_DECERR_DECODE_LINE:
    case IDC_DECERR_DECODE_ALL: return kDecodeWarning;
    default: return nullptr;
  }
}

void OpenDecodeError(HWND dialog, const char* problem) { SetDlgItemTextA(dialog, IDC_DECERR_TEXT, problem); }

// A choice ends the dialog only when confirmed; declining the warning aborts the decode.
void ConfirmChoice(HWND dialog, int button) {
  const int reply = ShowMessage(dialog, MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON1, kConfirmation, WarningFor(button));
  EndDialog(dialog, reply == IDYES ? button : ANSWER_ABORT);
}

bool PressDecodeError(HWND dialog, int button) {
  if (WarningFor(button)) {
    ConfirmChoice(dialog, button);
    return true;
  }
  switch (button) {
    case IDC_DECERR_ABORT:
    case IDCANCEL: EndDialog(dialog, ANSWER_ABORT); return true;
    case IDC_RECOVERY_HELP: OpenDialogHelp(dialog, kInvalidDataTopic); return true;
    default: return false;
  }
}

// --- Retry Decoding --------------------------------------------------------------------

void OpenRetry(HWND dialog, const char* failure) {
  SetDlgItemTextA(dialog, IDC_RETRY_TEXT, failure);
  FillStyleList(GetDlgItem(dialog, IDC_RETRY_STYLE_LIST), STYLE_LIST_DECODE, STYLE_SINGLE);
}

bool PressRetry(HWND dialog, int button) {
  switch (button) {
    case IDOK: EndDialog(dialog, StyleFromList(GetDlgItem(dialog, IDC_RETRY_STYLE_LIST))); return true;
    case IDC_RETRY_TRY_ALL: EndDialog(dialog, RETRY_TRY_ALL); return true;
    case IDCANCEL: EndDialog(dialog, RETRY_ABORT); return true;
    case IDC_RECOVERY_HELP: OpenDialogHelp(dialog, kUnknownMultipartTopic); return true;
    default: return false;
  }
}

// --- Encode or Decode? -----------------------------------------------------------------

void OpenEncodeOrDecode(HWND dialog, const char*) {
  char question[QUESTION_ROOM];
  std::snprintf(question, sizeof question, kEncodeQuestion, DecodeInputName());
  SetDlgItemTextA(dialog, IDC_WHICH_TEXT, question);
}

bool PressEncodeOrDecode(HWND dialog, int button) {
  switch (button) {
    case IDC_WHICH_ENCODE: EndDialog(dialog, WHICH_CODE_ENCODE); return true;
    case IDC_WHICH_DECODE: EndDialog(dialog, WHICH_CODE_DECODE); return true;
    case IDCANCEL: EndDialog(dialog, WHICH_CODE_CANCEL); return true;
    case IDC_RECOVERY_HELP: OpenDialogHelp(dialog, kAskEncodeTopic); return true;
    default: return false;
  }
}

const RecoveryDialog kDecodeError = {OpenDecodeError, PressDecodeError};
const RecoveryDialog kRetry = {OpenRetry, PressRetry};
const RecoveryDialog kEncodeOrDecode = {OpenEncodeOrDecode, PressEncodeOrDecode};

int Show(HINSTANCE instance, HWND owner, int templateId, DLGPROC procedure, const char* text, const char* helpPath,
         int failed) {
  const RecoveryDialogParam param = {text, helpPath};
  const INT_PTR r = DialogBoxParamA(instance, MAKEINTRESOURCEA(templateId), owner, procedure,
                                    reinterpret_cast<LPARAM>(&param));
  return r == -1 ? failed : static_cast<int>(r);
}

}  // namespace

INT_PTR CALLBACK AskAboutLineDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleMessage(kDecodeError, dialog, message, wParam, lParam);
}

INT_PTR CALLBACK TryOverDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleMessage(kRetry, dialog, message, wParam, lParam);
}

INT_PTR CALLBACK WhichCodeDlg(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  return HandleMessage(kEncodeOrDecode, dialog, message, wParam, lParam);
}

int ShowDecodeErrorDialog(HINSTANCE instance, HWND owner, const char* helpPath, const char* problem) {
  return Show(instance, owner, IDD_DECODE_ERROR, AskAboutLineDlg, problem, helpPath, ANSWER_ABORT);
}

int ShowRetryDecodingDialog(HINSTANCE instance, HWND owner, const char* helpPath, const char* failure) {
  return Show(instance, owner, IDD_RETRY_DECODING, TryOverDlg, failure, helpPath, RETRY_ABORT);
}

int ShowEncodeOrDecodeDialog(HINSTANCE instance, HWND owner, const char* helpPath) {
  return Show(instance, owner, IDD_ENCODE_OR_DECODE, WhichCodeDlg, nullptr, helpPath, WHICH_CODE_CANCEL);
}
#endif
