// The member names a PiPL description may hold, for the --strict check of unknown members.
#include "pipl/Pipl.h"

namespace kel::rez {

std::vector<PiplMemberNames> knownPiplMembers()
{
    const std::vector<std::string_view> creatorAndType = {"Creator", "Type"};
    return {
        {"AboutBox", {}},
        {"Category", {}},
        {"ExportAlpha", {}},
        {"FilterLayers", {}},
        {"FormatFileType", creatorAndType},
        {"FormatFilteredExt", {}},
        {"FormatFilteredTypes", creatorAndType},
        {"FormatFlags",
         {"SavesImageResources", "CanRead", "CanWrite", "WritesAll", "CanWriteAlpha", "CanMakeThumb"}},
        {"FormatReadExt", {}},
        {"FormatReadTypes", creatorAndType},
        {"FormatWriteExt", {}},
        {"FormatWriteTypes", creatorAndType},
        {"Name", {}},
        {"PluginType", {}},
        {"SupportedModes",
         {"Bitmap", "Grayscale", "Indexed", "RGB", "CMYK", "HSL", "HSB", "LAB", "Multichannel",
          "Duotone"}},
        {"Terminology", {"Class", "Event", "Name", "aete"}},
        {"Version", {"Major", "Minor", "Revision"}},
    };
}

}  // namespace kel::rez
