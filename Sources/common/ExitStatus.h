// Exit statuses of the program.
#ifndef VANTREL_EXIT_STATUS_H
#define VANTREL_EXIT_STATUS_H

namespace kel::rez {

enum ExitStatus : int {
    statusSuccess = 0,
    statusInputPathMissing = 64,
    statusInputPathIsOption = 65,
    statusHeaderPathMissing = 66,
    statusHeaderPathIsOption = 67,
    statusAdobePathMissing = 68,
    statusAdobePathIsOption = 69,
    statusMacPathMissing = 70,
    statusMacPathIsOption = 71,
    statusWindowsPathMissing = 72,   // also --pipl
    statusWindowsPathIsOption = 73,  // also --pipl
    statusBadArgument = 74,
    statusOutputsMissing = 75,
    statusNoInput = 76,
    statusUnparsableJson = 77,
    statusRootNotArray = 78,
    statusEntryNotObject = 79,
    statusTypeMissing = 80,
    statusTypeNotString = 81,
    statusFileAndDataMissing = 82,
    statusFileNotString = 83,
    statusDataBadType = 84,
    statusIdBad = 85,
    statusNameNotString = 86,
    statusDefineNotString = 87,
    statusTooManyIds = 88,
    statusBadHexData = 89,
    statusBadObjectData = 90,  // also every PiPL description error
    statusCannotWrite = 91,
    statusStrictCheckFailed = 92,  // the input failed a --strict check
    statusOutputFileShared = 93,   // an output is the input or another output
    statusOutOfMemory = 94,
    statusResourceFileUnreadable = 95,  // --rsrc / --res: a "file" cannot be read
    statusCannotCompile = 96,  // --rsrc / --res / --depfile: the file format cannot hold a value
    statusCannotInspect = 97,  // --inspect: the file cannot be read or is malformed
    statusPluginWouldNotLoad = 98  // --inspect: a load check of the built plug-in failed
};

}  // namespace kel::rez

#endif
