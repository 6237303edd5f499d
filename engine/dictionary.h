#pragma once
// One open dictionary: its three files, its header in memory and a cache of one decompressed
// block. Reads headwords by index, finds a key by binary search, reads meanings, and changes
// entries in place (the writer shares the object and its cache).
//
// Every operation that can fail returns a Status whose message names the file or entry.
//
// Each operation holds the dictionary's own lock from start to end, so a worker thread (a
// search, an index build) can read a dictionary between the window's operations; a sequence
// of operations may see changes made in between. Reads of the whole dictionary (the word
// table, the stamp, every block) go in short pieces, each under the lock on its own, so that
// another thread's lookup never waits for more than one piece; see "Whole-dictionary passes".

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/edit_status.h"
#include "engine/file_format.h"
#include "util/status.h"

namespace lexora {

class BlockInflater;
class BlockStore;
class DictionaryFiles;
enum class DictionaryFile;
class FileSystem;
class FullTextIndex;

class Dictionary {
 public:
  Dictionary();
  // Reads and writes its files through fileSystem (tests put a fault-injecting one here).
  explicit Dictionary(FileSystem& fileSystem);
  ~Dictionary();
  Dictionary(const Dictionary&) = delete;
  Dictionary& operator=(const Dictionary&) = delete;

  // ---- Opening and closing ----

  // Opens the dictionary named by its data file; on failure it stays closed.
  // A dictionary that another Dictionary (in this process or another) holds open is refused,
  // and so is one whose header contradicts its files (damage). A change that died half-way
  // (a crash, a kill, a power cut) is rolled back first, so the dictionary opens as it was
  // before that change; read-only files are then shown rolled back, in memory.
  Status openDictionary(const std::string& dataFileName);
  void closeDictionary();  // closing a closed dictionary does nothing

  // ---- Reading ----

  // Reads headwords first ... first + count - 1 (clipped to the word count) into `words`
  // (an unreadable headword is an empty string). On failure (first past the end: NotFound;
  // a failed transfer) `words` is empty.
  Status readWords(uint32_t first, uint32_t count, std::vector<std::u16string>& words);

  // Binary search under the collation. On success sets nearest and sign (-1, 0, 1: the key
  // sorts before, equals, or sorts after headword nearest) and, when asked, the list position
  // (the row the word list selects while typing). NotFound on an empty dictionary.
  Status findWord(std::u16string_view key, uint32_t& nearest, int& sign,
                  uint32_t* listPosition = nullptr);

  // The meaning of entry `index`. Fails when the record or a block does not read (IoError,
  // or Corruption for a record that points past its blocks), or when the text is not readable
  // (Corruption); lastReadIndex still moves to index once the bytes are read. An empty
  // meaning is NotFound.
  Status readMeaning(uint32_t index, std::u16string& meaning);

  // ---- Getters (the values of a closed slot in brackets) ----
  bool isOpen() const { return isOpen_; }
  // True when the files could only be opened for reading: every change then fails.
  bool isReadOnly() const;
  // Set by an opening that found a leftover journal of other files and set it aside: a
  // sentence for the user (empty otherwise).
  std::string openNotice() const;
  uint32_t wordCount() const;          // [0]
  uint32_t maxWordChars() const;       // [0]
  uint32_t maxMeaningChars() const;    // [0]
  std::u16string title() const;        // [empty]
  std::u16string description() const;  // [empty]
  uint32_t collation() const;          // [1]
  uint32_t nodeData() const;           // [0]
  uint32_t lastReadIndex() const;      // never more than wordCount - 1
  // Not guarded: for single-threaded callers (the command-line tools).
  const DictionaryHeader& header() const { return header_; }
  std::string dataFileName() const;  // [empty]

  // Keeps up to maxBytes of decompressed blocks (64 KiB each) besides the one-block cache,
  // least recently used out first, so that reading meanings in scattered order (a batch of
  // lookups) inflates each block once. 0, the default, keeps none. Any change to the data
  // file forgets them.
  void retainDecompressedBlocks(size_t maxBytes);
  // Blocks kept by retainDecompressedBlocks now (for tests and benchmarks).
  size_t retainedBlockCount() const;

