// The twelve menu commands: an encoding method for each of three destinations. A command's
// offset from the shell's first identifier is destination * kMethodCount + method.
#pragma once

struct EncodeMethod {
  const char* menuText;
  char switchLetter;  // follows "/E" on the program's command line
};

struct EncodeDestination {
  const char* menuText;
  const char* commandSwitch;  // empty for files: the program writes files unless told otherwise
};

const int kMethodCount = 4;
const int kDestinationCount = 3;
const unsigned kCommandCount = kMethodCount * kDestinationCount;

extern const EncodeMethod kEncodeMethods[kMethodCount];
extern const EncodeDestination kEncodeDestinations[kDestinationCount];

inline const EncodeMethod& MethodOf(unsigned command) { return kEncodeMethods[command % kMethodCount]; }
inline const EncodeDestination& DestinationOf(unsigned command) {
  return kEncodeDestinations[command / kMethodCount];
}

// The status-bar help text of a command, or null for the commands that have none.
const char* HelpTextOf(unsigned command);
