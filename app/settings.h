#pragma once
// The program's persistent settings: the process-wide `Settings` record, the settings key
// (HKEY_LOCAL_MACHINE "Software\Velmarin\Lexora") through which every setting is read and
// written, and the fixed order in which the record is loaded at start and saved at exit.
// Also the few values of the same key that the lookup button program reads and writes.
//
// Use in a program:
//   loadSettings();                 // once, at start (opens the settings key on first use)
//   settings().display.textSize ... // read and change the record in memory during the run
//   saveSettings();                 // at exit: the values this run changed
// Registry failures are silent: reads fall back to their defaults, writes are dropped.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/registry_key.h"
#include "app/settings_schema.h"
#include "render/display_settings.h"

namespace lexora {

constexpr int kMaxDictionaries = schema::kDictionarySlots;  // slots of the path table
inline constexpr const char16_t* kSettingsKeyPath = u"Software\\Velmarin\\Lexora";

// Every persisted value of the main program, named after its registry value.
struct Settings {
  int32_t totalDict = 0;             // "TotalDict": installed dictionaries, kept within 0..10
  int32_t workingDictIndex = -1;     // "WorkingDictIndex": slot of the working dictionary, -1 none
  int32_t reverseDictIndex = -1;     // "ReverseDictIndex": slot of the reverse dictionary, -1 none
  uint32_t showLookupButton = 0;     // "ShowLookupButton": 1 = the lookup button runs
  uint32_t showIndexAtStarting = 0;  // "ShowIndexAtStarting": 1 = start on the word list
  // "Dictionary1" ... "Dictionary10": full paths of the data files; slots at or past
  // totalDict are not used.
  std::array<std::u16string, kMaxDictionaries> dictionaryPaths;
  // "TextSize", "UseClearType", "Time2Show", "Style1".."Style7", "UseTextture", "Textture",
  // "BackColor".
  DisplaySettings display;

  bool operator==(const Settings&) const = default;
};

// ---- The process-wide settings key and record ----

// The settings key, opened (created if missing) on first use in the hive at
// defaultRegistryPath() ($LEXORA_REGISTRY, else ~/.config/lexora/registry.sqlite).
// When the hive cannot be used the key is not open: reads give defaults, writes fail.
RegistryKey& settingsKey();
// Reopens the settings key in the hive file at `path` (empty: the default place). True when
// the key is open; otherwise settingsKeyError() says why.
bool openSettingsKey(const std::string& path);
// Reopens the settings key in the given registry (a test double, or null for none).
void openSettingsKey(std::shared_ptr<Registry> registry);
// Why the last opening of the settings key failed; empty after a success.
const std::string& settingsKeyError();
// Another settings key on a connection of its own to the hive the settings key was opened in
// by path, for a worker thread (a connection serves one thread). Null when the settings key
// lives in a registry given as an object, or the hive does not open.
std::unique_ptr<RegistryKey> openWorkerSettingsKey();

// The record, holding the compiled-in defaults until loadSettings runs.
Settings& settings();

// settings() from settingsKey(); loadedSettings() becomes a copy of it.
void loadSettings();
// The values of settings() that this run changed since loadSettings() (or the last save) to
// settingsKey(), merged with what other programs stored meanwhile (see settings_merge.h).
void saveSettings();
// settings() as last loaded or saved: what saveSettings() compares with.
Settings& loadedSettings();

// Load order: "TotalDict", "WorkingDictIndex", "ReverseDictIndex", "TextSize", "UseClearType",
// "ShowLookupButton", "ShowIndexAtStarting" (each missing DWORD is written back with its
// default), "Dictionary1".."Dictionary<TotalDict>" (missing: empty, not written), "Time2Show"
// (clamped to 1..20), "Style1".."Style7" and "UseTextture", "Textture", "BackColor".
// A stored TotalDict above 10 counts as 10, a negative one as 0.
void loadSettings(RegistryKey& key, Settings& settings);
// Writes every value in the load order, changed or not. Dictionary values numbered above
// totalDict are left in the registry.
void saveSettings(RegistryKey& key, const Settings& settings);

// "Dictionary%d" formatted with k (1-based).
std::u16string dictionaryValueName(int k);
// "Style%d" formatted with index + 1: "Style1" ... "Style7".
std::u16string styleValueName(int index);

// ---- The lookup button's values (same key) ----

constexpr int32_t kDefaultButtonX = schema::kDefaultButtonX;
constexpr int32_t kDefaultButtonY = schema::kDefaultButtonY;

struct LookupButtonSettings {
  int32_t xPos = kDefaultButtonX;  // "XPos": the button's left edge, screen pixels
  int32_t yPos = kDefaultButtonY;  // "YPos": its top edge
  bool freeze = false;             // "Freeze": the button cannot be dragged
  bool showPopup = false;          // "ShowPopup": lookups are shown as a popup bubble
};

// "ShowLookupButton" (default 0, written back when missing).
uint32_t readShowLookupButton(RegistryKey& key);
// Written at once when the user switches the button on or off.
bool writeShowLookupButton(RegistryKey& key, uint32_t value);
// "YPos", "XPos", "Freeze", "ShowPopup", read in this order; missing ones are written back
// with their defaults. Freeze and ShowPopup are on for any non-zero value.
LookupButtonSettings readLookupButtonSettings(RegistryKey& key);
// "YPos" then "XPos". True when both were written.
bool writeLookupButtonPosition(RegistryKey& key, int32_t x, int32_t y);
bool writeFreeze(RegistryKey& key, bool on);     // "Freeze" 1 or 0
bool writeShowPopup(RegistryKey& key, bool on);  // "ShowPopup" 1 or 0

}  // namespace lexora
