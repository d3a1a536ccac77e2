// Resources as the resource compilers leave them: a type, an ID or a name, and the bytes.
// The writers of compiled resource files take lists of these and return the file's bytes.
#ifndef VANTREL_COMPILED_RESOURCE_H
#define VANTREL_COMPILED_RESOURCE_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace kel::rez {

/// One resource of a compiled file. The bytes are shared: a file resource listed under two
/// keys or two types holds one copy of the file.
struct CompiledResource {
    std::string type;  // as the entry gives it; each writer stores it in its own form
    std::int16_t id = 0;
    std::string name;  // the resource's name (Mac), or its key when keyedByName (Windows)
    bool keyedByName = false;
    std::shared_ptr<const std::string> bytes;
};

using CompiledResources = std::vector<CompiledResource>;

/// What a writer of a compiled file returns: the file's bytes, or why the resources cannot be
/// stored in it (error non-empty, a message without "Error: ", and the exit status for it).
struct CompiledFile {
    std::string bytes;
    std::string error;
    int status = 0;
};

}  // namespace kel::rez

#endif
