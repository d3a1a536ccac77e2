#include "driver/ExitStatus.h"

#include <iostream>

namespace kel::rez {

void printError(const std::string& message)
{
    std::cerr << "Error: " << message << "\n";
}

int failWith(int status, const std::string& message)
{
    printError(message);
    return status;
}

}  // namespace kel::rez
