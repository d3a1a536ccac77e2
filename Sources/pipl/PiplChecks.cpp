// Every check of a PiPL description, each with its own message.
#include "driver/ExitStatus.h"
#include "pipl/PiplInternal.h"

namespace kel::rez {

namespace {

using kel::json::Node;
using kel::utils::AutoNode;

// Longest text a length byte can describe.
const std::size_t __maxLengthPrefixed = 255;

// Reported before the walk for Photoshop plug-ins, during it for Illustrator ones.
const char* const __terminologyNotObject = "The \"Terminology\" value must be a JSON object.";

struct SubmemberRule {
    const char* key;
    Node::Type type;
    const char* message;
};

struct TypeListRules {
    const char* notArray;
    const char* elementNotObject;
    SubmemberRule elementMembers[2];
};

struct ExtListRules {
    const char* notArray;
    const char* elementNotString;
};

const SubmemberRule __versionRules[] = {
    {"Major", Node::TypeNumber, "The \"Version\" member must have a \"Major\" submember containing a number."},
    {"Minor", Node::TypeNumber, "The \"Version\" member must have a \"Minor\" submember containing a number."},
    {"Revision", Node::TypeNumber,
     "The \"Version\" member must have a \"Revision\" submember containing a number."},
};

const SubmemberRule __terminologyRules[] = {
    {"Class", Node::TypeString, "The \"Terminology\" member must have a \"Class\" submember containing a string."},
    {"Event", Node::TypeString, "The \"Terminology\" member must have an \"Event\" submember containing a string."},
    {"Name", Node::TypeString, "The \"Terminology\" member must have a \"Name\" submember containing a string."},
    {"aete", Node::TypeNumber, "The \"Terminology\" member must have an \"aete\" submember containing a number."},
};

const SubmemberRule __supportedModesRules[] = {
    {"Bitmap", Node::TypeBool, "The \"SupportedModes\" member must have a \"Bitmap\" submember containing a bool."},
    {"Grayscale", Node::TypeBool,
     "The \"SupportedModes\" member must have a \"Grayscale\" submember containing a bool."},
    {"Indexed", Node::TypeBool, "The \"SupportedModes\" member must have a \"Indexed\" submember containing a bool."},
    {"RGB", Node::TypeBool, "The \"SupportedModes\" member must have a \"RGB\" submember containing a bool."},
    {"CMYK", Node::TypeBool, "The \"SupportedModes\" member must have a \"CMYK\" submember containing a bool."},
    {"HSL", Node::TypeBool, "The \"SupportedModes\" member must have a \"HSL\" submember containing a bool."},
    {"HSB", Node::TypeBool, "The \"SupportedModes\" member must have a \"HSB\" submember containing a bool."},
    {"LAB", Node::TypeBool, "The \"SupportedModes\" member must have a \"LAB\" submember containing a bool."},
    {"Multichannel", Node::TypeBool,
     "The \"SupportedModes\" member must have a \"Multichannel\" submember containing a bool."},
    {"Duotone", Node::TypeBool, "The \"SupportedModes\" member must have a \"Duotone\" submember containing a bool."},
};

const SubmemberRule __formatFileTypeRules[] = {
    {"Creator", Node::TypeString,
     "The \"FormatFileType\" member must have a \"Creator\" submember containing a string."},
    {"Type", Node::TypeString, "The \"FormatFileType\" member must have a \"Type\" submember containing a string."},
};

const SubmemberRule __formatFlagsRules[] = {
    {"SavesImageResources", Node::TypeBool,
     "The \"FormatFlags\" member must have a \"SavesImageResources\" submember containing a bool."},
    {"CanRead", Node::TypeBool, "The \"FormatFlags\" member must have a \"CanRead\" submember containing a bool."},
    {"CanWrite", Node::TypeBool, "The \"FormatFlags\" member must have a \"CanWrite\" submember containing a bool."},
    {"WritesAll", Node::TypeBool,
     "The \"FormatFlags\" member must have a \"WritesAll\" submember containing a bool."},
    {"CanWriteAlpha", Node::TypeBool,
     "The \"FormatFlags\" member must have a \"CanWriteAlpha\" submember containing a bool."},
    {"CanMakeThumb", Node::TypeBool,
     "The \"FormatFlags\" member must have a \"CanMakeThumb\" submember containing a bool."},
};

const TypeListRules __formatReadTypesRules = {
    "The \"FormatReadTypes\" value must be a JSON array.",
    "All the elements of the \"FormatReadTypes\" array must be JSON objects.",
    {{"Creator", Node::TypeString,
      "The \"FormatReadTypes\" elements must have a \"Creator\" submember containing a string."},
     {"Type", Node::TypeString, "The \"FormatReadTypes\" elements must have a \"Type\" submember containing a string."}},
};

const TypeListRules __formatWriteTypesRules = {
    "The \"FormatWriteTypes\" value must be a JSON array.",
    "All the elements of the \"FormatWriteTypes\" array must be JSON objects.",
    {{"Creator", Node::TypeString,
      "The \"FormatWriteTypes\" elements must have a \"Creator\" submember containing a string."},
     {"Type", Node::TypeString,
      "The \"FormatWriteTypes\" elements must have a \"Type\" submember containing a string."}},
};

const TypeListRules __formatFilteredTypesRules = {
    "The \"FormatFilteredTypes\" value must be a JSON array.",
    "All the elements of the \"FormatFilteredTypes\" array must be JSON objects.",
    {{"Creator", Node::TypeString,
      "The \"FormatFilteredTypes\" elements must have a \"Creator\" submember containing a string."},
     {"Type", Node::TypeString,
      "The \"FormatFilteredTypes\" elements must have a \"Type\" submember containing a string."}},
};

const ExtListRules __formatReadExtRules = {
    "The \"FormatReadExt\" value must be a JSON array.",
    "All the elements of the \"FormatReadExt\" array must be strings.",
};

const ExtListRules __formatWriteExtRules = {
    "The \"FormatWriteExt\" value must be a JSON array.",
    "All the elements of the \"FormatWriteExt\" array must be strings.",
};

const ExtListRules __formatFilteredExtRules = {
    "The \"FormatFilteredExt\" value must be a JSON array.",
    "All the elements of the \"FormatFilteredExt\" array must be strings.",
};

bool __fail(const char* message)
{
    printError(message);
    return false;
}

bool __isOfType(const Node* node, Node::Type type)
{
    return node && node->nodeType() == type;
}

bool __hasMemberOfType(const Node& object, const char* key, Node::Type type)
{
    AutoNode member(object.member(key));
    return __isOfType(member.get(), type);
}

template <std::size_t count>
bool __checkSubmembers(const Node& object, const SubmemberRule (&rules)[count])
{
    for (const SubmemberRule& rule : rules)
        if (!__hasMemberOfType(object, rule.key, rule.type))
            return __fail(rule.message);
    return true;
}

template <std::size_t count>
bool __checkObject(const Node& value, const char* notObjectMessage, const SubmemberRule (&rules)[count])
{
    if (value.nodeType() != Node::TypeObject)
        return __fail(notObjectMessage);
    return __checkSubmembers(value, rules);
}

bool __checkBoolean(const Node& value, const char* message)
{
    return value.nodeType() == Node::TypeBool || __fail(message);
}

bool __checkTypeList(const Node& value, const TypeListRules& rules)
{
    if (value.nodeType() != Node::TypeArray)
        return __fail(rules.notArray);
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        if (!__isOfType(element.get(), Node::TypeObject))
            return __fail(rules.elementNotObject);
        if (!__checkSubmembers(*element.get(), rules.elementMembers))
            return false;
    }
    return true;
}

bool __checkExtList(const Node& value, const ExtListRules& rules)
{
    if (value.nodeType() != Node::TypeArray)
        return __fail(rules.notArray);
    for (unsigned int index = 0; index < value.elementsCount(); ++index) {
        AutoNode element(value.element(index));
        if (!__isOfType(element.get(), Node::TypeString))
            return __fail(rules.elementNotString);
    }
    return true;
}

// Already known to be a string; its length byte must be able to hold its length.
bool __checkName(const Node& value)
{
    if (value.stringValue().size() > __maxLengthPrefixed)
        return __fail("The \"Name\" value must be at most 255 bytes long.");
    return true;
}

// Only the Photoshop family writes the category, as a length-prefixed string.
bool __checkCategory(const Node& value, PiplFamily family)
{
    if (value.nodeType() != Node::TypeString)
        return __fail("The \"Category\" value must be a string.");
    if (family == PiplFamily::photoshop && value.stringValue().size() > __maxLengthPrefixed)
        return __fail("The \"Category\" value must be at most 255 bytes long.");
    return true;
}

}  // namespace

