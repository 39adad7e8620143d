// The list view of the mailbox dialog: its columns, row icons and the cells of a message.
#pragma once
#include "core/platform.h"
#include "mail/simple_mapi.h"

enum { MAIL_COLUMNS = 6, MAIL_ID_COLUMN = 5 };

struct MessageList {
  HWND view;
  HWND dialog;  // whose device context measures the cells
  int widths[MAIL_COLUMNS];
};

// Image lists, font and columns of a new list.
void SetUpMessageList(MessageList& list, HWND dialog, HWND view);
// Appends a row for `message`, whose identifier is `id`.
void AddMessageRow(MessageList& list, int row, const MapiMessage& message, const char* id);
// Every column as wide as its widest text; the identifier column hidden.
void FitMessageColumns(const MessageList& list);
