#pragma once
// The parsed form of an INI (private-profile) file, as Windows (Wine) keeps it in
// memory: a list of sections, each a list of lines. Pure text processing, no file access.
//
// Parsing rules:
//  - lines end at any run of CR and LF characters; blank lines are dropped;
//  - blanks (space, tab, the other ASCII white space and ^Z) around a line, a section
//    name, a key and a value are dropped; blanks inside are kept;
//  - "[name]" starts a section (the text up to the last ']'); a '[' line without ']' is
//    an ordinary line;
//  - "key=value" splits at the first '='; a line without '=' is kept as a name without a
//    value; ';' lines are comments but are stored like any other line, so they survive
//    a rewrite (and a lookup of ";name" still finds ";name=value", as on Windows);
//  - the lines before the first section header form a nameless first section;
//  - a byte-order mark selects UTF-8 or UTF-16 (either order); anything else is code
//    page 1252. The text is kept in UTF-16 so that rewriting a Unicode file loses nothing.
//
// Writing produces CR LF lines: "[name]" headers (none for the nameless first section),
// "key=value" or the bare name, no blank lines, in the file's own encoding.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pgv::platform::portable {

enum class ProfileEncoding { Ansi, Utf8, Utf16LittleEndian, Utf16BigEndian };

struct ProfileLine {
  std::u16string name;
  std::optional<std::u16string> value;  // nullopt for a line without '='

  bool isComment() const { return !name.empty() && name.front() == u';'; }
};

struct ProfileSection {
  std::u16string name;
  std::vector<ProfileLine> lines;
};

struct ProfileDocument {
  ProfileEncoding encoding = ProfileEncoding::Ansi;
  // sections[0] is the nameless part before the first header; it always exists.
  std::vector<ProfileSection> sections{ProfileSection{}};

  // The first section whose name equals name without regard to case; null when none.
  // The name is compared after trimming blanks. "" finds the nameless first section.
  ProfileSection* findSection(std::u16string_view name);
  const ProfileSection* findSection(std::u16string_view name) const;
};

// The first line of the section whose name equals name without regard to case (after
// trimming blanks); null when none.
ProfileLine* findLine(ProfileSection& section, std::u16string_view name);
const ProfileLine* findLine(const ProfileSection& section, std::u16string_view name);

ProfileDocument parseProfile(std::string_view fileBytes);
std::string serializeProfile(const ProfileDocument& document);

// The blank characters of INI files.
bool isProfileBlank(char16_t c);
std::u16string_view trimProfileBlanks(std::u16string_view text);
// Section and key names compare like Windows compares them: without regard to case.
bool sameProfileName(std::u16string_view a, std::u16string_view b);

}  // namespace pgv::platform::portable
