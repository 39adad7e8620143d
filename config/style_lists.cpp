#include "config/style_lists.h"

#include "encode/header_styles.h"

namespace {

const int kFirstListedRow = STYLE_SINGLE;
const int kLastListedRow = STYLE_REM;

bool OfferedFor(int mode, const HeaderStyle& style) {
  return mode == STYLE_LIST_ENCODE ? style.encoding != 0 : style.decoding != 0;
}

}  // namespace

int FillStyleList(HWND list, int mode, int currentRow) {
  SendMessageA(list, CB_RESETCONTENT, 0, 0);
  int selected = -1;
  for (int row = kFirstListedRow; row <= kLastListedRow; ++row) {
    const HeaderStyle& style = HeaderStyleTable[row];
    if (!OfferedFor(mode, style)) continue;
    int index = static_cast<int>(SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(style.name)));
    if (row == currentRow) selected = index;
  }
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  return selected;
}

int StyleFromList(HWND list) {
  int index = static_cast<int>(SendMessageA(list, CB_GETCURSEL, 0, 0));
  if (index < 0) return STYLE_SINGLE;
  char name[HEADER_STYLE_NAME_ROOM] = "";
  LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0 || length >= static_cast<LRESULT>(sizeof name)) return STYLE_SINGLE;
  SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(name));
  int row = FindHeaderStyle(name);
  return row < 0 ? STYLE_SINGLE : row;
}

int SelectStyleInList(HWND list, int row) {
  const char* name = HeaderStyleName(row);
  if (!*name) return -1;
  int index = static_cast<int>(SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(name)));
  if (index < 0) return -1;
  SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  return index;
}
