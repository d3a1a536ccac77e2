// The Windows compiled resource file (.res) that resource compilers write and linkers read.
#ifndef VANTREL_WINDOWS_RESOURCE_FILE_H
#define VANTREL_WINDOWS_RESOURCE_FILE_H

#include "output/CompiledResource.h"

namespace kel::rez {

/// The .res file holding resources in list order after the leading empty entry, each keyed
/// by its ID as an ordinal or, when keyedByName, by its name. Types and names are stored as
/// the resource compilers store the script's words and strings: UTF-16, ASCII letters
/// upper-cased. Memory flags and language are those windres gives a script's resources.
/// Refused (status 94): a type or name that is not valid UTF-8, holds a zero byte, is empty
/// or (a type) holds only digits, which a script reads as a number; and two resources of
/// one type and key.
CompiledFile writeWindowsResourceFile(const CompiledResources& resources);

}  // namespace kel::rez

#endif
