#include "mail/message_list.h"

#include <commctrl.h>

#include <cstdio>
#include <cstring>

#include "app/program.h"
#include "core/settings.h"
#include "resources/resource.h"

namespace {

struct Column {
  const char* header;
  int format;
};

const Column kColumns[MAIL_COLUMNS] = {
    {"Subject  ", LVCFMT_LEFT}, {"From  ", LVCFMT_LEFT},  {"Received  ", LVCFMT_LEFT},
    {"Size  ", LVCFMT_RIGHT},   {"Type  ", LVCFMT_LEFT}, {"Message ID", LVCFMT_LEFT},
};

const char kUnknown[] = "(Unknown)";
const char kProgramType[] = "Zentp32";
// A cell's text is drawn inset from both edges of its column, and the first column also
// holds the row icon: a margin of 8 alone cuts "From  " to "Fro...".
const int kColumnMargin = 16;
enum { ICON_PROGRAM = 0, ICON_MESSAGE = 1, ICON_ATTACHMENT = 2, ICON_COUNT = 3 };

HIMAGELIST MakeImageList(int sizeMetric) {
  const int size = GetSystemMetrics(sizeMetric);
  HIMAGELIST images = ImageList_Create(size, size, ILC_COLOR8 | ILC_MASK, ICON_COUNT, 0);
  const char* names[ICON_COUNT] = {kResourceName, MAKEINTRESOURCEA(IDI_MAIL_MESSAGE),
                                   MAKEINTRESOURCEA(IDI_MAIL_ATTACHMENT)};
  for (const char* name : names) {
    HICON icon = static_cast<HICON>(LoadImageA(g_program.instance, name, IMAGE_ICON, size, size, 0));
    ImageList_AddIcon(images, icon);
    DestroyIcon(icon);
  }
  return images;
}

bool HasText(const char* text) { return text && text[0]; }

const char* OrUnknown(const char* text) { return HasText(text) ? text : kUnknown; }

bool SentByUs(const char* type) {
  return type && (lstrcmpiA(type, g_identity.internalName) == 0 || lstrcmpiA(type, kProgramType) == 0);
}

int RowIcon(const MapiMessage& message) {
  if (SentByUs(message.lpszMessageType)) return ICON_PROGRAM;
  return message.nFileCount > 0 ? ICON_ATTACHMENT : ICON_MESSAGE;
}

void Measure(MessageList& list, int column, const char* text) {
  HDC dc = GetDC(list.dialog);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(list.dialog, WM_GETFONT, 0, 0)));
  SIZE extent = {0, 0};
  GetTextExtentPoint32A(dc, text, lstrlenA(text), &extent);
  SelectObject(dc, old);
  ReleaseDC(list.dialog, dc);
  if (extent.cx > list.widths[column]) list.widths[column] = extent.cx;
}

void SetCell(MessageList& list, int row, int column, const char* text) {
  ListView_SetItemText(list.view, row, column, const_cast<char*>(text));
  Measure(list, column, text);
}

}  // namespace

void SetUpMessageList(MessageList& list, HWND dialog, HWND view) {
  list.view = view;
  list.dialog = dialog;
  ListView_SetImageList(view, MakeImageList(SM_CXICON), LVSIL_NORMAL);
  ListView_SetImageList(view, MakeImageList(SM_CXSMICON), LVSIL_SMALL);
  SendMessageA(view, WM_SETFONT, SendMessageA(view, WM_GETFONT, 0, 0), TRUE);
  for (int i = 0; i < MAIL_COLUMNS; ++i) {
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.fmt = kColumns[i].format;
    column.pszText = const_cast<char*>(kColumns[i].header);
    list.widths[i] = 0;
    Measure(list, i, kColumns[i].header);
    column.cx = list.widths[i];
    column.iSubItem = i;
    ListView_InsertColumn(view, i, &column);
  }
}

void AddMessageRow(MessageList& list, int row, const MapiMessage& message, const char* id) {
  const char* subject = HasText(message.lpszSubject) ? message.lpszSubject : "(No Subject)";
  LVITEMA item = {};
  item.mask = LVIF_TEXT | LVIF_IMAGE;
  item.iItem = row;
  item.pszText = const_cast<char*>(subject);
  item.iImage = RowIcon(message);
  ListView_InsertItem(list.view, &item);
  Measure(list, 0, subject);
  SetCell(list, row, 1, OrUnknown(message.lpOriginator ? message.lpOriginator->lpszName : nullptr));
  SetCell(list, row, 2, OrUnknown(message.lpszDateReceived));
  char size[16] = "empty";
  if (HasText(message.lpszNoteText))
    std::snprintf(size, sizeof size, "%u", static_cast<unsigned>(std::strlen(message.lpszNoteText)));
  SetCell(list, row, 3, size);
  SetCell(list, row, 4, OrUnknown(message.lpszMessageType));
  SetCell(list, row, MAIL_ID_COLUMN, id);
}

void FitMessageColumns(const MessageList& list) {
  const int icon = GetSystemMetrics(SM_CXSMICON);
  for (int i = 0; i < MAIL_COLUMNS; ++i) {
    const int width = list.widths[i] + kColumnMargin + (i == 0 ? icon : 0);
    ListView_SetColumnWidth(list.view, i, i == MAIL_ID_COLUMN ? 0 : width);
  }
}
