#include "core/settings.h"

#include <cstdio>
#include <cstring>

SettingsRecord g_settings;
ProductIdentity g_identity;
char g_settingsKeyPath[SETTINGS_PATH_ROOM];

namespace {
const char DEFAULT_WEBSITE[] = "https://www.example.com/orvanta";
const char DEFAULT_WEBCHECK[] = "cgi-bin/checkver";

#define QV_INT(name) {#name, &g_settings.name, SETTING_INT, sizeof(int)}
#define QV_LONG(name) {#name, &g_settings.name, SETTING_LONG, sizeof(int)}
#define QV_STRING(name) {#name, g_settings.name, SETTING_STRING, sizeof g_settings.name}
#define QV_END {nullptr, nullptr, 0, 0}
}  // namespace

const SettingEntry GeneralSettings[] = {
    QV_INT(minimizewhenrun), QV_INT(stayiconwhendone), QV_INT(usedefaultnames),
    QV_INT(overwriteexisting), QV_INT(nostatusmessages), QV_END};

const SettingEntry EncodeSettings[] = {
    QV_INT(encodetype),     QV_INT(encodecrlf),      QV_LONG(encodeoutputsize),
    QV_INT(encodemethod),   QV_INT(encodechecksum),  QV_INT(encodedirselect),
    QV_STRING(encodedir),   QV_END};

const SettingEntry DecodeSettings[] = {
    QV_INT(decodejoin),         QV_INT(decodeautodetect), QV_INT(decodetype),
    QV_INT(decodetestchecksum), QV_INT(decodemethod),     QV_INT(decodedirselect),
    QV_STRING(decodedir),       QV_END};

const SettingEntry WebSettings[] = {QV_STRING(website), QV_STRING(webcheck), QV_END};

const SettingEntry PathSettings[] = {QV_STRING(fullpath), QV_END};

void ResetSettings() {
  std::memset(&g_settings, 0, sizeof g_settings);
  g_settings.encodetype = STYLE_SINGLE_FILE;
  g_settings.encodecrlf = EOL_CRLF;
  g_settings.encodeoutputsize = DEFAULT_OUTPUT_SIZE;
  g_settings.encodemethod = METHOD_UU;
  g_settings.encodedirselect = DIR_SAME_AS_INPUT;
  g_settings.decodejoin = 1;
  g_settings.decodeautodetect = 1;
  g_settings.decodetype = STYLE_SINGLE_FILE;
  g_settings.decodetestchecksum = 1;
  g_settings.decodemethod = DECODE_BY_DATA;
  g_settings.decodedirselect = DIR_SAME_AS_INPUT;
  std::snprintf(g_settings.website, sizeof g_settings.website, "%s", DEFAULT_WEBSITE);
  std::snprintf(g_settings.webcheck, sizeof g_settings.webcheck, "%s", DEFAULT_WEBCHECK);

  std::memset(&g_identity, 0, sizeof g_identity);
  std::snprintf(g_identity.longName, sizeof g_identity.longName, "%s", "Quorvane 32");
  std::snprintf(g_identity.internalName, sizeof g_identity.internalName, "%s", "Zentrel32");
  std::snprintf(g_identity.version, sizeof g_identity.version, "%s", "2.0");
  std::snprintf(g_identity.company, sizeof g_identity.company, "%s", "Orvanta, Inc.");
  BuildSettingsKeyPath();
}

void BuildSettingsKeyPath() {
  std::snprintf(g_settingsKeyPath, sizeof g_settingsKeyPath, "Software\\%s\\%s\\%s",
                g_identity.company, g_identity.internalName, g_identity.version);
}

const char* EndOfLineString() {
  switch (g_settings.encodecrlf) {
    case EOL_CRLF: return "\r\n";
    case EOL_LF: return "\n";
    default: return "";
  }
}

int EndOfLineLength() { return static_cast<int>(std::strlen(EndOfLineString())); }

namespace {
int StyleInRange(int row) {
  return (row < FIRST_CHOSEN_STYLE || row > LAST_STYLE) ? STYLE_SINGLE_FILE : row;
}
}  // namespace

int EncodeOutputSizeInRange() {
  int size = g_settings.encodeoutputsize;
  if (size < MIN_OUTPUT_SIZE) return MIN_OUTPUT_SIZE;
  if (size > MAX_OUTPUT_SIZE) return MAX_OUTPUT_SIZE;
  return size;
}

int EncodeStyleInRange() { return StyleInRange(g_settings.encodetype); }
int DecodeStyleInRange() { return StyleInRange(g_settings.decodetype); }

int EncodeMethodType() {
  int method = g_settings.encodemethod;
  return (method >= METHOD_UU && method <= METHOD_BINHEX) ? method - METHOD_UU + 1 : 1;
}

namespace {
struct InitialSettings {
  InitialSettings() { ResetSettings(); }
} initialSettings;
}  // namespace
