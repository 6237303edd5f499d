#pragma once
// A registry hive held in memory, for tests: the same behaviour as the file-backed hive
// (case-insensitive names, name-ordered enumeration, deleteKey refusing keys with subkeys),
// plus a count of the keys opened and not yet closed, and a switch that makes every call fail
// as a broken hive would.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/registry.h"

namespace lexora {

class MemoryRegistry final : public Registry {
 public:
  MemoryRegistry();

  RegistryStatus createKey(RegistryHandle parent, std::u16string_view path, RegistryHandle* key,
                           RegistryDisposition* disposition) override;
  RegistryStatus openKey(RegistryHandle parent, std::u16string_view path,
                         RegistryHandle* key) override;
  RegistryStatus closeKey(RegistryHandle key) override;
  RegistryStatus queryValue(RegistryHandle key, std::u16string_view name, RegistryType* type,
                            uint8_t* data, uint32_t* size) override;
  RegistryStatus setValue(RegistryHandle key, std::u16string_view name, RegistryType type,
                          const uint8_t* data, uint32_t size) override;
  RegistryStatus deleteValue(RegistryHandle key, std::u16string_view name) override;
  RegistryStatus enumKey(RegistryHandle key, uint32_t index, std::u16string* name) override;
  RegistryStatus enumValue(RegistryHandle key, uint32_t index, std::u16string* name) override;
  RegistryStatus deleteKey(RegistryHandle parent, std::u16string_view path) override;

  int openKeyCount() const { return openKeys_; }
  int writeCount() const { return writes_; }  // successful setValue/deleteValue/createKey
  void setBroken(bool broken) { broken_ = broken; }

 private:
  struct Value {
    std::u16string name;  // as first written
    RegistryType type = RegistryType::kNone;
    std::vector<uint8_t> data;
  };
  struct Node {
    RegistryHandle parent = kNoRegistryKey;
    std::u16string name;
    std::map<std::u16string, RegistryHandle> children;  // by folded name
    std::map<std::u16string, Value> values;             // by folded name
  };

  Node* find(RegistryHandle key);
  RegistryStatus walk(RegistryHandle parent, std::u16string_view path, bool create,
                      RegistryHandle* key, bool* created);

  std::map<RegistryHandle, Node> nodes_;
  RegistryHandle nextId_ = 3;
  int openKeys_ = 0;
  int writes_ = 0;
  bool broken_ = false;
};

}  // namespace lexora
