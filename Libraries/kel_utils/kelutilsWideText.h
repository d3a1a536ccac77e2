// The UTF-16 text of the Windows API in UTF-8, the form every string of the program is in.
#ifndef KEL_UTILS_WIDE_TEXT_H
#define KEL_UTILS_WIDE_TEXT_H

#ifdef _WIN32

#include <string>

namespace kel::utils {

/// Converts zero-terminated UTF-16 text to UTF-8 into utf8 (unpaired surrogates become
/// U+FFFD). False, leaving utf8 unchanged, when the conversion fails.
bool wideToUtf8(const wchar_t* wide, std::string& utf8);

}  // namespace kel::utils

#endif  // _WIN32

#endif
