// Starting the installed product.
#pragma once

#include "runtime/text.h"

namespace installer {

// The program's path in double quotes: its command line.
rt::Text QuotedCommandLine(const rt::Text& program);

// Starts the program at that full path, given as the application name (never
// searched for, so "C:\My Soft\App.exe" cannot start C:\My.exe), with its
// quoted path as command line, a normal window, the caller's environment and
// current directory. Waits up to a second for it to be ready for input, not
// for its end. False when it could not be started.
bool StartProgram(const rt::Text& program);

}  // namespace installer
