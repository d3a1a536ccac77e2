#include "output/DependencyFile.h"

#include <set>
#include <utility>

#include "common/ExitStatus.h"

namespace kel::rez {

namespace {

/// The path as one Makefile word. Backslashes are literal except before a space or tab,
/// where each one is doubled so that the escaped blank still ends up preceded by them.
std::string __makeWord(const std::string& path)
{
    std::string word;
    std::size_t backslashes = 0;
    for (char c : path) {
        if (c == ' ' || c == '\t') {
            word.append(backslashes + 1, '\\');
        } else if (c == '#') {
            word += '\\';
        } else if (c == '$') {
            word += '$';
        }
        backslashes = c == '\\' ? backslashes + 1 : 0;
        word += c;
    }
    return word;
}

bool __fitsInWord(const std::string& path)
{
    return !path.empty() && path.find_first_of("\n\r") == std::string::npos;
}

}  // namespace

CompiledFile writeDependencyFile(const std::vector<std::string>& targets,
                                 const std::vector<std::string>& prerequisites)
{
    CompiledFile file;
    std::vector<std::string> listed;
    std::set<std::string> seen;
    for (const std::string& path : prerequisites)
        if (seen.insert(path).second)
            listed.push_back(path);
    for (const std::vector<std::string>* paths : {&targets, &std::as_const(listed)})
        for (const std::string& path : *paths)
            if (!__fitsInWord(path)) {
                file.error = "the path \"" + path + "\" cannot go into a dependency file: it is "
                             "empty or holds a line break";
                file.status = statusCannotCompile;
                return file;
            }

    std::string& out = file.bytes;
    for (std::size_t i = 0; i < targets.size(); ++i)
        out += (i ? " " : "") + __makeWord(targets[i]);
    out += ':';
    for (const std::string& path : listed)
        out += " \\\n  " + __makeWord(path);
    out += "\n";
    for (const std::string& path : listed)
        out += "\n" + __makeWord(path) + ":\n";
    return file;
}

}  // namespace kel::rez
