#pragma once
// The one entry point of the engine library PGVX (an in-process component server) and
// its companions. The main program loads the library at run time, attaches its platform
// object and then creates engine objects only by class id:
//
//   PGVX_Attach(&platform);
//   pgv::EngineObject* object = nullptr;
//   if (PGVX_CreateObject("PGVX.INI", &object) == PGVX_S_OK) { auto* ini = static_cast<pgv::INI*>(object); ... }
//
// The object is of the interface that belongs to the class id (engine/api/<Class>.h);
// the caller owns it and deletes it. Registration writes every class the library holds
// under HKEY_CLASSES_ROOT\CLSID\{id} (default value: the class name, subkeys
// InprocServer32 = the library's file and ProgID) and HKEY_CLASSES_ROOT\<ProgID>\CLSID.

#include <cstdint>

#include "engine/api/EngineObject.h"

namespace pgv::platform {
class Platform;
}

#if defined(_WIN32)
#if defined(PGVX_BUILDING_LIBRARY)
#define PGVX_EXPORT __declspec(dllexport)
#else
#define PGVX_EXPORT __declspec(dllimport)
#endif
#else
#define PGVX_EXPORT __attribute__((visibility("default")))
#endif

// Result codes (HRESULT values).
inline constexpr std::int32_t PGVX_S_OK = 0;
inline constexpr std::int32_t PGVX_E_POINTER = static_cast<std::int32_t>(0x80004003u);
inline constexpr std::int32_t PGVX_E_FAIL = static_cast<std::int32_t>(0x80004005u);
inline constexpr std::int32_t PGVX_E_NOT_ATTACHED = static_cast<std::int32_t>(0x8000FFFFu);  // E_UNEXPECTED
inline constexpr std::int32_t PGVX_CLASS_E_CLASSNOTAVAILABLE = static_cast<std::int32_t>(0x80040111u);
inline constexpr std::int32_t PGVX_SELFREG_E_CLASS = static_cast<std::int32_t>(0x80040201u);

// Changes whenever an interface of engine/api changes in a way an older library would
// not match; the main program does not use a library of another version.
inline constexpr std::int32_t PGVX_INTERFACE_VERSION = 1;

extern "C" {
// Creates an object of the class named by its class id ("{...}", any letter case) or
// programmatic name. PGVX_S_OK and the object, or an error code and null.
PGVX_EXPORT std::int32_t PGVX_CreateObject(const char* clsid, pgv::EngineObject** object);
// Makes the library use the caller's platform object (one registry, one clock).
PGVX_EXPORT void PGVX_Attach(pgv::platform::Platform* platform);
// Writes or removes the library's registration in the attached platform's registry.
PGVX_EXPORT std::int32_t PGVX_RegisterServer();
PGVX_EXPORT std::int32_t PGVX_UnregisterServer();
PGVX_EXPORT std::int32_t PGVX_InterfaceVersion();
// regsvr32's entry points: PGVX_RegisterServer / PGVX_UnregisterServer on the platform the
// library is attached to, or on the system it runs on when nothing attached it.
PGVX_EXPORT std::int32_t DllRegisterServer();
PGVX_EXPORT std::int32_t DllUnregisterServer();
}

using PGVX_CreateObjectFn = std::int32_t (*)(const char*, pgv::EngineObject**);
using PGVX_AttachFn = void (*)(pgv::platform::Platform*);
using PGVX_RegisterServerFn = std::int32_t (*)();
using PGVX_InterfaceVersionFn = std::int32_t (*)();
