// Where the JSON text comes from (the --input file or standard input), and the standard
// streams' other side: the texts the program prints. All of it through stdio: a run never
// sets up iostreams.
#ifndef VANTREL_INPUT_H
#define VANTREL_INPUT_H

#include <cstdio>
#include <optional>
#include <string>

namespace kel::rez {

/// The whole input text: the file's contents when inputPath is present (an unreadable file
/// gives ""), otherwise everything on standard input. "" means there was no input.
std::string readInputText(const std::optional<std::string>& inputPath);

/// Why the input file at path gave no text, as the message after "no input provided" says
/// it under --strict: ": cannot read in.json: No such file or directory" (the operating
/// system's reason) or ": in.json is empty".
std::string noInputReason(const std::string& path);

/// Reads stream to its end; every line, the last one included, ends with "\n" in the result.
std::string readLines(std::FILE* stream);

/// Writes text to stream (stdout or stderr) whole, and flushes it.
void writeText(std::FILE* stream, const std::string& text);

}  // namespace kel::rez

#endif
