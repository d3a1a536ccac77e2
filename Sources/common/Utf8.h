// UTF-8 as JSON and every output takes it: well-formed sequences only.
#ifndef VANTREL_UTF8_H
#define VANTREL_UTF8_H

#include <cstddef>
#include <cstdint>
#include <string>

namespace kel::rez {

/// The length of the UTF-8 sequence that starts at text[at] (1 for an ASCII byte), or 0
/// when none does: no overlong forms, surrogates, values past U+10FFFF or cut sequences.
std::size_t utf8SequenceLength(const std::string& text, std::size_t at);

/// Appends the UTF-8 form of a code point up to U+10FFFF.
void appendUtf8(std::uint32_t point, std::string& text);

}  // namespace kel::rez

#endif
