#include "pipl/PiplInternal.h"

namespace kel::rez {

namespace {

const PiplKind __piplKinds[] = {
    {"Illustrator", PiplFamily::illustrator, "PluginMain", "SPEA", 0, false},
    {"Photoshop_Acquire", PiplFamily::photoshop, "AcquirePluginMain", "8BAM", 0x00040000, false},
    {"Photoshop_Actions", PiplFamily::photoshop, "ActionsPluginMain", "8LIZ", 0x00010000, true},
    {"Photoshop_Export", PiplFamily::photoshop, "ExportPluginMain", "8BEM", 0x00040000, false},
    {"Photoshop_Extension", PiplFamily::photoshop, "ExtensionPluginMain", "8BXM", 0x00020000, false},
    {"Photoshop_Filter", PiplFamily::photoshop, "FilterPluginMain", "8BFM", 0x00040000, false},
    {"Photoshop_Format", PiplFamily::photoshop, "FormatPluginMain", "8BIF", 0x00010000, false},
    {"Photoshop_Measurement", PiplFamily::photoshop, "MeasurementPluginMain", "8MEA", 0x00010000, false},
    {"Photoshop_Picker", PiplFamily::photoshop, "PickerPluginMain", "8BCM", 0x00010000, false},
    {"Photoshop_Selection", PiplFamily::photoshop, "SelectionPluginMain", "8BSM", 0x00010000, false},
};

}  // namespace

const PiplKind* __findPiplKind(const std::string& pluginType)
{
    for (const PiplKind& kind : __piplKinds)
        if (pluginType == kind.pluginType)
            return &kind;
    return nullptr;
}

}  // namespace kel::rez
