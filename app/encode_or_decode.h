// Whether a file is to be encoded or decoded, by the decode method setting and the file's
// extension.
#pragma once

// The encoding type of the extension of `path` (".uue" ... ".hex", any case), 0 for none.
// The extension is the text from the last "." of the whole path, compared as a whole.
int ExtensionType(const char* path);

// OP_ENCODE or OP_DECODE for `path`; `operation` is the job's operation so far. A decode
// sets g_job.encodingType to the type the decoder starts with.
int DecideEncodeOrDecode(const char* path, int operation);
// The decision for a file chosen to decode, for its effect on the encoding type only: the
// decoder starts with the type the file's name or the settings call for, never with the
// type an earlier job left behind.
void DecideEncodingTypeFor(const char* path);
