#include "app/registry_key.h"

#include <cstring>
#include <vector>

#include "util/coding.h"

namespace lexora {
namespace {

std::u16string_view nameOf(const char16_t* name) { return std::u16string_view(name); }

// A string value's bytes: UTF-16LE with the terminating NUL.
std::vector<uint8_t> encodeString(std::u16string_view text) {
  std::vector<uint8_t> bytes((text.size() + 1) * 2, 0);
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<uint8_t>(text[i]);
    bytes[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
  return bytes;
}

}  // namespace

RegistryKey::RegistryKey(std::shared_ptr<Registry> registry, RegistryHandle root,
                         const char16_t* subkey, bool create)
    : registry_(std::move(registry)) {
  if (registry_ == nullptr || subkey == nullptr) return;
  RegistryHandle opened = kNoRegistryKey;
  const RegistryStatus status =
      create ? registry_->createKey(root, nameOf(subkey), &opened, &disposition_)
             : registry_->openKey(root, nameOf(subkey), &opened);
  if (status == RegistryStatus::kOk) handle_ = opened;
}

RegistryKey::~RegistryKey() { close(); }

bool RegistryKey::close() {
  if (handle_ == kNoRegistryKey) return false;
  registry_->closeKey(handle_);
  handle_ = kNoRegistryKey;
  return true;
}

uint32_t RegistryKey::readDword(const char16_t* name, uint32_t defaultValue) {
  uint8_t bytes[4] = {0, 0, 0, 0};
  uint32_t size = sizeof bytes;
  if (isOpen() && name != nullptr &&
      registry_->queryValue(handle_, nameOf(name), nullptr, bytes, &size) == RegistryStatus::kOk) {
    return loadLittleEndian<uint32_t>(bytes);
  }
  if (defaultValue != kNoWriteBack) writeDword(name, defaultValue);
  return defaultValue;
}

bool RegistryKey::writeDword(const char16_t* name, uint32_t value) {
  if (!isOpen() || name == nullptr) return false;
  uint8_t bytes[4];
  storeLittleEndian(bytes, value);
  return registry_->setValue(handle_, nameOf(name), RegistryType::kDword, bytes, 4) ==
         RegistryStatus::kOk;
}

bool RegistryKey::readBinary(const char16_t* name, void* buffer, uint32_t* size) {
  if (!isOpen() || name == nullptr || size == nullptr) return false;
  return registry_->queryValue(handle_, nameOf(name), nullptr, static_cast<uint8_t*>(buffer),
                               size) == RegistryStatus::kOk;
}

bool RegistryKey::writeBinary(const char16_t* name, const void* buffer, uint32_t size) {
  if (!isOpen() || name == nullptr || (buffer == nullptr && size != 0)) return false;
  return registry_->setValue(handle_, nameOf(name), RegistryType::kBinary,
                             static_cast<const uint8_t*>(buffer), size) == RegistryStatus::kOk;
}

std::u16string RegistryKey::readString(const char16_t* name, const char16_t* defaultValue) {
  if (name == nullptr) return std::u16string();
  if (isOpen()) {
    // Ask for the size first, then read into a buffer one character longer than the value,
    // so that the text always ends at a NUL.
    uint32_t size = 0;
    if (registry_->queryValue(handle_, nameOf(name), nullptr, nullptr, &size) ==
        RegistryStatus::kOk) {
      std::vector<uint8_t> bytes((static_cast<size_t>(size) + 1) * 2, 0);
      uint32_t read = size;
      if (registry_->queryValue(handle_, nameOf(name), nullptr, bytes.data(), &read) ==
          RegistryStatus::kOk) {
        std::u16string text;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
          const char16_t unit = loadLittleEndian<char16_t>(bytes.data() + i);
          if (unit == 0) break;
          text.push_back(unit);
        }
        return text;
      }
    }
  }
  if (defaultValue == nullptr) return std::u16string();
  writeString(name, defaultValue);
  return std::u16string(defaultValue);
}

bool RegistryKey::writeString(const char16_t* name, const char16_t* value) {
  if (!isOpen() || name == nullptr || value == nullptr) return false;
  const std::vector<uint8_t> bytes = encodeString(value);
  return registry_->setValue(handle_, nameOf(name), RegistryType::kString, bytes.data(),
                             static_cast<uint32_t>(bytes.size())) == RegistryStatus::kOk;
}

bool RegistryKey::deleteValue(const char16_t* name) {
  if (!isOpen() || name == nullptr) return false;
  return registry_->deleteValue(handle_, nameOf(name)) == RegistryStatus::kOk;
}

bool RegistryKey::valueExists(const char16_t* name) {
  if (!isOpen() || name == nullptr) return false;
  uint32_t size = 0;
  return registry_->queryValue(handle_, nameOf(name), nullptr, nullptr, &size) ==
         RegistryStatus::kOk;
}

bool RegistryKey::subkeyExists(const char16_t* name) {
  if (!isOpen() || name == nullptr) return false;
  RegistryKey subkey(registry_, handle_, name, false);
  return subkey.isOpen();
}

bool RegistryKey::deleteSubkey(const char16_t* name) {
  if (!isOpen() || name == nullptr) return false;
  RegistryKey subkey(registry_, handle_, name, false);
  if (!subkey.isOpen()) return false;
  std::u16string child;
  while (subkey.subkeyAt(0, child)) {
    if (!subkey.deleteSubkey(child.c_str())) {
      subkey.close();
      return false;
    }
  }
  subkey.close();
  return registry_->deleteKey(handle_, nameOf(name)) == RegistryStatus::kOk;
}

bool RegistryKey::enumSubkey(std::u16string& name) {
  if (isOpen() && registry_->enumKey(handle_, enumIndex_, &name) == RegistryStatus::kOk &&
      name.size() < kMaxEnumName) {
    return true;
  }
  name.clear();
  return false;
}

bool RegistryKey::enumValue(std::u16string& name) {
  if (isOpen() && registry_->enumValue(handle_, enumIndex_, &name) == RegistryStatus::kOk &&
      name.size() < kMaxEnumName) {
    return true;
  }
  name.clear();
  return false;
}

bool RegistryKey::firstSubkey(std::u16string& name) {
  enumIndex_ = 0;
  return enumSubkey(name);
}

bool RegistryKey::nextSubkey(std::u16string& name) {
  ++enumIndex_;
  return enumSubkey(name);
}

bool RegistryKey::subkeyAt(uint32_t index, std::u16string& name) {
  enumIndex_ = index;
  return enumSubkey(name);
}

bool RegistryKey::firstValue(std::u16string& name) {
  enumIndex_ = 0;
  return enumValue(name);
}

bool RegistryKey::nextValue(std::u16string& name) {
  ++enumIndex_;
  return enumValue(name);
}

bool RegistryKey::readRaw(const char16_t* name, RegistryType& type, std::vector<uint8_t>& bytes) {
  if (!isOpen() || name == nullptr) return false;
  // The value may change between the two calls (another program writes it): try again.
  for (int attempt = 0; attempt < 4; ++attempt) {
    uint32_t size = 0;
    if (registry_->queryValue(handle_, nameOf(name), &type, nullptr, &size) !=
        RegistryStatus::kOk) {
      return false;
    }
    bytes.assign(size, 0);
    const RegistryStatus status =
        registry_->queryValue(handle_, nameOf(name), &type, bytes.data(), &size);
    if (status == RegistryStatus::kOk) {
      bytes.resize(size);
      return true;
    }
    if (status != RegistryStatus::kMoreData) return false;
  }
  return false;
}

}  // namespace lexora
