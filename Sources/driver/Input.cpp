#include "driver/Input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "kelutilsFiles.h"

namespace kel::rez {

std::string readLines(std::istream& stream)
{
    // Reads in blocks rather than with getline: same text, without a call per line.
    std::string text;
    char block[65536];
    while (stream.read(block, sizeof block) || stream.gcount() > 0)
        text.append(block, static_cast<std::size_t>(stream.gcount()));
    if (!text.empty() && text.back() != '\n')
        text += '\n';
    return text;
}

std::string noInputReason(const std::string& path)
{
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    int errorNumber = errno;
    if (file) {
        // Opening a folder succeeds on some systems; reading it then fails.
        const bool readFailed = std::fgetc(file) == EOF && std::ferror(file);
        errorNumber = readFailed ? errno : 0;
        std::fclose(file);
    }
    if (!file || errorNumber != 0)
        return ": cannot read " + path + ": " + std::strerror(errorNumber);
    return ": " + path + " is empty";
}

std::string readInputText(const std::optional<std::string>& inputPath)
{
    if (inputPath)
        return kel::utils::getPlainFileContents(*inputPath);
    return readLines(std::cin);
}

}  // namespace kel::rez
