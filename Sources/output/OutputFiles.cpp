// Writing the output files, once every text is complete: header, IDtoFile.txt, .r, .rc
// and the PiPL byte image, in that order, stopping at the first that cannot be written.
#include "output/OutputFiles.h"

#include "driver/ExitStatus.h"
#include "kelutilsFiles.h"

namespace kel::rez {

namespace {

/// 0 when nothing is to be written or the write succeeded; otherwise 91 after the message.
int writeTextFile(const std::optional<std::string>& path, const std::string& text,
                  const std::string& fileDescription)
{
    if (!path || text.empty() || kel::utils::setPlainFileContents(*path, text))
        return statusSuccess;
    return failWith(statusCannotWrite,
                    "cannot write to " + fileDescription + " output file at " + *path);
}

}  // namespace

int writeOutputs(const OutputTexts& texts, const OutputPaths& paths)
{
    if (int status = writeTextFile(paths.header, texts.headerText, "header"))
        return status;
    if (int status = writeTextFile(paths.idToFile, texts.idToFileText, "IDtoFile.txt"))
        return status;
    if (int status = writeTextFile(paths.mac, texts.macText, "*.r"))
        return status;
    if (int status = writeTextFile(paths.windows, texts.winText, "*.rc"))
        return status;
    if (paths.pipl && !texts.piplBytes.empty() && 
        !kel::utils::setBinaryFileContents(*paths.pipl, texts.piplBytes))
        return failWith(statusCannotWrite, "cannot write to PiPL output file at " + *paths.pipl);
    return statusSuccess;
}

}  // namespace kel::rez
