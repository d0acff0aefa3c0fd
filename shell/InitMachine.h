#pragma once
// `purgavia init-machine DIR [--demo]`: creates a fresh Windows XP machine folder.

#include <string>

namespace pgv::shell {

// Creates the machine folder DIR (Wine prefix layout, XP registry, user folders) and,
// with demo, the traces every page of the program finds. Returns 0, or 2 with a
// one-line reason in error.
int initMachine(const std::string& dir, bool demo, std::string& error);

}  // namespace pgv::shell