bool __checkPiplPrologue(const Node* description, const PiplKind*& kind)
{
    auto memberOf = [description](const char* key) {
        return AutoNode(description ? description->member(key) : nullptr);
    };
    AutoNode pluginType = memberOf("PluginType");
    if (!__isOfType(pluginType.get(), Node::TypeString))
        return __fail("The \"PluginType\" member is required (and must be a string) for \"PiPL\" resources.");
    if (!__isOfType(memberOf("Name").get(), Node::TypeString))
        return __fail("The \"Name\" member is required (and must be a string) for \"PiPL\" resources.");
    if (!__isOfType(memberOf("Version").get(), Node::TypeObject))
        return __fail("The \"Version\" member is required (and must be an object) for \"PiPL\" resources.");

    kind = __findPiplKind(pluginType->stringValue());
    if (!kind) {
        printError("The \"PluginType\" value of \"" + pluginType->stringValue() + "\" " + "is unsupported.");
        return false;
    }

    // A Photoshop plug-in's terminology is needed before the walk (it may get a default one);
    // an Illustrator plug-in's is checked only when the walk reaches it.
    AutoNode terminology = memberOf("Terminology");
    if (kind->family == PiplFamily::photoshop && terminology &&
        terminology->nodeType() != Node::TypeObject)
        return __fail(__terminologyNotObject);
    return true;
}

