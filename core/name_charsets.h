// Names between the program's code page and the character sets of encoded text. The
// program's code page is the active code page of its ...A calls: UTF-8 where the system
// honours the manifest, the system's own code page on older systems. Encoded text names
// files in UTF-8, in Windows-1252 (postings from before UTF-8) or, in BinHex, Mac Roman.
// Every copy here is bounded by its room and ends between two characters.
#pragma once
#include <cstddef>

// True when the ...A calls take UTF-8.
bool ProgramUsesUtf8();
// True when every byte of the text is ASCII.
bool IsAsciiText(const char* text);
// True when the text is well-formed UTF-8 (no overlong forms, surrogates or code points
// past U+10FFFF).
bool IsUtf8Text(const char* text);
// The bytes of the character at `text` in the program's code page: 1 for ASCII, 0 for a
// byte that starts no character there.
size_t CharacterLength(const char* text);
// The longest prefix of at most `limit` bytes that does not end inside a character of the
// program's code page.
size_t CharacterBoundary(const char* text, size_t limit);
// The same for UTF-8, for text taken from encoded input before it is converted.
size_t Utf8Boundary(const char* text, size_t limit);
// Copies as many whole characters as fit `room` (with the terminating zero).
void CopyWholeCharacters(const char* text, char* dest, size_t room);

// A name as found in encoded text (UTF-8 when it is well-formed, else Windows-1252) in the
// program's code page; characters the code page lacks become "_".
void NameFromPosting(const char* raw, char* dest, size_t room);
// A name of the program's code page in UTF-8.
void NameToUtf8(const char* name, char* dest, size_t room);
// A BinHex name (Mac Roman) in UTF-8, and a name of the program's code page in Mac Roman
// ("_" for the characters Mac Roman lacks).
void MacRomanToUtf8(const char* raw, char* dest, size_t room);
void NameToMacRoman(const char* name, char* dest, size_t room);
