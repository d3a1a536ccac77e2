#include "resources/ResourceScriptWords.h"

#include <algorithm>
#include <iterator>

namespace kel::rez {

namespace {

// The macros the compilers' preprocessor defines without a reserved name, for 64-bit and
// 32-bit targets alike. Every other predefined macro has a reserved name: see __isReserved.
constexpr std::string_view __predefinedMacros[] = {
    "RC_INVOKED", "WIN32", "WIN64", "WINNT", "_cdecl", "_fastcall", "_stdcall", "_thiscall",
    "i386",
};

// The words of the resource script language the parser takes in a type's place for a
// statement, an option or a built-in type. They are matched as written: the compiler reads
// "icon" as a type named ICON.
constexpr std::string_view __languageWords[] = {
    "ACCELERATORS", "ALT", "ANICURSOR", "ANIICON", "ASCII", "AUTO3STATE", "AUTOCHECKBOX",
    "AUTORADIOBUTTON", "BEDIT", "BEGIN", "BITMAP", "BLOCK", "BUTTON", "CAPTION",
    "CHARACTERISTICS", "CHECKBOX", "CHECKED", "CLASS", "COMBOBOX", "CONTROL", "CTEXT", "CURSOR",
    "DEFPUSHBUTTON", "DIALOG", "DIALOGEX", "DISCARDABLE", "DLGINCLUDE", "DLGINIT", "EDITTEXT",
    "END", "EXSTYLE", "FILEFLAGS", "FILEFLAGSMASK", "FILEOS", "FILESUBTYPE", "FILETYPE",
    "FILEVERSION", "FIXED", "FONT", "FONTDIR", "GRAYED", "GROUPBOX", "GROUP_CURSOR",
    "GROUP_ICON", "HEDIT", "HELP", "HTML", "ICON", "IEDIT", "IMPURE", "INACTIVE", "LANGUAGE",
    "LISTBOX", "LOADONCALL", "LTEXT", "MANIFEST", "MENU", "MENUBARBREAK", "MENUBREAK", "MENUEX",
    "MENUITEM", "MESSAGETABLE", "MOVEABLE", "NOINVERT", "NOT", "OWNERDRAW", "PLUGPLAY", "POPUP",
    "PRELOAD", "PRODUCTVERSION", "PURE", "PUSHBOX", "PUSHBUTTON", "RADIOBUTTON", "RCDATA",
    "RTEXT", "SCROLLBAR", "SEPARATOR", "SHIFT", "STATE3", "STRINGTABLE", "STYLE", "TOOLBAR",
    "USERBUTTON", "VALUE", "VERSION", "VERSIONINFO", "VIRTKEY", "VXD",
};

/// Names C keeps for the implementation (two underscores, or one and a capital letter): the
/// preprocessor predefines hundreds of them, a different set for each compiler and target.
bool __isReserved(std::string_view word)
{
    if (word.size() < 2 || word[0] != '_')
        return false;
    return word[1] == '_' || (word[1] >= 'A' && word[1] <= 'Z');
}

template <std::size_t count>
bool __isOneOf(std::string_view word, const std::string_view (&words)[count])
{
    return std::find(std::begin(words), std::end(words), word) != std::end(words);
}

}  // namespace

std::optional<std::string_view> resourceScriptWordProblem(std::string_view word)
{
    if (__isReserved(word))
        return "may not be a name reserved for the resource compiler's macros";
    if (__isOneOf(word, __predefinedMacros))
        return "may not be a macro the resource compiler predefines";
    if (__isOneOf(word, __languageWords))
        return "may not be a word of the resource script language";
    return std::nullopt;
}

}  // namespace kel::rez
