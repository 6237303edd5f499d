#include "app/settings.h"

#include "app/settings_merge.h"
#include "app/settings_schema.h"
#include "platform/registry_location.h"
#include "platform/registry_sqlite.h"

namespace lexora {
namespace {

using namespace schema;

struct SettingsKeyState {
  std::unique_ptr<RegistryKey> key;
  std::string error;
  std::string path;  // of the hive, when the key was opened by path
};

SettingsKeyState& state() {
  static SettingsKeyState s;
  return s;
}

int32_t boundedTotalDict(uint32_t stored) {
  const auto value = static_cast<int32_t>(stored);
  if (value < 0) return 0;
  return value > kDictionarySlots ? kDictionarySlots : value;
}

}  // namespace

std::u16string styleValueName(int index) {
  const std::string digits = std::to_string(index + 1);
  return kStylePrefix + std::u16string(digits.begin(), digits.end());
}

std::u16string dictionaryValueName(int k) {
  const std::string digits = std::to_string(k);
  return kDictionaryPrefix + std::u16string(digits.begin(), digits.end());
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
  s.path = where;
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
  s.path.clear();
  s.key = std::make_unique<RegistryKey>(std::move(registry), kLocalMachine, kSettingsKeyPath, true);
  if (!s.key->isOpen()) s.error = "cannot create the settings key";
}

const std::string& settingsKeyError() { return state().error; }

std::unique_ptr<RegistryKey> openWorkerSettingsKey() {
  if (state().path.empty()) return nullptr;
  std::string error;
  std::shared_ptr<Registry> registry = SqliteRegistry::open(state().path, &error);
  if (registry == nullptr) return nullptr;
  auto key =
      std::make_unique<RegistryKey>(std::move(registry), kLocalMachine, kSettingsKeyPath, true);
  if (!key->isOpen()) return nullptr;
  return key;
}

Settings& settings() {
  static Settings record;
  return record;
}

Settings& loadedSettings() {
  static Settings record;
  return record;
}

void loadSettings() {
  loadSettings(settingsKey(), settings());
  loadedSettings() = settings();
}

void saveSettings() {
  saveSettingsChanges(settingsKey(), loadedSettings(), settings());
  loadedSettings() = settings();
}

void loadSettings(RegistryKey& key, Settings& s) {
  DisplaySettings& d = s.display;
  s.totalDict = boundedTotalDict(key.readDword(kTotalDict, 0));
  s.workingDictIndex = static_cast<int32_t>(key.readDword(kWorkingDictIndex, kNoDictionary));
  s.reverseDictIndex = static_cast<int32_t>(key.readDword(kReverseDictIndex, kNoDictionary));
  d.textSize = key.readDword(kTextSize, kDefaultTextSize);
  d.useClearType = key.readDword(kUseClearType, kDefaultUseClearType);
  s.showLookupButton = key.readDword(kShowLookupButton, 0);
  s.showIndexAtStarting = key.readDword(kShowIndexAtStarting, 0);

  for (int k = 1; k <= s.totalDict; ++k) {
    s.dictionaryPaths[k - 1] = key.readString(dictionaryValueName(k).c_str());
  }

  d.time2Show = clampTime2Show(key.readDword(kTime2Show, kDefaultTime2Show));

  for (int i = 0; i < kStyleCount; ++i) {
    uint8_t bytes[DisplayStyle::kEncodedSize];
    uint32_t size = sizeof bytes;
    if (key.readBinary(styleValueName(i).c_str(), bytes, &size)) {
      d.styles[i].decode(bytes, size);
    }
  }

  d.useTexture = key.readDword(kUseTexture, 0);
  d.texturePath = key.readString(kTexture);
  uint8_t colour[kBackColorEncodedSize];
  uint32_t size = sizeof colour;
  if (key.readBinary(kBackColor, colour, &size)) {
    decodeBackColor(colour, size, d.backColor);
  }
}

void saveSettings(RegistryKey& key, const Settings& s) {
  const DisplaySettings& d = s.display;
  const int32_t total = s.totalDict < 0                  ? 0
                        : s.totalDict > kDictionarySlots ? kDictionarySlots
                                                         : s.totalDict;
  key.writeDword(kTotalDict, static_cast<uint32_t>(total));
  key.writeDword(kWorkingDictIndex, static_cast<uint32_t>(s.workingDictIndex));
  key.writeDword(kReverseDictIndex, static_cast<uint32_t>(s.reverseDictIndex));
  key.writeDword(kTextSize, d.textSize);
  key.writeDword(kUseClearType, d.useClearType);
  key.writeDword(kShowLookupButton, s.showLookupButton);
  key.writeDword(kShowIndexAtStarting, s.showIndexAtStarting);

  for (int k = 1; k <= total; ++k) {
    key.writeString(dictionaryValueName(k).c_str(), s.dictionaryPaths[k - 1].c_str());
  }

  key.writeDword(kTime2Show, clampTime2Show(d.time2Show));

  for (int i = 0; i < kStyleCount; ++i) {
    const auto bytes = d.styles[i].encode();
    key.writeBinary(styleValueName(i).c_str(), bytes.data(), static_cast<uint32_t>(bytes.size()));
  }

  key.writeDword(kUseTexture, d.useTexture);
  key.writeString(kTexture, d.texturePath.c_str());
  const auto colour = encodeBackColor(d.backColor);
  key.writeBinary(kBackColor, colour.data(), static_cast<uint32_t>(colour.size()));
}

uint32_t readShowLookupButton(RegistryKey& key) { return key.readDword(kShowLookupButton, 0); }

bool writeShowLookupButton(RegistryKey& key, uint32_t value) {
  return key.writeDword(kShowLookupButton, value);
}

LookupButtonSettings readLookupButtonSettings(RegistryKey& key) {
  LookupButtonSettings b;
  b.yPos =
      static_cast<int32_t>(key.readDword(kYPos, static_cast<uint32_t>(schema::kDefaultButtonY)));
  b.xPos =
      static_cast<int32_t>(key.readDword(kXPos, static_cast<uint32_t>(schema::kDefaultButtonX)));
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

bool writeShowPopup(RegistryKey& key, bool on) { return key.writeDword(kShowPopup, on ? 1 : 0); }

}  // namespace lexora
