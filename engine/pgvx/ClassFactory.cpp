// Looking up a class of the engine library by its id.

#include "engine/pgvx/ClassFactory.h"

#include <cctype>

namespace pgv::engine {
namespace {

bool sameNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) {
      return false;
    }
  }
  return true;
}

}  // namespace

const ClassFactory::Entry* ClassFactory::find(std::string_view name) const {
  for (const Entry& entry : entries_) {
    if (sameNoCase(name, entry.id.clsid) || sameNoCase(name, entry.id.progId)) return &entry;
  }
  return nullptr;
}

}  // namespace pgv::engine
