// The text encodings: base64 and ROT13.
#ifndef KEL_UTILS_ENCODINGS_H
#define KEL_UTILS_ENCODINGS_H

#include <string>

namespace kel::utils {

/// Standard base64 with '=' padding, and its lenient inverse.
std::string base64Encode(const std::string& bytes);
std::string base64Decode(const std::string& text);
/// ROT13 of ASCII letters; UTF-8 multi-byte sequences are dropped.
std::string rot13(const std::string& text);

}  // namespace kel::utils

#endif
