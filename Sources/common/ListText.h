// Texts that a printed resource list can carry as JSON strings.
#ifndef VANTREL_LIST_TEXT_H
#define VANTREL_LIST_TEXT_H

#include <string>

namespace kel::rez {

/// True when text reads back as itself both through the tool's own JSON reader and through
/// any standard one once its quotes are escaped: valid UTF-8 without control characters and
/// without backslashes (which the two kinds of reader take differently).
bool isPlainListText(const std::string& text);

/// The text in double quotes, each quote inside escaped; for plain list texts only.
std::string quotedListText(const std::string& text);

}  // namespace kel::rez

#endif
