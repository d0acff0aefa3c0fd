#pragma once
// Error contract of the platform layer.
//
// Every platform operation that can fail returns a Status: the Win32 error code of the
// failure, or Success. The portable backend maps POSIX errors and its own checks to the
// code that Windows (as Wine shows it) gives for the same situation, so callers see one
// form on every backend. Out arguments are valid only when the call returned Success,
// unless the operation's comment says otherwise (ERROR_MORE_DATA reports sizes).

#include <cstdint>

namespace pgv::platform {

using Status = long;

namespace status {
inline constexpr Status Success = 0;
inline constexpr Status FileNotFound = 2;
inline constexpr Status PathNotFound = 3;
inline constexpr Status AccessDenied = 5;
inline constexpr Status InvalidHandle = 6;
inline constexpr Status NotEnoughMemory = 8;
inline constexpr Status InvalidData = 13;
inline constexpr Status NoMoreFiles = 18;
inline constexpr Status NotReady = 21;
inline constexpr Status WriteFault = 29;
inline constexpr Status SharingViolation = 32;
inline constexpr Status HandleDiskFull = 39;
inline constexpr Status NotSupported = 50;
inline constexpr Status FileExists = 80;
inline constexpr Status InvalidParameter = 87;
inline constexpr Status DiskFull = 112;
inline constexpr Status InsufficientBuffer = 122;
inline constexpr Status InvalidName = 123;
inline constexpr Status DirNotEmpty = 145;
inline constexpr Status BadPathname = 161;
inline constexpr Status AlreadyExists = 183;
inline constexpr Status MoreData = 234;
inline constexpr Status NoMoreItems = 259;
inline constexpr Status Directory = 267;
inline constexpr Status CantOpenAnonymous = 1347;
inline constexpr Status BadDbFormat = 1009;    // ERROR_BADDB: a hive that cannot be used
inline constexpr Status RegistryIo = 1016;     // ERROR_REGISTRY_IO_FAILED
inline constexpr Status KeyDeleted = 1018;     // ERROR_KEY_DELETED: the handle's key was deleted
inline constexpr Status BadNetPath = 53;
}  // namespace status

}  // namespace pgv::platform
