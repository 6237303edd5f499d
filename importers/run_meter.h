#pragma once
// An import's whole run as one progress bar, in thousandths.

#include <algorithm>
#include <cstdint>

#include "importers/import_job.h"

namespace lexora::importers {

// The whole run as one bar, for options.runProgress: reading the source takes the first part,
// converting and writing the volumes most of the rest, moving them into place and building
// their indexes the end.
class RunMeter {
 public:
  static constexpr uint32_t kReadEnd = 400;
  static constexpr uint32_t kVolumesEnd = 900;

  explicit RunMeter(const RunProgressFunction& report) : report_(report) {}

  bool cancelled() const { return cancelled_; }

  // `fraction` (0..1) of the part from `from` to `to`. False when the user cancelled.
  bool at(uint32_t from, uint32_t to, double fraction) {
    if (!report_ || cancelled_) return !cancelled_;
    fraction = std::clamp(fraction, 0.0, 1.0);
    const auto permille = static_cast<uint32_t>(from + (to - from) * fraction);
    if (permille == last_) return true;
    last_ = permille;
    cancelled_ = !report_(permille);
    return !cancelled_;
  }

 private:
  const RunProgressFunction& report_;
  uint32_t last_ = UINT32_MAX;
  bool cancelled_ = false;
};

}  // namespace lexora::importers
