// PLACEHOLDER for the e-mail destination, which is not built yet (this file goes when it
// is). It keeps the driver's branch in place.
#include "core/ui.h"
#include "encode/destinations.h"

int SendEncodedPart(HWND owner, const char*) {
  ShowMessage(owner, MB_OK | MB_ICONEXCLAMATION, "Encoding to E-mail is not available yet.");
  return -2;
}