  // ---- Whole-dictionary passes ----
  // A pass (an index build, a search on a worker thread) names the dictionary state it reads
  // with state() and hands it to each piece it reads; a piece fails with Busy once the
  // dictionary has changed since (an edit, its title, a close or another opening), so that a
  // pass never mixes two states. Each piece holds the lock for one short read.
  uint64_t state() const;
  // Every entry's word record, in headword order, read in pieces for `state` (Busy when the
  // dictionary changes meanwhile).
  Status readWordRecords(std::vector<WordRecord>& records, uint64_t state);
  // Word records first ... first + count - 1 (NotFound past the end), one piece.
  Status readWordRecords(uint32_t first, uint32_t count, std::vector<WordRecord>& records,
                         uint64_t state);
  // A block's compressed bytes (into bytes, length of them), for a reader that inflates them
  // outside the lock (engine/meaning_sweep.h). Corruption for a block that does not exist.
  Status readCompressedBlock(uint32_t block, uint64_t state, std::vector<uint8_t>& bytes,
                             uint32_t& length);

  // ---- The full-text index (engine/full_text_index.h) ----

  // What identifies the state of the entries: the three files' sizes and a checksum of the
  // index file (the header's title and description left out), read in pieces for `state`.
  Status contentStamp(std::string& stamp, uint64_t state);
  Status contentStamp(std::string& stamp);  // for the present state
  enum class FullTextState { Missing, Stale, Current };
  // Opens the index file beside the dictionary the first time and compares its stamp.
  FullTextState fullTextState();
  // The positions, in order, of the entries whose meaning holds every word of text
  // (FullTextIndex::find). NotFound when the index is missing or stale; InvalidArgument when
  // the text holds no word.
  Status findInMeanings(std::u16string_view text, std::vector<uint32_t>& positions);
  // Puts an index built from `state` (stamped with contentStamp for it) in place of the
  // dictionary's own by renaming builtFile. Busy (and builtFile removed) when the dictionary
  // has changed since.
  Status adoptFullTextIndex(const std::string& builtFile, uint64_t state);

  // ---- Writing ----
  // Each change is all or nothing: after a failure, or a crash in the middle, the files hold
  // either the whole change or none of it (see DictionaryFiles). A failed entry change tells
  // in EditStatus::editResult() which rule refused it or which step failed: ReadOnly for a
  // dictionary open read-only (or closed), NoSuchEntry for an index past the last entry.

  EditStatus addEntry(std::u16string_view headword, std::u16string_view meaning);
  EditStatus modifyMeaning(uint32_t index, std::u16string_view meaning);
  // index: in, the entry's index; out, its new index after the table is re-sorted.
  EditStatus modifyWord(uint32_t& index, std::u16string_view headword);
  EditStatus deleteEntry(uint32_t index);
  // Creates (replacing) the three files of an empty dictionary, then opens it.
  Status createDictionary(const std::string& dataFileName, uint32_t collation);
  Status setTitle(std::u16string_view text);        // at most 127 units are kept
  Status setDescription(std::u16string_view text);  // at most 255 units are kept

 private:
  // Where new meaning text will go, worked out before anything is written.
  struct MeaningPlan {
    uint16_t startBlock = 0;
    uint16_t startOffset = 0;
    uint16_t lastBlock = 0;        // the last block once the text is written
    bool startsNewBlock = false;   // the last block is full: the text opens the next one
    uint32_t blockFileOffset = 0;  // where the start block's compressed bytes go
  };

  // Reading (dictionary.cc).
  // Busy unless the dictionary is open and still in `state` (the lock held).
  Status checkState(uint64_t state) const;
  // Corruption when the header contradicts the files it describes.
  Status checkHeader();
  Status readRecord(uint32_t index, WordRecord& record);
  Status readRecordBytes(uint32_t first, uint32_t count, std::vector<uint8_t>& bytes);
  Status readHeadword(uint32_t index, std::u16string& word);
  Status readBlockRecord(uint32_t block, BlockRecord& record);
  // Loads a block into the cache, decompressing into at most capacity bytes. On failure the
  // cache holds no block.
  Status loadBlock(uint32_t block, uint32_t capacity);
  // Reads a block's compressed bytes into `bytes` (grown as needed, never shrunk); `length`
  // is set on success.
  Status readCompressed(uint32_t block, std::vector<uint8_t>& bytes, uint32_t& length);
  Status inflateFailed(uint32_t block) const;
  // The block's content from its first byte to at least byte needEnd (or to its end, when it
  // is shorter): the whole block from the cache or the retained blocks, or only its start
  // when that is all a single read needs and costs less than the whole block.
  Status blockContent(uint32_t block, uint32_t needEnd, const uint8_t*& content, uint32_t& length);
  void emptyCache();

