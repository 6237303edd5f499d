#pragma once
// The outcome of a change to a dictionary's entries (Dictionary::addEntry, modifyMeaning,
// modifyWord, deleteEntry): a Status, and the reason the program's messages and the command
// line's scripts name (editResult(): which rule refused the change or which step failed).
//
//   EditStatus s = dictionary.addEntry(u"apple", u"- a fruit");
//   if (s.editResult() == EditResult::WordExists) ...
//   if (!s.isOk()) std::cerr << s.message();

#include <string>
#include <utility>

#include "engine/edit_result.h"
#include "util/status.h"

namespace lexora {

class [[nodiscard]] EditStatus {
 public:
  EditStatus() = default;
  static EditStatus ok() { return EditStatus(); }
  // REQUIRES: !status.isOk() and result != EditResult::Ok.
  EditStatus(EditResult result, Status status) : result_(result), status_(std::move(status)) {}

  bool isOk() const { return status_.isOk(); }
  Status::Code code() const { return status_.code(); }
  const std::string& message() const { return status_.message(); }
  const Status& status() const { return status_; }
  // Ok exactly when isOk().
  EditResult editResult() const { return result_; }

 private:
  EditResult result_ = EditResult::Ok;
  Status status_;
};

}  // namespace lexora
