#pragma once
// Whether a Wine server is running for a prefix (a machine folder).
//
// A running wineserver owns the prefix's registry in memory and writes it back on its
// own schedule, so the files must not be changed behind its back. The server is found
// where wineserver itself puts it: a folder named after the prefix's device and inode
// ("server-<dev hex>-<inode hex>") below /tmp/.wine-<uid>, or, in Debian's build, below
// the temporary folder whose name the prefix's "wineserver" file records. The server
// holds a POSIX write lock on the "lock" file in that folder for as long as it runs.

#include <string>

namespace pgv::platform {

bool wineServerRunning(const std::string& prefix);

}  // namespace pgv::platform
