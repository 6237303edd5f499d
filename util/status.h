#pragma once
// The outcome of every operation of the core that can fail: ok, or a code with a message that
// names the file or entry and says why ("cannot write 12 bytes at offset 6984 of /x/EV.pdi:
// No space left on device").
//
//   Status s = dictionary.openDictionary("/x/EV.pvm");
//   if (!s.isOk()) std::cerr << s.toString();  // "Busy: /x/EV.pvm is open in another ..."
//
// A result that must be read: dropping a returned Status is a compiler warning.

#include <string>
#include <utility>

namespace lexora {

class [[nodiscard]] Status {
 public:
  enum class Code {
    Ok,
    NotFound,         // the file, entry or block does not exist
    IoError,          // the system refused or failed a transfer
    Corruption,       // the bytes on disk contradict themselves
    ReadOnly,         // the file or its folder can only be read
    Busy,             // another dictionary or program holds the file
    InvalidArgument,  // the caller's input breaks a rule (an empty or duplicate headword, ...)
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
  static Status invalidArgument(std::string message) {
    return Status(Code::InvalidArgument, std::move(message));
  }

  bool isOk() const { return code_ == Code::Ok; }
  Code code() const { return code_; }
  const std::string& message() const { return message_; }
  // "Ok", or the code's name and the message: "NotFound: entry 7 does not exist".
  std::string toString() const;
  // The same failure with its message after `context` ("/x/en.pvm: " + message); ok stays ok.
  Status withContext(const std::string& context) const {
    return isOk() ? *this : Status(code_, context + message_);
  }

  // "Ok", "NotFound", ...
  static const char* codeName(Code code);

 private:
  Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}

  Code code_ = Code::Ok;
  std::string message_;
};

}  // namespace lexora
