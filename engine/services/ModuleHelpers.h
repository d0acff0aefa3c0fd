#pragma once
// Helpers of the engine library that are not part of any class.

#include <string>
#include <string_view>

namespace pgv::engine {

// Removes one leading "|", then one trailing "|".
std::string StripBars(std::string_view s);
// The part of s before its first NUL character.
std::string TextBeforeNul(std::string_view s);
// The engine's own message text (section "QMR" of the language's message file); "" for
// a missing key or file. The language is the setting QMR\Lang\Lang ("English" selects
// msgs.ini, anything else msgsg.ini).
std::string EngineMessage(std::string_view key);
// The path of the message file the engine reads.
std::string EngineMessageFile();
// The special folder (CSIDL) without a trailing backslash, created when missing; "".
std::string SpecialFolder(int csidl);
// The Windows directory, or "C:\WINDOWS".
std::string WindowsFolder();
// -1 unknown, 0 Windows 95 family, 1 NT family, 2 Windows CE.
int PlatformFamily();

}  // namespace pgv::engine
