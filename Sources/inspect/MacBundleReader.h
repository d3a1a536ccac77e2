// Reads a Mac plug-in bundle folder: the resource files in Contents/Resources and the
// executable in Contents/MacOS.
#ifndef VANTREL_INSPECT_MAC_BUNDLE_READER_H
#define VANTREL_INSPECT_MAC_BUNDLE_READER_H

#include <string>
#include <vector>

#include "inspect/ReadResult.h"

namespace kel::rez {

struct BundleFile
{
    std::string path;
    std::vector<unsigned char> bytes;
};

struct MacBundle
{
    std::vector<BundleFile> resourceFiles;  // Contents/Resources/*.rsrc, by file name
    bool hasExecutable = false;
    BundleFile executable;
};

/// True when path is a folder holding a Contents folder.
bool looksLikeMacBundle(const std::string& path);

/// The executable is the one Contents/Info.plist names as CFBundleExecutable, or else the
/// only file in Contents/MacOS; a bundle may have none (then only resources are checked).
ReadResult<MacBundle> readMacBundle(const std::string& path);

/// The bytes of a whole file; false when it cannot be read.
bool readWholeFile(const std::string& path, std::vector<unsigned char>& bytes);

}  // namespace kel::rez

#endif