  // Writing (dictionary_writer.cc).
  // Where new meaning text goes: DataWriteFailed when the last block does not read,
  // MeaningTooLong when the text would need a block past the block table's last slot.
  EditStatus planMeaning(uint32_t byteCount, MeaningPlan& plan);
  // Puts the planned place and length of the meaning into its word record.
  static void placeMeaning(const MeaningPlan& plan, const std::string& meaningBytes,
                           WordRecord& record);
  Status appendMeaning(const MeaningPlan& plan, std::string_view bytes, uint16_t& newLastBlock);
  Status appendWordText(std::string_view bytes, uint32_t& offset);
  Status writeRecordBytes(uint32_t first, const std::vector<uint8_t>& bytes);
  Status writeHeader();
  // Refuses a change to closed or read-only files before it starts (ok otherwise).
  Status refuseChange() const;
  // The same refusal for an entry change (ReadOnly), and NoSuchEntry for an index past the
  // last entry.
  EditStatus refuseEdit() const;
  EditStatus refuseEdit(uint32_t index) const;
  // Each change runs as a transaction: beginChange starts holding its writes; finishChange
  // commits them through the journal when the change succeeded, and otherwise drops them; after
  // any failure it puts the header in memory back as it was before. *failed names the file
  // whose commit failed.
  DictionaryHeader beginChange();
  Status finishChange(const Status& result, const DictionaryHeader& before,
                      DictionaryFile* failed = nullptr);
  // finishChange for an entry change: a failed commit gets the write failure of its file.
  EditStatus finishEdit(EditStatus result, const DictionaryHeader& before);
  // The steps of each change, run inside a transaction.
  EditStatus addEntrySteps(std::u16string_view headword, std::u16string_view meaning);
  EditStatus modifyMeaningSteps(uint32_t index, std::u16string_view meaning);
  EditStatus modifyWordSteps(uint32_t& index, std::u16string_view headword);
  EditStatus deleteEntrySteps(uint32_t index);
  Status createSteps(uint32_t collation);

  // The full-text index (dictionary_full_text.cc). An entry's text as the index holds it.
  struct IndexedText {
    uint32_t key = 0;  // the headword's offset in the word file
    std::u16string meaning;
  };
  // True when the index exists and matches the files (opening it the first time).
  bool fullTextCurrent();
  // The positions, in order, of the entries whose headword offsets are among `keys` (sorted).
  Status positionsOfKeys(const std::vector<uint32_t>& keys, uint64_t state,
                         std::vector<uint32_t>& positions);
  // The entry's key and meaning as the index holds them (an empty meaning is empty text).
  Status indexedText(uint32_t index, IndexedText& text);
  // After a change is on disk: the index drops `removed`, takes `added` and the new stamp, all
  // in one transaction. When that fails the index keeps its old stamp, so it reads as stale.
  void updateFullText(const std::vector<IndexedText>& removed,
                      const std::vector<IndexedText>& added);
  // After a change: with the change done and its old texts known, the index drops `removed`
  // and takes the text of entry `added`; otherwise it is closed, to be compared again.
  void followChange(const Status& result, bool known, const std::vector<IndexedText>& removed,
                    std::optional<uint32_t> added);
  void closeFullText();

  // Implementation state is the engine's own; see dictionary.cc.
  using Hold = std::lock_guard<std::recursive_mutex>;
  mutable std::recursive_mutex mutex_;
  std::atomic<bool> isOpen_ = false;
  uint32_t lastReadIndex_ = 0;
  DictionaryHeader header_;
  std::unique_ptr<DictionaryFiles> files_;
  std::vector<uint8_t> cacheBuffer_;  // CACHE_SIZE bytes while open
  uint32_t cacheLength_ = 0;
  uint16_t cacheBlock_ = NO_BLOCK;
  // When cacheBlock_ is NO_BLOCK, the cache buffer may still hold the first cacheLength_
  // bytes of this block: enough for the entries that end within them, never the block.
  uint16_t prefixBlock_ = NO_BLOCK;
  std::unique_ptr<BlockStore> retainedBlocks_;  // null unless asked for
  std::unique_ptr<BlockInflater> inflater_;
  std::vector<uint8_t> compressed_;    // a block's compressed bytes, reused
  std::vector<uint8_t> meaningBytes_;  // a meaning that spans blocks, put together
  std::string dataFileName_;
  std::unique_ptr<FullTextIndex> fullText_;  // open and matching the files, or null
  bool fullTextChecked_ = false;             // the index file was looked at since opening
  uint64_t state_ = 0;                       // counts the changes, openings and closings (state())
  uint64_t fullTextEpoch_ = 0;               // counts the closings of the full-text index
};

}  // namespace lexora
