#include "Pipeline.h"

#include "ExitStatus.h"
#include "ResourceIds.h"
#include "ResourceLoader.h"
#include "keljsonParse.h"

namespace kel::rez {

int buildOutputsFromText(const std::string& inputText, const OutputPaths& paths,
                         OutputTexts& texts)
{
    kel::utils::AutoRC<kel::json::Node> root(kel::json::parse(inputText));
    if (!root)
        return failWith(statusUnparsableJson, "JSON input could not be parsed");
    if (root->nodeType() != kel::json::Node::TypeArray)
        return failWith(statusRootNotArray, "Root JSON node is expected to be of type array");

    ResourcesByType resourcesByType;
    if (int status = loadResources(*root.get(), resourcesByType))
        return status;
    if (int status = assignResourceIds(resourcesByType))
        return status;
    return buildOutputs(resourcesByType, paths, texts);
}

}  // namespace kel::rez
