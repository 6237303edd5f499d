#include "app/options.h"

#include "app/settings_schema.h"

#include <utility>

#include "app/menu_commands.h"
#include "app/settings.h"

namespace lexora {

namespace {

uint32_t flipped(uint32_t value) { return value != 0 ? 0 : 1; }

}  // namespace

OptionFields optionFieldsOf(Settings& settings) {
  return {&settings.display.useClearType, &settings.display.textSize, &settings.showLookupButton,
          &settings.showIndexAtStarting};
}

Options::Options(OptionFields fields, OptionEffects effects)
    : fields_(fields), effects_(std::move(effects)) {}

bool Options::isMarked(int command) const {
  if (command >= kCmdTextSmallest && command <= kCmdTextLargest) {
    return *fields_.textSize == static_cast<uint32_t>(command - kCmdTextSmallest);
  }
  switch (command) {
    case kCmdUseClearType:
      return *fields_.useClearType != 0;
    case kCmdShowLookupButton:
      return *fields_.showLookupButton != 0;
    case kCmdShowIndexAtStarting:
      return *fields_.showIndexAtStarting != 0;
    case kCmdStrictCompare:
      return strictCompare_;
    case kCmdSpeakHeadwords:
      return fields_.speakHeadwords != nullptr && *fields_.speakHeadwords != 0;
    default:
      return false;
  }
}

void Options::mark(int command) const {
  if (effects_.setCheck) effects_.setCheck(command, isMarked(command));
}

void Options::syncMarks() const {
  mark(kCmdUseClearType);
  mark(kCmdShowLookupButton);
  mark(kCmdShowIndexAtStarting);
  mark(kCmdStrictCompare);
  mark(kCmdSpeakHeadwords);
  for (int size = 0; size < kTextSizeCount; ++size) mark(kCmdTextSmallest + size);
}

void Options::toggleClearType() {
  *fields_.useClearType = flipped(*fields_.useClearType);
  mark(kCmdUseClearType);
  if (effects_.applyViewerOptions) effects_.applyViewerOptions();
}

bool Options::chooseTextSize(int size) {
  if (size < 0 || size >= kTextSizeCount) return false;
  const uint32_t chosen = static_cast<uint32_t>(size);
  if (*fields_.textSize == chosen) return false;
  const uint32_t previous = *fields_.textSize;
  *fields_.textSize = chosen;
  if (previous < static_cast<uint32_t>(kTextSizeCount)) {
    mark(kCmdTextSmallest + static_cast<int>(previous));
  }
  mark(kCmdTextSmallest + size);
  if (effects_.applyViewerOptions) effects_.applyViewerOptions();
  return true;
}

void Options::toggleLookupButton() {
  const uint32_t value = flipped(*fields_.showLookupButton);
  if (value != 0 && effects_.lookupButtonBlocker) {
    if (const std::string why = effects_.lookupButtonBlocker(); !why.empty()) {
      mark(kCmdShowLookupButton);
      if (effects_.showMessage) effects_.showMessage(why);
      return;
    }
  }
  *fields_.showLookupButton = value;
  if (effects_.writeDword) effects_.writeDword(schema::kShowLookupButton, value);
  mark(kCmdShowLookupButton);
  if (effects_.setLookupButtonRunning) effects_.setLookupButtonRunning(value != 0);
  if (effects_.setLookupButtonAutostart) effects_.setLookupButtonAutostart(value != 0);
}

void Options::toggleIndexAtStarting() {
  *fields_.showIndexAtStarting = flipped(*fields_.showIndexAtStarting);
  mark(kCmdShowIndexAtStarting);
}

void Options::toggleStrictCompare() {
  strictCompare_ = !strictCompare_;
  mark(kCmdStrictCompare);
}

void Options::toggleSpeakHeadwords() {
  if (fields_.speakHeadwords == nullptr) return;
  *fields_.speakHeadwords = flipped(*fields_.speakHeadwords);
  if (effects_.writeDword) effects_.writeDword(schema::kSpeakHeadwords, *fields_.speakHeadwords);
  mark(kCmdSpeakHeadwords);
}

void Options::quit() {
  if (effects_.removePopup) effects_.removePopup();
  if (effects_.closeMainWindow) effects_.closeMainWindow();
}

}  // namespace lexora
