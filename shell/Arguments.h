#pragma once
// Text helpers of the skin protocol: how command names are normalised and how handlers
// read their one argument string.

#include <string>
#include <string_view>
#include <vector>

namespace pgv::shell {

// Upper case the way the program compares names and labels (Unicode letters included).
std::string upperText(std::string_view text);
// Removes leading and trailing blanks (spaces only, as VB's Trim).
std::string trimBlanks(std::string_view text);
// Removes one leading "|", then one trailing "|". "" and "|" both give "".
std::string stripBars(std::string_view text);
// Cuts text at every separator; empty items are kept ("a,,b" gives "a", "", "b").
std::vector<std::string> splitText(std::string_view text, char separator);

}  // namespace pgv::shell
