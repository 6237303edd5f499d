#include "platform/registry.h"

namespace lexora {

const char* registryTypeName(RegistryType type) {
  switch (type) {
    case RegistryType::kString:
      return "REG_SZ";
    case RegistryType::kBinary:
      return "REG_BINARY";
    case RegistryType::kDword:
      return "REG_DWORD";
    default:
      return "REG_NONE";
  }
}

}  // namespace lexora
