#include "app/settings.h"

#include "platform/registry_location.h"
#include "platform/registry_sqlite.h"

namespace lexora {
namespace {

// Value names: the display settings spell theirs in ASCII; the key takes wide names.
std::u16string wide(const char* ascii) {
  return std::u16string(ascii, ascii + std::char_traits<char>::length(ascii));
}

const char16_t kTotalDict[] = u"TotalDict";
const char16_t kWorkingDictIndex[] = u"WorkingDictIndex";
const char16_t kReverseDictIndex[] = u"ReverseDictIndex";
const char16_t kShowLookupButton[] = u"ShowLookupButton";
const char16_t kShowIndexAtStarting[] = u"ShowIndexAtStarting";
const char16_t kXPos[] = u"XPos";
const char16_t kYPos[] = u"YPos";
const char16_t kFreeze[] = u"Freeze";
const char16_t kShowPopup[] = u"ShowPopup";

constexpr uint32_t kNoDictionary = 0xFFFFFFFF;

struct SettingsKeyState {
  std::unique_ptr<RegistryKey> key;
  std::string error;
};

SettingsKeyState& state() {
  static SettingsKeyState s;
  return s;
}

int32_t boundedTotalDict(uint32_t stored) {
  const auto value = static_cast<int32_t>(stored);
  if (value < 0) return 0;
  return value > kMaxDictionaries ? kMaxDictionaries : value;
}

}  // namespace

std::u16string dictionaryValueName(int k) {
  return u"Dictionary" + wide(std::to_string(k).c_str());
}

RegistryKey& settingsKey() {
  if (state().key == nullptr) openSettingsKey(std::string());
  return *state().key;
}

bool openSettingsKey(const std::string& path) {
  SettingsKeyState& s = state();
  s.key.reset();
  s.error.clear();
  const std::string where = path.empty() ? defaultRegistryPath() : path;
  std::shared_ptr<Registry> registry = SqliteRegistry::open(where, &s.error);
  s.key = std::make_unique<RegistryKey>(registry, kLocalMachine, kSettingsKeyPath, true);
  if (registry != nullptr && !s.key->isOpen()) {
    s.error = "cannot create the settings key in " + where;
  }
  return s.key->isOpen();
}

void openSettingsKey(std::shared_ptr<Registry> registry) {
  SettingsKeyState& s = state();
  s.key.reset();
  s.error.clear();
  s.key = std::make_unique<RegistryKey>(std::move(registry), kLocalMachine, kSettingsKeyPath,
                                        true);
  if (!s.key->isOpen()) s.error = "cannot create the settings key";
}

const std::string& settingsKeyError() { return state().error; }

Settings& settings() {
  static Settings record;
  return record;
}

void loadSettings() { loadSettings(settingsKey(), settings()); }
void saveSettings() { saveSettings(settingsKey(), settings()); }

void loadSettings(RegistryKey& key, Settings& s) {
  DisplaySettings& d = s.display;
  s.totalDict = boundedTotalDict(key.readDword(kTotalDict, 0));
  s.workingDictIndex = static_cast<int32_t>(key.readDword(kWorkingDictIndex, kNoDictionary));
  s.reverseDictIndex = static_cast<int32_t>(key.readDword(kReverseDictIndex, kNoDictionary));
  d.textSize = key.readDword(wide(kTextSizeValueName).c_str(), kDefaultTextSize);
  d.useClearType = key.readDword(wide(kUseClearTypeValueName).c_str(), kDefaultUseClearType);
  s.showLookupButton = key.readDword(kShowLookupButton, 0);
  s.showIndexAtStarting = key.readDword(kShowIndexAtStarting, 0);

  for (int k = 1; k <= s.totalDict; ++k) {
    s.dictionaryPaths[k - 1] = key.readString(dictionaryValueName(k).c_str());
  }

  d.time2Show = clampTime2Show(key.readDword(wide(kTime2ShowValueName).c_str(),
                                             kDefaultTime2Show));

  for (int i = 0; i < kStyleCount; ++i) {
    uint8_t bytes[DisplayStyle::kEncodedSize];
    uint32_t size = sizeof bytes;
    if (key.readBinary(wide(styleValueName(i).c_str()).c_str(), bytes, &size)) {
      d.styles[i].decode(bytes, size);
    }
  }

  d.useTexture = key.readDword(wide(kUseTextureValueName).c_str(), 0);
  d.texturePath = key.readString(wide(kTextureValueName).c_str());
  uint8_t colour[kBackColorEncodedSize];
  uint32_t size = sizeof colour;
  if (key.readBinary(wide(kBackColorValueName).c_str(), colour, &size)) {
    decodeBackColor(colour, size, d.backColor);
  }
}

void saveSettings(RegistryKey& key, const Settings& s) {
  const DisplaySettings& d = s.display;
  const int32_t total = s.totalDict < 0 ? 0
                        : s.totalDict > kMaxDictionaries ? kMaxDictionaries
                                                         : s.totalDict;
  key.writeDword(kTotalDict, static_cast<uint32_t>(total));
  key.writeDword(kWorkingDictIndex, static_cast<uint32_t>(s.workingDictIndex));
  key.writeDword(kReverseDictIndex, static_cast<uint32_t>(s.reverseDictIndex));
  key.writeDword(wide(kTextSizeValueName).c_str(), d.textSize);
  key.writeDword(wide(kUseClearTypeValueName).c_str(), d.useClearType);
  key.writeDword(kShowLookupButton, s.showLookupButton);
  key.writeDword(kShowIndexAtStarting, s.showIndexAtStarting);

  for (int k = 1; k <= total; ++k) {
    key.writeString(dictionaryValueName(k).c_str(), s.dictionaryPaths[k - 1].c_str());
  }

  key.writeDword(wide(kTime2ShowValueName).c_str(), clampTime2Show(d.time2Show));

  for (int i = 0; i < kStyleCount; ++i) {
    const auto bytes = d.styles[i].encode();
    key.writeBinary(wide(styleValueName(i).c_str()).c_str(), bytes.data(),
                    static_cast<uint32_t>(bytes.size()));
  }

  key.writeDword(wide(kUseTextureValueName).c_str(), d.useTexture);
  key.writeString(wide(kTextureValueName).c_str(), d.texturePath.c_str());
  const auto colour = encodeBackColor(d.backColor);
  key.writeBinary(wide(kBackColorValueName).c_str(), colour.data(),
                  static_cast<uint32_t>(colour.size()));
}

uint32_t readShowLookupButton(RegistryKey& key) { return key.readDword(kShowLookupButton, 0); }

bool writeShowLookupButton(RegistryKey& key, uint32_t value) {
  return key.writeDword(kShowLookupButton, value);
}

LookupButtonSettings readLookupButtonSettings(RegistryKey& key) {
  LookupButtonSettings b;
  b.yPos = static_cast<int32_t>(key.readDword(kYPos, static_cast<uint32_t>(kDefaultButtonY)));
  b.xPos = static_cast<int32_t>(key.readDword(kXPos, static_cast<uint32_t>(kDefaultButtonX)));
  b.freeze = key.readDword(kFreeze, 0) != 0;
  b.showPopup = key.readDword(kShowPopup, 0) != 0;
  return b;
}

bool writeLookupButtonPosition(RegistryKey& key, int32_t x, int32_t y) {
  const bool top = key.writeDword(kYPos, static_cast<uint32_t>(y));
  const bool left = key.writeDword(kXPos, static_cast<uint32_t>(x));
  return top && left;
}

bool writeFreeze(RegistryKey& key, bool on) { return key.writeDword(kFreeze, on ? 1 : 0); }

bool writeShowPopup(RegistryKey& key, bool on) {
  return key.writeDword(kShowPopup, on ? 1 : 0);
}

}  // namespace lexora
