#pragma once
// The outcome of every engine operation that can fail: ok, or a code with a message that
// names the file or entry and says why ("cannot write 12 bytes at offset 6984 of /x/EV.pdi:
// No space left on device").
//
// A change to a dictionary's entries also tells which rule refused it or which of its steps
// failed (editResult()): the reason the program's messages and the command line's scripts name.
//
//   Status s = dictionary.addEntry(u"apple", u"- a fruit");
//   if (s.editResult() == EditResult::WordExists) ...
//   if (!s.isOk()) std::cerr << s.message();

#include <string>
#include <utility>

#include "engine/edit_result.h"

namespace lexora {

class Status {
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

  // The reason an entry change gives; Ok for a status that is no change's (or an ok one).
  EditResult editResult() const { return edit_; }
  // REQUIRES: !isOk(). The same failure, as the given step of an entry change.
  Status asEdit(EditResult edit) const {
    Status s = *this;
    s.edit_ = edit;
    return s;
  }

 private:
  Status(Code code, std::string message) : code_(code), message_(std::move(message)) {}

  Code code_ = Code::Ok;
  EditResult edit_ = EditResult::Ok;
  std::string message_;
};

}  // namespace lexora
