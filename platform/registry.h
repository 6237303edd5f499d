#pragma once
// A registry hive: a tree of keys under a few fixed roots, each key holding named values
// (a type and the exact bytes stored) and subkeys. The operations mirror the classic registry
// calls: create or open a key, query a value with a buffer size in and out, set and delete a
// value, enumerate subkeys and values by index, delete a key.
//
// Key names are separated by '\\' inside a path; names compare without regard to ASCII case.
// Enumeration is in name order. Value data is raw bytes; strings are stored by the caller as
// UTF-16LE with their terminating NUL.

#include <cstdint>
#include <string>
#include <string_view>

namespace lexora {

// An open key. 0 is "no key"; the roots are fixed handles that are always open.
using RegistryHandle = int64_t;
constexpr RegistryHandle kNoRegistryKey = 0;
constexpr RegistryHandle kLocalMachine = 1;  // HKEY_LOCAL_MACHINE
constexpr RegistryHandle kCurrentUser = 2;   // HKEY_CURRENT_USER

// Value types, numbered as in the classic registry.
enum class RegistryType : uint32_t {
  kNone = 0,
  kString = 1,  // REG_SZ
  kBinary = 3,  // REG_BINARY
  kDword = 4,   // REG_DWORD
};
const char* registryTypeName(RegistryType type);  // "REG_SZ", ... ; "REG_NONE" for others

enum class RegistryStatus {
  kOk,
  kNotFound,    // no such key or value (or the index is past the end)
  kMoreData,    // the buffer is too small; the size out holds the size needed
  kInvalid,     // a bad argument (no key, bad name)
  kHasSubkeys,  // deleteKey of a key that still has subkeys
  kFailed,      // the hive cannot be read or written (not a registry, I/O error, read-only)
};

enum class RegistryDisposition : uint32_t {
  kNone = 0,
  kCreatedNewKey = 1,     // REG_CREATED_NEW_KEY
  kOpenedExistingKey = 2  // REG_OPENED_EXISTING_KEY
};

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens `path` (components separated by '\\', empty = `parent` itself) below `parent`,
  // creating the missing keys. Sets *key and, when given, *disposition.
  virtual RegistryStatus createKey(RegistryHandle parent, std::u16string_view path,
                                   RegistryHandle* key, RegistryDisposition* disposition) = 0;
  // Opens an existing key; kNotFound when any component is missing.
  virtual RegistryStatus openKey(RegistryHandle parent, std::u16string_view path,
                                 RegistryHandle* key) = 0;
  // Releases a key opened by createKey/openKey. Closing a root does nothing.
  virtual RegistryStatus closeKey(RegistryHandle key) = 0;

  // Queries value `name` of `key`. *size is in: the buffer's size, out: the value's size.
  // With data null only the size (and type) is returned. A buffer smaller than the value gives
  // kMoreData and leaves the buffer untouched. `type` may be null.
  // REQUIRES: size non-null; data, when non-null, writable for *size bytes.
  virtual RegistryStatus queryValue(RegistryHandle key, std::u16string_view name,
                                    RegistryType* type, uint8_t* data, uint32_t* size) = 0;
  // Creates or replaces value `name` with exactly `size` bytes of `data`.
  // REQUIRES: data readable for size bytes (or size is 0).
  virtual RegistryStatus setValue(RegistryHandle key, std::u16string_view name, RegistryType type,
                                  const uint8_t* data, uint32_t size) = 0;
  virtual RegistryStatus deleteValue(RegistryHandle key, std::u16string_view name) = 0;

  // The name of subkey / value number `index` of `key`; kNotFound past the end.
  virtual RegistryStatus enumKey(RegistryHandle key, uint32_t index, std::u16string* name) = 0;
  virtual RegistryStatus enumValue(RegistryHandle key, uint32_t index, std::u16string* name) = 0;

  // Deletes subkey `path` of `parent` with its values. A key that has subkeys is not deleted
  // (kHasSubkeys): deleting a tree is the caller's walk.
  virtual RegistryStatus deleteKey(RegistryHandle parent, std::u16string_view path) = 0;
};

}  // namespace lexora
