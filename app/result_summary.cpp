// The summary that ends a job chosen by the user.
#include <cstdio>
#include <cstring>
#include <string>

#include "app/created_output.h"
#include "app/result_summary.h"
#include "app/checksum_report.h"
#include "app/name_tables.h"
#include "core/job_state.h"
#include "core/names.h"
#include "core/settings.h"
#include "core/ui.h"
#include "decode/part_table.h"

namespace {

const char kChecksumValidRemark[] = "\r\nChecksum data found valid.";

struct SummaryNames {
  const char* input;      // file-name part of the input
  const char* type;       // encoding type
  const char* operation;  // operation
};

// False when the checksum report was shown instead of a summary.
bool PassesChecksumTest(HWND owner, int operation) {
  ClearChecksumFound();
  if (!g_settings.decodetestchecksum || operation != OP_DECODE) return true;
  if (TestDecodedChecksums() == 0) return true;
  ShowChecksumReport(owner);
  return false;
}

// The outputs of an input that gave several files: the first by its path, the next few by
// their names, and how many more there were.
std::string OutputList() {
  std::string list = g_job.listedOutputs[0];
  const int listed = g_job.outputCount < LISTED_OUTPUTS ? g_job.outputCount : LISTED_OUTPUTS;
  for (int i = 1; i < listed; ++i) list += std::string(i + 1 == g_job.outputCount ? " and " : ", ") +
                                          FileNamePart(g_job.listedOutputs[i]);
  if (g_job.outputCount > listed) list += " and " + std::to_string(g_job.outputCount - listed) + " more";
  return list;
}

void ShowSuccess(HWND owner, int operation, int parts, const SummaryNames& names) {
  if (!PassesChecksumTest(owner, operation)) return;
  const char* word = g_job.qualifiedResult ? "Apparently" : "Successfully";
  if (g_settings.decodetestchecksum && ChecksumFound() && !g_job.resultRemark[0])
    std::snprintf(g_job.resultRemark, sizeof g_job.resultRemark, "%s", kChecksumValidRemark);
  const std::string several = g_job.outputCount > 1 ? OutputList() : std::string();
  const char* path = several.empty() ? g_job.outputPath : several.c_str();
  const char* remark = g_job.resultRemark;
  if (parts == 1) {
    ShowMessage(owner, MB_OK, "%s %s %s %sd %s\r\n%s%s", names.input, word, names.type,
                names.operation, operation == OP_ENCODE ? "to" : "as", path, remark);
  } else if (operation == OP_DECODE) {
    ShowMessage(owner, MB_OK, "%s %s %s %sd %d Parts\r\nas %s%s", names.input, word, names.type,
                names.operation, parts, path, remark);
  } else if (g_job.mailOutput) {
    ShowMessage(owner, MB_OK, "%s %s %s %sd %d Parts\r\nto %s%s", names.input, word, names.type,
                names.operation, parts, path, remark);
  } else {
    // The files the encoder wrote, in the folder it wrote them to.
    const char* first = parts <= MAX_PARTS ? g_partTable[0].fileName : "";
    const char* last = parts <= MAX_PARTS ? g_partTable[parts - 1].fileName : "";
    ShowMessage(owner, MB_OK, "%s %s %s %sd %d Parts\r\nto %s thru %s%s", names.input, word,
                names.type, names.operation, parts, first, last, remark);
  }
}

}  // namespace

void ShowResultSummary(HWND owner, int result, int operation, int encodingType, int parts) {
  if (g_settings.nostatusmessages) return;
  SummaryNames names = {FileNamePart(g_job.inputPath), EncodingTypeName(encodingType),
                        OperationName(operation)};
  switch (result) {
    case RESULT_REPORTED:
    case RESULT_DECLINED: return;
    case RESULT_FAILED:
      DeleteCreatedOutput(g_job.outputPath);
      ShowMessage(owner, MB_ICONEXCLAMATION, "Could not %s %s %s", names.type, names.operation,
                  names.input);
      return;
    case RESULT_CANCELLED:
      if (!(operation == OP_ENCODE && g_job.clipboardOutput)) DeleteCreatedOutput(g_job.outputPath);
      ShowMessage(owner, MB_ICONASTERISK, "%s %s of %s Aborted", names.type, names.operation,
                  names.input);
      return;
    case RESULT_DONE: ShowSuccess(owner, operation, parts, names); return;
    default: ShowMessage(owner, MB_OK, "Invalid Result Code %d", result);
  }
}
