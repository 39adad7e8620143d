// The program's lasting options, their registry persistence and its identity strings.
#pragma once
#include "core/platform.h"

// Choices are stored as the control identifiers of the radio buttons that show them.
enum SettingChoice {
  DIR_SAME_AS_INPUT = 151,
  DIR_CHOSEN = 152,
  EOL_CRLF = 175,
  EOL_LF = 176,
  DECODE_BY_NAME = 180,
  DECODE_BY_DATA = 181,
  METHOD_UU = 182,
  METHOD_XX = 183,
  METHOD_MIME = 184,
  METHOD_BINHEX = 185,
};

enum { MIN_OUTPUT_SIZE = 4500, MAX_OUTPUT_SIZE = 1048576, DEFAULT_OUTPUT_SIZE = 60000, SETTINGS_PATH_ROOM = 256 };
enum { STYLE_SINGLE_FILE = 3, FIRST_CHOSEN_STYLE = 3, LAST_STYLE = 20 };

struct SettingsRecord {
  // General
  int minimizewhenrun;
  int stayiconwhendone;
  int usedefaultnames;
  int overwriteexisting;
  int nostatusmessages;
  // Encode
  int encodetype;
  int encodecrlf;
  int encodeoutputsize;
  int encodemethod;
  int encodechecksum;
  int encodedirselect;
  char encodedir[SETTINGS_PATH_ROOM];
  // Decode
  int decodejoin;
  int decodeautodetect;
  int decodetype;
  int decodetestchecksum;
  int decodemethod;
  int decodedirselect;
  char decodedir[SETTINGS_PATH_ROOM];
  // Web
  char website[64];
  char webcheck[32];
  // Path
  char fullpath[SETTINGS_PATH_ROOM];
};

struct ProductIdentity {
  char longName[48];
  char internalName[32];
  char version[8];
  char company[32];
};

enum SettingKind { SETTING_INT = 1, SETTING_LONG = 2, SETTING_STRING = 3 };

struct SettingEntry {
  const char* keyName;  // null closes a table
  void* field;
  int kind;
  DWORD size;
};

extern SettingsRecord g_settings;
extern ProductIdentity g_identity;
extern char g_settingsKeyPath[SETTINGS_PATH_ROOM];

extern const SettingEntry GeneralSettings[];
extern const SettingEntry EncodeSettings[];
extern const SettingEntry DecodeSettings[];
extern const SettingEntry WebSettings[];
extern const SettingEntry PathSettings[];

// Puts the compiled-in defaults into the record and the identity.
void ResetSettings();

// "\r\n" for 175, "\n" for 176, empty for anything else; and its length.
const char* EndOfLineString();
int EndOfLineLength();

// The users of out-of-range numbers bring them back into range here.
int EncodeOutputSizeInRange();    // encodeoutputsize held to 4500..1048576
int EncodeStyleInRange();         // encodetype held to a row 3..20
int DecodeStyleInRange();         // decodetype held to a row 3..20
int EncodeMethodType();           // encodemethod as an encoding type 1..4 (UU when unknown)

// Registry persistence (Windows).
void BuildSettingsKeyPath();
bool ReadVersionString(const char* name, char* buffer, DWORD size);
int ReadSettingsTable(const SettingEntry* table);
int WriteSettingsTable(const SettingEntry* table);
int LoadSettings();
