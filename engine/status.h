#pragma once
// The outcome of a file operation: ok, or a code with a message that names the file and
// says why ("cannot write 12 bytes at offset 6984 of /x/EV.pdi: No space left on device").

#include <string>
#include <utility>

namespace lexora {

class Status {
 public:
  enum class Code {
    Ok,
    NotFound,    // the file does not exist
    IoError,     // the system refused or failed a transfer
    Corruption,  // the bytes on disk contradict themselves
    ReadOnly,    // the file or its folder can only be read
    Busy,        // another dictionary or program holds the file
  };

  Status() = default;
  static Status ok() { return Status(); }
  static Status notFound(std::string message) { return Status(Code::NotFound, std::move(message)); }
  static Status ioError(std::string message) { return Status(Code::IoError, std::move(message)); }
  static Status corruption(std::string message) {
    return Status(Code::Corruption, std::move(message));
  }
  static Status readOnly(std::string message) { return Status(Code::ReadOnly, std::move(message)); }
  static Status busy(std::string message) { return Status(Code::Busy, std::move(message)); }

  bool isOk() const { return code_ == Code::Ok; }
  Code code() const { return code_; }
  const std::string& message() const { return message_; }

 private:
  Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}

  Code code_ = Code::Ok;
  std::string message_;
};

}  // namespace lexora
