#include "common/ExitStatus.h"

#include <iostream>

namespace kel::rez {

namespace {

std::ostream* __errorStream = &std::cerr;

}  // namespace

void printError(const std::string& message)
{
    *__errorStream << "Error: " << message << "\n";
}

void printErrorLines(const std::string& lines)
{
    *__errorStream << lines;
}

int failWith(int status, const std::string& message)
{
    printError(message);
    return status;
}

ErrorCapture::ErrorCapture()
    : __previous(__errorStream)
{
    __errorStream = &__lines;
}

ErrorCapture::~ErrorCapture()
{
    __errorStream = __previous;
}

std::string ErrorCapture::take()
{
    std::string lines = __lines.str();
    __lines.str("");
    return lines;
}

}  // namespace kel::rez
