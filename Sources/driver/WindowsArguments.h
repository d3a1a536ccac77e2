// The Windows command line in the UTF-8 that every string of the program is in. The C
// runtime hands main its arguments in the ANSI code page, which cannot hold every file name;
// the wide command line can.
#ifndef VANTREL_WINDOWS_ARGUMENTS_H
#define VANTREL_WINDOWS_ARGUMENTS_H

#ifdef _WIN32

#include <string>
#include <vector>

namespace kel::rez {

/// This process's arguments, program name first, split from GetCommandLineW by the shell's
/// rules and each converted to UTF-8. Empty when the command line cannot be split or
/// converted; the caller then keeps the C runtime's arguments.
std::vector<std::string> utf8CommandLineArguments();

/// An argument vector over the strings (which must outlive it), ended by a null pointer
/// as main's is.
std::vector<char*> argumentPointers(std::vector<std::string>& arguments);

}  // namespace kel::rez

#endif  // _WIN32

#endif
