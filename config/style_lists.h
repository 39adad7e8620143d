// The header-style drop-down lists of the configuration dialogs and of the decoder's
// "Retry Decoding" dialog: filled from the header-style table, read back as a row number.
#pragma once
#include "core/platform.h"

enum StyleListMode { STYLE_LIST_DECODE_ONLY = 0, STYLE_LIST_ENCODE = 1, STYLE_LIST_DECODE = 2 };

// Empties the combo box and adds rows 3 to 20 offered for the mode (encodable in
// STYLE_LIST_ENCODE, decodable otherwise); selects the item of `currentRow` and returns its
// index, or -1 (nothing selected) when that row is not listed.
int FillStyleList(HWND list, int mode, int currentRow);
// The first table row whose name equals the selected item's text; row 3 ("Single File")
// when nothing is selected or no row has that name.
int StyleFromList(HWND list);
// Selects the item showing this row's name; its index, or -1 when the list has no such item.
int SelectStyleInList(HWND list, int row);