bool __checkPiplMember(const std::string& name, const Node& value, PiplFamily family)
{
    if (name == "AboutBox")
        return __checkBoolean(value, "The \"AboutBox\" value must be a boolean.");
    if (name == "Category")
        return __checkCategory(value, family);
    if (name == "ExportAlpha")
        return __checkBoolean(value, "The \"ExportAlpha\" value must be a boolean.");
    if (name == "FilterLayers")
        return __checkBoolean(value, "The \"FilterLayers\" value must be a boolean.");
    if (name == "FormatFileType")
        return __checkObject(value, "The \"FormatFileType\" value must be a JSON object.", __formatFileTypeRules);
    if (name == "FormatFilteredExt")
        return __checkExtList(value, __formatFilteredExtRules);
    if (name == "FormatFilteredTypes")
        return __checkTypeList(value, __formatFilteredTypesRules);
    if (name == "FormatFlags")
        return __checkObject(value, "The \"FormatFlags\" value must be a JSON object.", __formatFlagsRules);
    if (name == "FormatReadExt")
        return __checkExtList(value, __formatReadExtRules);
    if (name == "FormatReadTypes")
        return __checkTypeList(value, __formatReadTypesRules);
    if (name == "FormatWriteExt")
        return __checkExtList(value, __formatWriteExtRules);
    if (name == "FormatWriteTypes")
        return __checkTypeList(value, __formatWriteTypesRules);
    if (name == "Name")
        return __checkName(value);
    if (name == "SupportedModes")
        return __checkObject(value, "The \"SupportedModes\" value must be a JSON object.", __supportedModesRules);
    if (name == "Terminology")
        return __checkObject(value, __terminologyNotObject, __terminologyRules);
    if (name == "Version")
        return __checkSubmembers(value, __versionRules);
    return true;
}

}  // namespace kel::rez
