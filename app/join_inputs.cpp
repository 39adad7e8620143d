#include "app/join_inputs.h"

#include <cstdio>
#include <cstring>

#include "app/busy.h"
#include "app/created_output.h"
#include "app/encode_or_decode.h"
#include "app/batch.h"
#include "core/job_state.h"
#include "core/names.h"
#include "core/streams.h"
#include "core/ui.h"
#include "decode/decode_context.h"
#include "decode/input_order.h"
#include "decode/join_parts.h"
#include "decode/part_table.h"
#include "decode/partial_messages.h"
#include "resources/resource.h"

namespace {

const int kMultipleInputsStyle = 2;  // "Decode Multiple Inputs"

// The whole batch is refused, so that no input is joined without the others.
void RefuseBatch(HWND window, const char* format, int limit) {
  ShowMessage(window, MB_ICONHAND, format, limit);
  AbandonBatch(window);
}

// Part record i names input i, numbered as part i + 1; false when a path does not fit a
// record.
bool FillPartTable(int count) {
  ClearPartTable();
  for (int i = 0; i < count; ++i) {
    const char* path = g_job.inputs[i];
    if (!path || std::strlen(path) >= PART_NAME_ROOM) return false;
    g_partTable[i].partNumber = i + 1;
    std::snprintf(g_partTable[i].fileName, PART_NAME_ROOM, "%s", path);
  }
  g_partTotal = count;
  return true;
}

// The decoder starts the joined file with the type the first input calls for.
void ChooseJoinedType() {
  g_job.encodingType = TYPE_AUTO;
  DecideEncodeOrDecode(g_job.inputs[0], OP_DECODE);  // sets the type only when it decodes
}

// The joined file sits beside the first input, so that what is decoded from it lands there
// too; the system's temporary folder serves when that folder takes no new file, and
// `elsewhere` says so.
bool MakeJoinedFileName(char* joined, bool& elsewhere) {
  return MakeTempFileNameBeside(g_job.inputs[0], joined, &elsewhere) != 0;
}

}  // namespace

void JoinInputs(HWND window) {
  const int count = g_job.inputCount;
  if (count > MAX_PARTS) {
    RefuseBatch(window, "At most %d files can be joined into one.\r\nNo file was joined.", MAX_PARTS);
    return;
  }
  if (!FillPartTable(count)) {
    RefuseBatch(window, "Files with paths longer than %d characters cannot be joined.\r\nNo file was joined.",
                PART_NAME_ROOM - 1);
    return;
  }
  char joined[PATH_ROOM];
  bool elsewhere = false;
  if (!MakeJoinedFileName(joined, elsewhere)) {
    ShowMessage(window, MB_ICONHAND, "Can't Create Temporary File for Joining Input Files.");
    AbandonBatch(window);
    return;
  }
  if (!AddJoinedInput(joined, elsewhere)) {
    DeleteFileA(joined);
    RefuseBatch(window, "No Memory for Joining %d Input Files.", count);
    return;
  }
  ChooseJoinedType();
  std::snprintf(g_job.outputPath, PATH_ROOM, "%s", joined);
  std::snprintf(g_decode.outputName, sizeof g_decode.outputName, "%s", joined);
  SetBusy(window, true);
  g_job.headerStyle = kMultipleInputsStyle;
  g_decode.style = kMultipleInputsStyle;
  // Numbered by the parts the inputs carry, right before the join: the inputs stay open
  // from the one to the other.
  OrderInputsByTheirParts(count);
  PartialWordSearch search;
  int result = JoinParts(window, count, 0, OP_CONCATENATE, &search);
  CloseKeptInputs();
  std::snprintf(g_job.inputPath, PATH_ROOM, "%s", joined);
  if (result == RESULT_DONE) {
    // The joined file is the decode job's temporary input from here on, deleted when that
    // job ends; it is no output of anyone's, for a failed decode to delete as its own.
    ForgetCreatedOutput();
    g_job.outputPath[0] = '\0';
    if (!search.Found()) NoteJoinedInputHoldsNoPartials();
    PostMessageA(window, UM_DECODE_FILE, 0, reinterpret_cast<LPARAM>(g_job.inputs[g_job.inputIndex]));
    SetBusy(window, false);
    return;
  }
  DeleteFileA(joined);
  SetBusy(window, false);
  FinishJob(window, result, OP_DECODE);
}
