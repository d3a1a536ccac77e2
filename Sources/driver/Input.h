// Where the JSON text comes from: the --input file or standard input.
#ifndef VANTREL_INPUT_H
#define VANTREL_INPUT_H

#include <istream>
#include <optional>
#include <string>

namespace kel::rez {

/// The whole input text: the file's contents when inputPath is present (an unreadable file
/// gives ""), otherwise everything on standard input. "" means there was no input.
std::string readInputText(const std::optional<std::string>& inputPath);

/// Reads stream to its end; every line, the last one included, ends with "\n" in the result.
std::string readLines(std::istream& stream);

}  // namespace kel::rez

#endif
