// placeholder until implemented
#include "OutputPass.h"
namespace kel::rez {
int buildOutputs(const ResourcesByType&, const OutputPaths&, OutputTexts&) { return 0; }
int writeOutputs(const OutputTexts&, const OutputPaths&) { return 0; }
}
