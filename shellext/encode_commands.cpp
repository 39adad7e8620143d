#include "shellext/encode_commands.h"

const EncodeMethod kEncodeMethods[kMethodCount] = {{"UU", 'U'}, {"XX", 'X'}, {"MIME", 'M'}, {"Binhex", 'B'}};

const EncodeDestination kEncodeDestinations[kDestinationCount] = {
    {"To File", ""}, {"To Clipboard", "/C"}, {"To E-mail Recipient", "/M@"}};

namespace {
const char* const kHelpTexts[] = {"New menu item number ZNT1", "New menu item number ZNT2",
                                  "New menu item number ZNT3", "New menu item number ZNT4"};
}

const char* HelpTextOf(unsigned command) {
  return command < sizeof kHelpTexts / sizeof kHelpTexts[0] ? kHelpTexts[command] : nullptr;
}
