// Identifiers shared by the resource script and the program.
#pragma once

// Menu commands and accelerators.
#define IDM_DECODE_FILE 100
#define IDM_ENCODE_FILE 101
#define IDM_EXIT 102
#define IDM_ABOUT 103
#define IDM_CFG_GENERAL 104
#define IDM_CFG_ENCODE 105
#define IDM_CFG_DECODE 106
#define IDM_HELP_INDEX 107
#define IDM_HELP_KEYBOARD 110
#define IDM_HELP_COMMANDS 111
#define IDM_HELP_PROCEDURES 112
#define IDM_SUPPORT 116
#define IDM_CANT_ENCODE 117
#define IDM_CANT_DECODE 118
#define IDM_DECODE_CLIPBOARD 120
#define IDM_ENCODE_CLIPBOARD 121
#define IDM_ENCODE_MAIL 122
#define IDM_DECODE_MAIL 123
#define IDM_CHECK_VERSION 124

// Child controls of the main window.
#define IDC_CANCEL_BUTTON 200
#define IDC_STATUS_TEXT 201
#define IDC_PROGRESS_BAR 202

// System-menu commands (multiples of 16).
#define IDM_SYS_DECODE 1280
#define IDM_SYS_ENCODE 1296

// Dialog templates.
#define IDD_ABOUT 301
#define IDD_CHECKSUM 303
#define IDD_CFG_DECODE 305
#define IDD_CFG_GENERAL 306
#define IDD_CFG_ENCODE 307
#define IDD_DECODE_SELECT 313
#define IDD_CHECK_VERSION 314

// Private messages of the main window (WM_USER + 200 ...).
#define UM_ENCODE_FILE (0x0400 + 200)
#define UM_DECODE_FILE (0x0400 + 201)
#define UM_NEXT_INPUT (0x0400 + 202)
#define UM_ASSOCIATE_AND_EXIT (0x0400 + 203)

// Version resource text, also read back at run time.
#define QV_PRODUCT_NAME "Quorvane 32"
#define QV_INTERNAL_NAME "Zentrel32"
#define QV_COMPANY_NAME "Orvanta, Inc."
#define QV_PRODUCT_VERSION "2.0.0"
#define QV_VERSION_BINARY 2, 0, 0, 0
#define QV_RELEASE_DATE "08-Dec-26"

// Controls of the checksum error dialog (IDD_CHECKSUM); "Close" is IDOK.
#define IDC_CHECKSUM_INPUT 330
#define IDC_CHECKSUM_LIST 331
#define IDC_CHECKSUM_HELP 332

// The decoder's recovery dialogs: Decode Error, Retry Decoding, Encode or Decode?. The
// Decode Error buttons' ids are also the answers the decoder acts on.
#define IDD_RETRY_DECODING 304
#define IDD_DECODE_ERROR 310
#define IDD_ENCODE_OR_DECODE 311
#define IDC_RECOVERY_HELP 525
#define IDC_DECERR_ABORT 200
#define IDC_DECERR_TEXT 601
#define IDC_DECERR_SKIP_LINE 602
#define IDC_DECERR_DECODE_LINE 603
#define IDC_DECERR_DECODE_ALL 604
#define IDC_DECERR_SKIP_ALL 605
#define IDC_RETRY_STYLE_LIST 188
#define IDC_RETRY_TRY_ALL 210
#define IDC_RETRY_TEXT 240
#define IDC_WHICH_ENCODE 250
#define IDC_WHICH_DECODE 251
#define IDC_WHICH_TEXT 252

// Configuration, version and information dialogs (templates 301, 305 to 307, 312, 314).
// The radio identifiers are the stored setting values (core/settings.h).
#define IDD_CONTACT 312
#define IDC_CFG_DIR 150
#define IDC_CFG_DIR_SAME 151
#define IDC_CFG_DIR_CHOSEN 152
#define IDC_CFG_OUTPUT_SIZE 166
#define IDC_CFG_MINIMIZE 167
#define IDC_CFG_SIZE_LABEL 168
#define IDC_CFG_STAY_ICON 169
#define IDC_CFG_DEFAULT_NAMES 170
#define IDC_CFG_OVERWRITE 171
#define IDC_CFG_NO_STATUS 172
#define IDC_CFG_JOIN 173
#define IDC_CFG_CHECKSUM 174
#define IDC_CFG_EOL_CRLF 175
#define IDC_CFG_EOL_LF 176
#define IDC_CFG_AUTODETECT 177
#define IDC_CFG_BY_NAME 180
#define IDC_CFG_BY_DATA 181
#define IDC_CFG_UU 182
#define IDC_CFG_XX 183
#define IDC_CFG_MIME 184
#define IDC_CFG_BINHEX 185
#define IDC_CFG_STYLE_LABEL 187
#define IDC_CFG_STYLE_LIST 188
#define IDC_CFG_SAVE_DEFAULT 189
#define IDC_CFG_ASSOCIATE 193
#define IDC_CFG_HELP 525
#define IDC_INFO_VERSION 192
#define IDC_INFO_MAKER 194
#define IDC_INFO_LONG_NAME 195
#define IDC_INFO_CONTACT_TEXT 196
#define IDC_INFO_CONTACT 203
#define IDC_INFO_WEB 253

// E-mail: the mailbox dialog (IDD_DECODE_SELECT) and the icons of its rows.
#define IDC_MAIL_LIST 261
#define IDI_MAIL_MESSAGE 700
#define IDI_MAIL_ATTACHMENT 702
