// Stands in for a plug-in's sources: it uses the IDs of the generated header, which
// vantrel_add_resources puts on the include path.
#include "sample_resources.h"

#if defined(_WIN32)
#define SAMPLE_EXPORT __declspec(dllexport)
#else
#define SAMPLE_EXPORT __attribute__((visibility("default")))
#endif

static_assert(SAMPLE_TOOL_ICON_2X_ID == SAMPLE_TOOL_ICON_ID + 1,
              "a @2x variant is numbered right after its base image");

extern "C" int samplePluginToolIconId()
{
    return SAMPLE_TOOL_ICON_ID;
}

extern "C" int samplePluginPiplId()
{
    return SAMPLE_PIPL_ID;
}

// The entry point the PiPL names: the host looks it up by this name (CHECK makes sure).
extern "C" SAMPLE_EXPORT int PluginMain(const char* caller, const char* selector, void* message)
{
    return caller && selector && message ? 0 : 1;
}
