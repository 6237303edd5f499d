#pragma once
// Every value the two programs keep under the settings key, in one place: its stored name, its
// type, its default and the range it is kept within. The records that hold the values
// (`Settings`, `DisplaySettings`, `LookupButtonSettings`) take their defaults from here, and
// the code that loads, saves or edits a value names it through these constants.

#include <cstdint>

#include "render/display_settings.h"

namespace lexora::schema {

// ---- The main program's values ----

// Installed dictionaries: "TotalDict" (DWORD) counts them, "Dictionary1".."Dictionary10"
// (strings) hold their data files' paths. The path table, the dictionary slots and the history
// trees all have this many places.
inline constexpr int kDictionarySlots = 10;
inline constexpr const char16_t* kTotalDict = u"TotalDict";
inline constexpr const char16_t* kDictionaryPrefix = u"Dictionary";  // + 1..10

// Slots of the working and the reverse dictionary (DWORD, -1 for none).
inline constexpr const char16_t* kWorkingDictIndex = u"WorkingDictIndex";
inline constexpr const char16_t* kReverseDictIndex = u"ReverseDictIndex";
inline constexpr uint32_t kNoDictionary = 0xFFFFFFFF;

// The language of a dictionary's headwords (string, a tag such as "en" or "en_US", or "none"),
// one value per dictionary: "Language:" followed by the data file's full path. It chooses the
// Hunspell dictionary that finds a word's base forms; guessed and written on first use.
inline constexpr const char16_t* kLanguagePrefix = u"Language:";
inline constexpr const char16_t* kNoLanguage = u"none";

// DWORD, 1 = start on the word list.
inline constexpr const char16_t* kShowIndexAtStarting = u"ShowIndexAtStarting";

// DWORD, 0 = no speaker link beside the headword (missing: on). The window's "Speak Headwords"
// option writes it at once when switched (a missing value is not written at start);
// `lexora-cli settings SpeakHeadwords 0|1` sets it too.
inline constexpr const char16_t* kSpeakHeadwords = u"SpeakHeadwords";

// The main window's place and size when it last closed (DWORDs, signed, in the desktop's
// device-independent pixels; x and y are the frame's corner). Written when the window closes.
inline constexpr const char16_t* kWindowX = u"WindowX";
inline constexpr const char16_t* kWindowY = u"WindowY";
inline constexpr const char16_t* kWindowWidth = u"WindowWidth";
inline constexpr const char16_t* kWindowHeight = u"WindowHeight";

// ---- The display values ----

inline constexpr const char16_t* kTextSize = u"TextSize";          // DWORD, 0..4
inline constexpr const char16_t* kUseClearType = u"UseClearType";  // DWORD, 1 = on
// DWORD, seconds the popup stays after the pointer leaves it. Stored values are kept within
// 1..20 when read, and the style dialog offers the same range, so that it shows what is stored
// (the place is spelled this way in stored settings).
inline constexpr const char16_t* kTime2Show = u"Time2Show";
inline constexpr int32_t kMinStoredTime2Show = kMinTime2Show;
inline constexpr int32_t kMaxStoredTime2Show = kMaxTime2Show;
inline constexpr int kMinDialogTime2Show = kMinTime2Show;
inline constexpr int kMaxDialogTime2Show = kMaxTime2Show;
inline constexpr const char16_t* kStylePrefix = u"Style";       // + 1..7, 4-byte binary
inline constexpr const char16_t* kUseTexture = u"UseTextture";  // DWORD, 1 = picture
inline constexpr const char16_t* kTexture = u"Textture";        // string, picture's path
inline constexpr const char16_t* kBackColor = u"BackColor";     // 4-byte binary 0x00BBGGRR

// ---- Values both programs use ----

// DWORD, 1 = the lookup button runs. Written at once when changed, so that the button sees it.
inline constexpr const char16_t* kShowLookupButton = u"ShowLookupButton";

// ---- The lookup button's values ----

inline constexpr const char16_t* kXPos = u"XPos";            // DWORD, left edge on screen
inline constexpr const char16_t* kYPos = u"YPos";            // DWORD, top edge on screen
inline constexpr const char16_t* kFreeze = u"Freeze";        // DWORD, non-zero = cannot move
inline constexpr const char16_t* kShowPopup = u"ShowPopup";  // DWORD, non-zero = popup bubble
inline constexpr int32_t kDefaultButtonX = 180;
inline constexpr int32_t kDefaultButtonY = 298;

}  // namespace lexora::schema
