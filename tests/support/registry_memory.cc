#include "tests/support/registry_memory.h"

#include <algorithm>
#include <cstring>

namespace lexora {
namespace {

std::u16string fold(std::u16string_view name) {
  std::u16string out(name);
  for (char16_t& c : out) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return out;
}

}  // namespace

MemoryRegistry::MemoryRegistry() {
  nodes_[kLocalMachine].name = u"HKEY_LOCAL_MACHINE";
  nodes_[kCurrentUser].name = u"HKEY_CURRENT_USER";
}

MemoryRegistry::Node* MemoryRegistry::find(RegistryHandle key) {
  const auto it = nodes_.find(key);
  return it == nodes_.end() ? nullptr : &it->second;
}

RegistryStatus MemoryRegistry::walk(RegistryHandle parent, std::u16string_view path, bool create,
                                    RegistryHandle* key, bool* created) {
  if (broken_) return RegistryStatus::kFailed;
  if (key == nullptr || parent == kNoRegistryKey) return RegistryStatus::kInvalid;
  // Check the whole path first, so that a bad path creates nothing.
  std::vector<std::u16string_view> parts;
  if (!path.empty()) {
    size_t start = 0;
    while (true) {
      const size_t end = path.find(u'\\', start);
      const std::u16string_view part =
          path.substr(start, end == std::u16string_view::npos ? end : end - start);
      if (part.empty() || part.find(u'\0') != std::u16string_view::npos) {
        return RegistryStatus::kInvalid;
      }
      parts.push_back(part);
      if (end == std::u16string_view::npos) break;
      start = end + 1;
    }
  }
  if (find(parent) == nullptr) return RegistryStatus::kNotFound;
  RegistryHandle current = parent;
  *created = false;
  for (const std::u16string_view part : parts) {
    Node& node = nodes_[current];
    const auto it = node.children.find(fold(part));
    if (it != node.children.end()) {
      current = it->second;
      *created = false;
      continue;
    }
    if (!create) return RegistryStatus::kNotFound;
    const RegistryHandle id = nextId_++;
    node.children[fold(part)] = id;
    Node child;
    child.parent = current;
    child.name = std::u16string(part);
    nodes_[id] = std::move(child);
    current = id;
    *created = true;
  }
  *key = current;
  return RegistryStatus::kOk;
}

RegistryStatus MemoryRegistry::createKey(RegistryHandle parent, std::u16string_view path,
                                         RegistryHandle* key, RegistryDisposition* disposition) {
  bool created = false;
  const RegistryStatus status = walk(parent, path, true, key, &created);
  if (status != RegistryStatus::kOk) return status;
  if (created) ++writes_;
  if (*key > kCurrentUser) ++openKeys_;
  if (disposition != nullptr) {
    *disposition =
        created ? RegistryDisposition::kCreatedNewKey : RegistryDisposition::kOpenedExistingKey;
  }
  return status;
}

RegistryStatus MemoryRegistry::openKey(RegistryHandle parent, std::u16string_view path,
                                       RegistryHandle* key) {
  bool created = false;
  const RegistryStatus status = walk(parent, path, false, key, &created);
  if (status == RegistryStatus::kOk && *key > kCurrentUser) ++openKeys_;
  return status;
}

RegistryStatus MemoryRegistry::closeKey(RegistryHandle key) {
  if (key == kNoRegistryKey) return RegistryStatus::kInvalid;
  if (key > kCurrentUser) --openKeys_;
  return RegistryStatus::kOk;
}

RegistryStatus MemoryRegistry::queryValue(RegistryHandle key, std::u16string_view name,
                                          RegistryType* type, uint8_t* data, uint32_t* size) {
  if (broken_) return RegistryStatus::kFailed;
  if (key == kNoRegistryKey || size == nullptr) return RegistryStatus::kInvalid;
  Node* node = find(key);
  if (node == nullptr) return RegistryStatus::kNotFound;
  const auto it = node->values.find(fold(name));
  if (it == node->values.end()) return RegistryStatus::kNotFound;
  const Value& value = it->second;
  if (type != nullptr) *type = value.type;
  const uint32_t capacity = *size;
  *size = static_cast<uint32_t>(value.data.size());
  if (data == nullptr) return RegistryStatus::kOk;
  if (capacity < value.data.size()) return RegistryStatus::kMoreData;
  if (!value.data.empty()) std::memcpy(data, value.data.data(), value.data.size());
  return RegistryStatus::kOk;
}

RegistryStatus MemoryRegistry::setValue(RegistryHandle key, std::u16string_view name,
                                        RegistryType type, const uint8_t* data, uint32_t size) {
  if (broken_) return RegistryStatus::kFailed;
  if (key == kNoRegistryKey || (data == nullptr && size != 0)) return RegistryStatus::kInvalid;
  Node* node = find(key);
  if (node == nullptr) return RegistryStatus::kNotFound;
  Value& value = node->values[fold(name)];
  if (value.name.empty()) value.name = std::u16string(name);
  value.type = type;
  value.data.assign(data, data + size);
  ++writes_;
  return RegistryStatus::kOk;
}

RegistryStatus MemoryRegistry::deleteValue(RegistryHandle key, std::u16string_view name) {
  if (broken_) return RegistryStatus::kFailed;
  Node* node = find(key);
  if (node == nullptr) return RegistryStatus::kNotFound;
  if (node->values.erase(fold(name)) == 0) return RegistryStatus::kNotFound;
  ++writes_;
  return RegistryStatus::kOk;
}

RegistryStatus MemoryRegistry::enumKey(RegistryHandle key, uint32_t index, std::u16string* name) {
  if (broken_) return RegistryStatus::kFailed;
  Node* node = find(key);
  if (node == nullptr || name == nullptr) return RegistryStatus::kInvalid;
  if (index >= node->children.size()) return RegistryStatus::kNotFound;
  *name = nodes_[std::next(node->children.begin(), index)->second].name;
  return RegistryStatus::kOk;
}

RegistryStatus MemoryRegistry::enumValue(RegistryHandle key, uint32_t index, std::u16string* name) {
  if (broken_) return RegistryStatus::kFailed;
  Node* node = find(key);
  if (node == nullptr || name == nullptr) return RegistryStatus::kInvalid;
  if (index >= node->values.size()) return RegistryStatus::kNotFound;
  *name = std::next(node->values.begin(), index)->second.name;
  return RegistryStatus::kOk;
}

RegistryStatus MemoryRegistry::deleteKey(RegistryHandle parent, std::u16string_view path) {
  if (path.empty()) return RegistryStatus::kInvalid;
  RegistryHandle key = kNoRegistryKey;
  bool created = false;
  const RegistryStatus status = walk(parent, path, false, &key, &created);
  if (status != RegistryStatus::kOk) return status;
  Node& node = nodes_[key];
  if (!node.children.empty()) return RegistryStatus::kHasSubkeys;
  nodes_[node.parent].children.erase(fold(node.name));
  nodes_.erase(key);
  ++writes_;
  return RegistryStatus::kOk;
}

}  // namespace lexora
