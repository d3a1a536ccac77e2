#include "inspect/MacBundleReader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace kel::rez {

namespace fs = std::filesystem;

namespace {

fs::path pathOf(const std::string& utf8) { return fs::u8path(utf8); }

std::string textOf(const fs::path& path) { return path.u8string(); }

/// The regular files directly in folder, by name; only those ending in suffix if given.
std::vector<fs::path> filesIn(const fs::path& folder, const std::string& suffix)
{
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = textOf(it->path().filename());
        const bool matches = name.size() >= suffix.size() &&
                             name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
        if (matches && name[0] != '.' && it->is_regular_file(error))
            files.push_back(it->path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

/// The CFBundleExecutable string of an XML property list; empty when there is none.
std::string bundleExecutableName(const fs::path& infoPlist)
{
    std::vector<unsigned char> bytes;
    if (!readWholeFile(textOf(infoPlist), bytes))
        return {};
    const std::string text(bytes.begin(), bytes.end());
    const std::string key = "<key>CFBundleExecutable</key>";
    std::size_t at = text.find(key);
    if (at == std::string::npos)
        return {};
    at = text.find_first_not_of(" \t\r\n", at + key.size());
    const std::string open = "<string>";
    if (at == std::string::npos || text.compare(at, open.size(), open) != 0)
        return {};
    const std::size_t end = text.find("</string>", at);
    return end == std::string::npos ? "" : text.substr(at + open.size(), end - at - open.size());
}

std::string findExecutable(const fs::path& contents, MacBundle& bundle)
{
    const fs::path folder = contents / "MacOS";
    const std::string named = bundleExecutableName(contents / "Info.plist");
    fs::path chosen;
    if (!named.empty() && named.find('/') == std::string::npos) {
        chosen = folder / pathOf(named);
    } else {
        const std::vector<fs::path> files = filesIn(folder, "");
        if (files.size() > 1)
            return "the bundle's Contents/MacOS holds several files and no Info.plist names one";
        if (files.empty())
            return {};
        chosen = files.front();
    }
    bundle.executable.path = textOf(chosen);
    if (!readWholeFile(bundle.executable.path, bundle.executable.bytes))
        return "cannot read the bundle's executable " + bundle.executable.path;
    bundle.hasExecutable = true;
    return {};
}

}  // namespace

bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes)
{
    std::ifstream stream(pathOf(path), std::ios::binary);
    if (!stream)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
    return !stream.bad();
}

bool looksLikeMacBundle(const std::string& path)
{
    std::error_code error;
    return fs::is_directory(pathOf(path) / "Contents", error);
}

ReadResult<MacBundle> readMacBundle(const std::string& path)
{
    using Result = ReadResult<MacBundle>;
    const fs::path contents = pathOf(path) / "Contents";
    if (!looksLikeMacBundle(path))
        return Result::failure("the folder " + path + " holds no Contents folder");
    Result result;
    for (const fs::path& file : filesIn(contents / "Resources", ".rsrc")) {
        BundleFile resources{textOf(file), {}};
        if (!readWholeFile(resources.path, resources.bytes))
            return Result::failure("cannot read the bundle's resource file " + resources.path);
        result.value.resourceFiles.push_back(std::move(resources));
    }
    std::string error = findExecutable(contents, result.value);
    if (!error.empty())
        return Result::failure(error);
    return result;
}

}  // namespace kel::rez
