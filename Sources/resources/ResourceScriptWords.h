// The words the resource compiler reads as something other than a resource type of their own
// name. The .rc writes a type as a bare word after the key: the compiler's preprocessor first
// replaces a word it has a macro for, and its parser then takes a word of the resource script
// language as a statement or a built-in numeric type (ICON, RCDATA, BEGIN, ...).
#ifndef VANTREL_RESOURCE_SCRIPT_WORDS_H
#define VANTREL_RESOURCE_SCRIPT_WORDS_H

#include <optional>
#include <string_view>

namespace kel::rez {

/// Why the resource compiler would not read word (letters, digits and underscores, not
/// beginning with a digit) as a type of that name, as messages say it after the member:
/// "may not be a macro the resource compiler predefines"; none when it would.
std::optional<std::string_view> resourceScriptWordProblem(std::string_view word);

}  // namespace kel::rez

#endif
