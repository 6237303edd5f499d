#pragma once
// RegistryKey: one open registry key, the one class through which the program reads and
// writes the registry. Failures are never reported to the user: a key that did not open has
// a null handle, every read on it yields its default and every write fails.
//
// Names are NUL-terminated wide strings; a null name is invalid. Strings are stored as
// REG_SZ in UTF-16LE with their terminating NUL.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace lexora {

class RegistryKey {
 public:
  // readDword's default that is returned without being written back.
  static constexpr uint32_t kNoWriteBack = 0xDEF0;
  // Longest name the enumeration hands out, in characters.
  static constexpr size_t kMaxEnumName = 260;

  // Opens `subkey` below `root` of `registry`, creating it when `create` is set. A null
  // registry, a null subkey or any failure leaves the handle null.
  RegistryKey(std::shared_ptr<Registry> registry, RegistryHandle root, const char16_t* subkey,
              bool create);
  virtual ~RegistryKey();  // closes the key
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  bool isOpen() const { return handle_ != kNoRegistryKey; }
  RegistryHandle handle() const { return handle_; }
  RegistryDisposition disposition() const { return disposition_; }
  uint32_t enumIndex() const { return enumIndex_; }
  const std::u16string& path() const { return path_; }

  // True if a handle was open.
  bool close();

  // The stored value (its first four bytes, whatever its type) when it reads; otherwise
  // `defaultValue`, which is also written back as a DWORD unless it is kNoWriteBack.
  uint32_t readDword(const char16_t* name, uint32_t defaultValue);
  bool writeDword(const char16_t* name, uint32_t value);

  // Reads the value, whatever its type, into buffer; *size is in: the buffer's size, out: the
  // bytes read. A missing value, or one longer than the buffer, leaves the buffer as it was
  // and returns false. With a null buffer only the size is asked for.
  // REQUIRES: buffer, when non-null, writable for *size bytes.
  bool readBinary(const char16_t* name, void* buffer, uint32_t* size);
  // REQUIRES: buffer readable for size bytes.
  bool writeBinary(const char16_t* name, const void* buffer, uint32_t size);

  // The stored string, up to its first NUL. When it does not read: with a default, the
  // default is written back and returned; with a null default, empty and nothing is written.
  std::u16string readString(const char16_t* name, const char16_t* defaultValue = nullptr);
  bool writeString(const char16_t* name, const char16_t* value);

  bool deleteValue(const char16_t* name);
  bool valueExists(const char16_t* name);
  bool subkeyExists(const char16_t* name);
  // Deletes the subkey and everything below it.
  bool deleteSubkey(const char16_t* name);

  // Enumeration of subkeys and of values share enumIndex. Each gives the name and true, or
  // an empty name and false when there is no such entry.
  bool firstSubkey(std::u16string& name);
  bool nextSubkey(std::u16string& name);
  bool subkeyAt(uint32_t index, std::u16string& name);
  bool firstValue(std::u16string& name);
  bool nextValue(std::u16string& name);

  // The raw value, for listings: type and bytes. False when it does not read.
  bool readRaw(const char16_t* name, RegistryType& type, std::vector<uint8_t>& bytes);

 private:
  bool enumSubkey(std::u16string& name);
  bool enumValue(std::u16string& name);

  std::shared_ptr<Registry> registry_;
  RegistryHandle handle_ = kNoRegistryKey;
  RegistryDisposition disposition_ = RegistryDisposition::kNone;
  uint32_t enumIndex_ = 0;
  std::u16string path_;
};

}  // namespace lexora
