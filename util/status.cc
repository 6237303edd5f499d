#include "util/status.h"

namespace lexora {

const char* Status::codeName(Code code) {
  switch (code) {
    case Code::Ok:
      return "Ok";
    case Code::NotFound:
      return "NotFound";
    case Code::IoError:
      return "IoError";
    case Code::Corruption:
      return "Corruption";
    case Code::ReadOnly:
      return "ReadOnly";
    case Code::Busy:
      return "Busy";
    case Code::InvalidArgument:
      return "InvalidArgument";
  }
  return "Unknown";
}

std::string Status::toString() const {
  if (isOk()) return "Ok";
  return std::string(codeName(code_)) + ": " + message_;
}

}  // namespace lexora
