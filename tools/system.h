#pragma once
// What the companion takes from the system it runs on.

#include "brindelor/tariff/separators.h"

#include <string>
#include <vector>

namespace brindelor::tools {

// The command line as UTF-8 texts, the program's name first. On Windows
// from the system's UTF-16 command line, whatever the code page.
std::vector<std::string> arguments(int argc, char** argv);

// Standard input and output as bytes: no CR added, none taken away.
void useBinaryStreams();

// The user locale's decimal and group separators, UTF-8.
Separators localeSeparators();

} // namespace brindelor::tools
