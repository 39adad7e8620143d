// Copies of strings in the local heap, for the input list and the recipients.
#pragma once

// A copy of `text`, or null when there is no memory.
char* StrDup(const char* text);
// Releases a copy made by StrDup; null is allowed.
void StrFree(char* copy);
