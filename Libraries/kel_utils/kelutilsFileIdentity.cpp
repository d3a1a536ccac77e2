// Telling whether two paths name one file, from what the platform says of each.
#include "kelutilsFileIdentity.h"

#include "kelutilsNativeFiles.h"

namespace kel::utils {

namespace {

/// How a name is compared with another in one folder.
std::string __comparedName(std::string name)
{
#ifdef _WIN32
    for (char& c : name)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
#endif
    return name;
}

}  // namespace

std::optional<std::string> existingFileIdentity(const std::string& path)
{
    __PathFacts facts;
    if (!__examinePath(path, facts) || facts.kind != __PathFacts::regularFile)
        return std::nullopt;
    return facts.identity;
}

std::optional<std::string> fileIdentity(const std::string& path)
{
    __PathFacts facts;
    if (!__examinePath(path, facts))
        return std::nullopt;
    if (facts.kind != __PathFacts::missing)
        return facts.kind == __PathFacts::regularFile ? std::optional<std::string>(facts.identity)
                                                      : std::nullopt;
    // Not there yet: where it would be made (after the links that lead to it).
    const std::string folderPrefix = __folderPrefix(facts.resolvedPath);
    const std::string name = facts.resolvedPath.substr(folderPrefix.size());
    __PathFacts folder;
    if (name.empty() || !__examinePath(folderPrefix + ".", folder)
        || folder.kind != __PathFacts::folder)
        return std::nullopt;
    return folder.identity + "/" + __comparedName(name);
}

std::optional<std::string> standardInputIdentity()
{
    return __standardInputIdentity();
}

}  // namespace kel::utils
