// Feeds one input to every reader of built modules: none may crash, hang or read out of
// bounds, and each either reads the input or names what is malformed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "inspect/MacResourceFileReader.h"
#include "inspect/MachOReader.h"
#include "inspect/PeReader.h"
#include "inspect/ResFileReader.h"

template <typename Result>
static void expectReadOrMessage(const Result& result)
{
    if (!result.ok() && result.error.empty())
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<unsigned char> bytes(data, data + size);
    expectReadOrMessage(kel::rez::readPeModule(bytes));
    expectReadOrMessage(kel::rez::readResFile(bytes));
    expectReadOrMessage(kel::rez::readMacResourceFile(bytes));
    expectReadOrMessage(kel::rez::readMachO(bytes));
    return 0;
}
