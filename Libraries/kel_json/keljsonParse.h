// Lenient JSON parsing of kel::json::Node trees.
#ifndef KEL_JSON_PARSE_H
#define KEL_JSON_PARSE_H

#include <string>

#include "keljsonEvents.h"
#include "keljsonNode.h"
#include "keljsonSerialize.h"  // kept for callers that parse and serialize

namespace kel::json {

/// Parses text into a new tree whose root (one reference) the caller owns and releases;
/// null when the text is rejected. Never recurses on the depth of the document.
Node* parse(const std::string& text);

/// Reads text from start to end, reporting what it reads to events as it goes; false when
/// the text is rejected, which may be after many events. parse is this with a TreeBuilder.
bool parseEvents(const std::string& text, ParseEvents& events);

/// parseEvents on a text the caller gives up: a string value or key longer than half the
/// text is handed on in the text's own buffer rather than copied. The events are the same;
/// text is left holding an unspecified part of itself.
bool parseEvents(std::string&& text, ParseEvents& events);

}  // namespace kel::json

#endif
