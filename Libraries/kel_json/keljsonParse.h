// Lenient JSON parsing and serialization of kel::json::Node trees.
#ifndef KEL_JSON_PARSE_H
#define KEL_JSON_PARSE_H

#include <string>

#include "keljsonNode.h"

namespace kel::json {

/// Parses text into a new tree whose root (one reference) the caller owns and releases;
/// null when the text is rejected. Never recurses on the depth of the document.
Node* parse(const std::string& text);

/// JSON text of the tree, compact or indented with tabs from depth indent; "" for null.
/// Does not change the tree or any reference count.
std::string serialize(const Node* node, bool pretty = false, unsigned int indent = 0);

}  // namespace kel::json

#endif
