// What every output text writes of a resource the same way: its ID, its quoted texts, and
// the message for hex data that holds something other than hex digits.
#ifndef VANTREL_OUTPUT_TEXT_H
#define VANTREL_OUTPUT_TEXT_H

#include <cstdint>
#include <string>

#include "common/Diagnostics.h"
#include "output/ChunkedAppender.h"
#include "resources/Resource.h"

namespace kel::rez {

/// Appends the ID in decimal, as kel::utils::itoa writes it, without a temporary string.
void appendId(std::int16_t id, std::string& text);

/// How a quoted text marks each backslash and double quote inside it, so that the reader gets
/// the bytes back.
enum class QuoteEscape {
    backslash,  ///< C and Rez strings: a backslash before it
    doubled,    ///< resource-script names: the byte twice, as a backslash there is no escape
};

/// Appends text between double quotes, its backslashes and double quotes marked by escape.
void appendQuoted(const std::string& text, QuoteEscape escape, std::string& out);
void appendQuoted(const std::string& text, QuoteEscape escape, ChunkedAppender& out);

/// Appends text between double quotes as a C or Rez string literal: a backslash or double
/// quote in it gets a backslash before it.
void appendQuotedString(const std::string& text, std::string& out);
void appendQuotedString(const std::string& text, ChunkedAppender& out);

/// Reports the message for a "data" string holding found, which is not a hex digit ('\0' for
/// a lone last digit), at the resource's "data". Returns false, for the emitter to return.
bool reportBadHexData(const Resource& resource, char found, Diagnostics& diagnostics);

}  // namespace kel::rez

#endif
