// Serialization of kel::json::Node trees to JSON text.
#ifndef KEL_JSON_SERIALIZE_H
#define KEL_JSON_SERIALIZE_H

#include <string>

#include "keljsonNode.h"

namespace kel::json {

/// JSON text of the tree, compact or indented with tabs from depth indent; "" for null.
/// Does not change the tree or any reference count.
std::string serialize(const Node* node, bool pretty = false, unsigned int indent = 0);

}  // namespace kel::json

#endif
