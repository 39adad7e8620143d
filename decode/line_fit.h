// What a UU or XX line that the line decoder refused really is: damaged data, decoded as
// well as it goes so that the bytes after it keep their place, or no data at all (the text
// of a frame, a mail or news header, a signature, prose), which is passed over. And which
// passed-over text frames the parts of a posting rather than standing in for lost data.
#pragma once

enum LineFit { LINE_DAMAGED = 0, LINE_NOT_DATA = 1 };

// `table` is the format's decode table. `blanksMayBeStripped`: the data uses blanks, so a
// line shorter than its length character says may have lost trailing blanks on its way.
int FitOfRefusedLine(const char* line, const signed char* table, bool blanksMayBeStripped);

// A cut line, a signature separator, a row of dashes or equals signs, or a header line
// ("Name: value"): the text between the parts of a posting.
bool IsFramingText(const char* line);

// The part that a Subject line or a frame line designates ("part 2/5", "Part 2 of 5",
// "02/05"; the last one in the line), read without telling anyone about numbers out of
// range; 0 for any other line or none.
int PartNamedByFrame(const char* line);
