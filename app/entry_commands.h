#pragma once
// The four commands of the "Edit" menu that add, change and delete entries of the working
// dictionary. The flows are plain C++: the main window hands in the working dictionary and its
// current entry, and plugs in the message boxes, the entry editor and the word list through the
// small interfaces below (dialogs/ provides the Qt implementations).
//
// The main window keeps its message boxes (gui/dialogs/message_box_messages.h) and its editor
// (gui/dialogs/modal_entry_editor.h) and builds an EntryCommands for each command it runs:
//   WindowEntryList list(...);  // an EntryWordList: the model's row count, showEntry
//   EntryCommands commands(*entryMessages_, *entryEditor_, list);
//   commands.onEntryCommand(kCmdAddNewWord, workingDictionaryOrNull, currentEntryIndex);

#include <cstdint>
#include <string>
#include <string_view>

#include "app/menu_commands.h"

namespace lexora {

class Dictionary;

// What the entry editor lets the user change.
enum class EditMode : int {
  Add = 1,            // headword and meaning
  ModifyMeaning = 2,  // the meaning; the headword box is disabled
  ModifyWord = 3,     // the headword; the meaning box is disabled
};

enum class MessageIcon { None, Error };

// The application's message boxes.
class EntryMessages {
 public:
  virtual ~EntryMessages() = default;
  // A message with an OK button.
  virtual void showMessage(const std::u16string& text, MessageIcon icon) = 0;
  // A question with Yes and No buttons; true when the user answers Yes.
  virtual bool askYesNo(const std::u16string& text) = 0;
};

// The two texts the entry editor exchanges with its boxes. The meaning is raw markup with
// CR LF line ends.
struct EntryTexts {
  std::u16string headword;
  std::u16string meaning;
};

// The modal entry editor.
class EntryEditor {
 public:
  virtual ~EntryEditor() = default;
  // Runs the editor in `mode` on `texts`. True on OK, with `texts` replaced by what the boxes
  // hold; false on Cancel, with `texts` unchanged.
  virtual bool edit(EditMode mode, EntryTexts& texts) = 0;
};

// The main window's word list and viewer, as far as the editing commands touch them.
class EntryWordList {
 public:
  virtual ~EntryWordList() = default;
  // Sets the virtual list's row count (the working dictionary's word count).
  virtual void setRowCount(uint32_t count) = 0;
  // Shows entry `index` of the working dictionary as a lookup would (the main window's
  // showEntry), which makes it the current entry.
  virtual void showEntry(uint32_t index) = 0;
  // Takes the page of a deleted entry off the screen: the home page is shown instead.
  virtual void showHomePage() = 0;
};

// Message texts of the editing commands.
inline constexpr char16_t kAddOkMessage[] = u"Add OK!";
inline constexpr char16_t kModifyOkMessage[] = u"Modify OK!";
inline constexpr char16_t kModifyWordOkMessage[] = u"Modify word OK!";
inline constexpr char16_t kWordExistsMessage[] = u"Word exist in the dictionary!";
inline constexpr char16_t kWordSizeMessage[] = u"Data size overload maximum word size!";
inline constexpr char16_t kMeaningSizeMessage[] = u"Data size overload maximum meaning size!";
inline constexpr char16_t kSizeMessage[] = u"Data size overload maximum size!";
inline constexpr char16_t kUnknownErrorMessage[] = u"Unknown error!";
inline constexpr char16_t kDeleteFailedMessage[] = u"An error occur when delete word!";
inline constexpr char16_t kEmptyWordMessage[] = u"The headword cannot be empty!";
inline constexpr char16_t kReadOnlyMessage[] =
    u"The dictionary files are read-only: entries cannot be added, changed or deleted.";
inline constexpr char16_t kDictionaryErrorMessage[] =
    u"Error occur. Please re-select your dictionary files or restart Lexora.";

// The initial texts of "Add New Word" (the meaning before its conversion for the editor).
inline constexpr char16_t kNewWordHeadword[] = u"NewWord";
inline constexpr char16_t kNewWordMeaning[] = u"NewMeaning";

// "You want delete entry: \"<headword>\"".
std::u16string deleteQuestion(const std::u16string& headword);

// The headword of "Add New Word": every UTF-16 unit lower-cased as the collations do.
std::u16string lowerCaseHeadword(std::u16string_view headword);

// The meaning to store from the editor's text. toEditText put a CR before every LF, so a CR LF
// of the stored text reached the editor as CR CR LF: that added CR (the one right before a
// CR LF) is dropped again, and a meaning accepted unchanged is stored as it was. Every other
// character is kept, so stored LF-only line ends come back as CR LF.
std::u16string meaningFromEditText(std::u16string_view editText);

class EntryCommands {
 public:
  // The three interfaces must outlive this object.
  EntryCommands(EntryMessages& messages, EntryEditor& editor, EntryWordList& wordList);
  EntryCommands(const EntryCommands&) = delete;
  EntryCommands& operator=(const EntryCommands&) = delete;

  // Runs command `commandId` (kCmdAddNewWord, kCmdModifyMeaning, kCmdModifyWord,
  // kCmdDeleteWord; other ids do nothing) on the working dictionary
  // `working` (null when there is none) and the main window's currentEntryIndex (-1 for none).
  //
  // A working dictionary that is closed (for "Add New Word") or open read-only gets its message
  // before the editor opens.
  // After a successful add or modify the word list's row count is set to the dictionary's word
  // count and the new or changed entry is shown, which makes it the current entry; when
  // "Modify Word" does not end in a shown entry, currentEntryIndex ends -1. After "Delete
  // Word" (Yes) currentEntryIndex is -1 and the home page is shown. Every command fixes its
  // entry before the editor or the question opens.
  void onEntryCommand(int commandId, Dictionary* working, int& currentEntryIndex);

 private:
  // Shows the read-only message and returns false when `dictionary` cannot be changed.
  bool checkWritable(const Dictionary& dictionary);
  void addNewWord(Dictionary& dictionary, int& currentEntryIndex);
  void modifyMeaning(Dictionary& dictionary, int& currentEntryIndex);
  void modifyWord(Dictionary& dictionary, int& currentEntryIndex);
  void deleteWord(Dictionary& dictionary, int& currentEntryIndex);

  // Reads the headword (and, when `meaning` is given, the meaning) of entry `index`. Shows the
  // dictionary error and returns false when a read fails.
  bool readEntry(Dictionary& dictionary, int index, std::u16string& headword,
                 std::u16string* meaning);
  // Refreshes the word list after a change and shows entry `index` as the current entry.
  void showChangedEntry(Dictionary& dictionary, uint32_t index, int& currentEntryIndex);

  EntryMessages& messages_;
  EntryEditor& editor_;
  EntryWordList& wordList_;
};

}  // namespace lexora
