#pragma once
// One open dictionary: its three files, its header in memory and a cache of one decompressed
// block. Reads headwords by index, finds a key by binary search, reads meanings, and changes
// entries in place (the writer shares the object and its cache).
//
// Not thread-safe: one operation runs to its end before the next starts.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/edit_result.h"
#include "engine/file_format.h"

namespace lexora {

class BlockInflater;
class BlockStore;
class DictionaryFiles;
class FileSystem;

class Dictionary {
 public:
  Dictionary();
  // Reads and writes its files through fileSystem (tests put a fault-injecting one here).
  explicit Dictionary(FileSystem& fileSystem);
  ~Dictionary();
  Dictionary(const Dictionary&) = delete;
  Dictionary& operator=(const Dictionary&) = delete;

  // ---- Opening and closing ----

  // Opens the dictionary named by its data file. False leaves it closed, with lastError() set.
  // A dictionary that another Dictionary (in this process or another) holds open is refused,
  // and so is one whose header contradicts its files (damage). A change that died half-way
  // (a crash, a kill, a power cut) is rolled back first, so the dictionary opens as it was
  // before that change; read-only files are then shown rolled back, in memory.
  bool openDictionary(const std::string& dataFileName);
  bool closeDictionary();  // always true; closing a closed dictionary does nothing

  // ---- Reading ----

  // Reads headwords first ... first + count - 1 (clipped to the word count) into `words`
  // (resized to the number read; an unreadable headword is an empty string).
  // Returns the number read, 0 on failure (first past the end, a failed transfer).
  uint32_t readWords(uint32_t first, uint32_t count, std::vector<std::u16string>& words);

  // Binary search under the collation. On success sets nearest and sign (-1, 0, 1: the key
  // sorts before, equals, or sorts after headword nearest) and, when asked, the list position
  // (the row the word list selects while typing). False on an empty dictionary or a failed read.
  bool findWord(std::u16string_view key, uint32_t& nearest, int& sign,
                uint32_t* listPosition = nullptr);

  // The meaning of entry `index`. False when the record or a block does not read, or when the
  // text is empty or not readable; lastReadIndex still moves to index once the bytes are read.
  bool readMeaning(uint32_t index, std::u16string& meaning);

  // ---- Getters (the values of a closed slot in brackets) ----
  bool isOpen() const { return isOpen_; }
  bool lastIoFailed() const { return lastIoFailed_; }
  // True when the files could only be opened for reading: every change then fails.
  bool isReadOnly() const;
  uint32_t wordCount() const;          // [0]
  uint32_t maxWordChars() const;       // [0]
  uint32_t maxMeaningChars() const;    // [0]
  std::u16string title() const;        // [empty]
  std::u16string description() const;  // [empty]
  uint32_t collation() const;          // [1]
  uint32_t nodeData() const;           // [0]
  uint32_t lastReadIndex() const;      // never more than wordCount - 1
  const DictionaryHeader& header() const { return header_; }
  const std::string& dataFileName() const { return dataFileName_; }

  // Keeps up to maxBytes of decompressed blocks (64 KiB each) besides the one-block cache,
  // least recently used out first, so that reading meanings in scattered order (a batch of
  // lookups) inflates each block once. 0, the default, keeps none. Any change to the data
  // file forgets them.
  void retainDecompressedBlocks(size_t maxBytes);
  // Blocks kept by retainDecompressedBlocks now (for tests and benchmarks).
  size_t retainedBlockCount() const;

  // Why the last failed operation failed, for messages ("cannot open /x/EV.pdi: ...").
  const std::string& lastError() const { return lastError_; }

  // ---- Writing ----
  // Each change is all or nothing: after a failure, or a crash in the middle, the files hold
  // either the whole change or none of it (see DictionaryFiles).

  EditResult addEntry(std::u16string_view headword, std::u16string_view meaning);
  EditResult modifyMeaning(uint32_t index, std::u16string_view meaning);
  // index: in, the entry's index; out, its new index after the table is re-sorted.
  EditResult modifyWord(uint32_t& index, std::u16string_view headword);
  bool deleteEntry(uint32_t index);
  // Creates (replacing) the three files of an empty dictionary, then opens it.
  bool createDictionary(const std::string& dataFileName, uint32_t collation);
  bool setTitle(std::u16string_view text);        // at most 127 units are kept
  bool setDescription(std::u16string_view text);  // at most 255 units are kept

 private:
  friend class DictionaryBuilder;

  // Where new meaning text will go, worked out before anything is written.
  struct MeaningPlan {
    uint16_t startBlock = 0;
    uint16_t startOffset = 0;
    uint16_t lastBlock = 0;       // the last block once the text is written
    bool startsNewBlock = false;  // the last block is full: the text opens the next one
    uint32_t blockFileOffset = 0;  // where the start block's compressed bytes go
  };
  enum class PlanResult { Ok, ReadFailed, NoBlockSlot };

  // Reading (dictionary.cc).
  // False (with lastError set) when the header contradicts the files it describes.
  bool checkHeader();
  bool readRecord(uint32_t index, WordRecord& record);
  bool readRecordBytes(uint32_t first, uint32_t count, std::vector<uint8_t>& bytes);
  bool readHeadword(uint32_t index, std::u16string& word);
  bool readBlockRecord(uint32_t block, BlockRecord& record);
  // Loads a block into the cache, decompressing into at most capacity bytes. On failure the
  // cache holds no block.
  bool loadBlock(uint32_t block, uint32_t capacity);
  // Reads a block's compressed bytes into compressed_.
  bool readCompressed(uint32_t block, uint32_t& length);
  bool inflateFailed(uint32_t block);
  // The block's content from its first byte to at least byte needEnd (or to its end, when it
  // is shorter): the whole block from the cache or the retained blocks, or only its start
  // when that is all a single read needs and costs less than the whole block.
  bool blockContent(uint32_t block, uint32_t needEnd, const uint8_t*& content,
                    uint32_t& length);
  void emptyCache();

  // Writing (dictionary_writer.cc).
  PlanResult planMeaning(uint32_t byteCount, MeaningPlan& plan);
  // planMeaning as an edit's result: Ok, DataWriteFailed or MeaningTooLong.
  EditResult planFor(const std::string& meaningBytes, MeaningPlan& plan);
  // Puts the planned place and length of the meaning into its word record.
  static void placeMeaning(const MeaningPlan& plan, const std::string& meaningBytes,
                           WordRecord& record);
  bool appendMeaning(const MeaningPlan& plan, std::string_view bytes, uint16_t& newLastBlock);
  bool appendWordText(std::string_view bytes, uint32_t& offset);
  bool writeRecordBytes(uint32_t first, const std::vector<uint8_t>& bytes);
  bool writeHeader();
  // True (with lastError set) when the files are open read-only: a change that would only
  // alter the header in memory is then refused before it starts.
  bool refuseReadOnly();
  // Each change runs as a transaction: beginChange starts holding its writes; finishChange
  // commits them through the journal when the change succeeded, and otherwise drops them and
  // puts the header in memory back as it was before.
  DictionaryHeader beginChange();
  EditResult finishChange(EditResult result, const DictionaryHeader& before);
  // The steps of each change, run inside a transaction.
  EditResult addEntrySteps(std::u16string_view headword, std::u16string_view meaning);
  EditResult modifyMeaningSteps(uint32_t index, std::u16string_view meaning);
  EditResult modifyWordSteps(uint32_t& index, std::u16string_view headword);
  bool deleteEntrySteps(uint32_t index);
  bool createSteps(uint32_t collation);

  // Implementation state is the engine's own; see dictionary.cc.
  bool isOpen_ = false;
  bool lastIoFailed_ = false;
  uint32_t lastReadIndex_ = 0;
  DictionaryHeader header_;
  std::unique_ptr<DictionaryFiles> files_;
  std::vector<uint8_t> cacheBuffer_;   // CACHE_SIZE bytes while open
  uint32_t cacheLength_ = 0;
  uint16_t cacheBlock_ = NO_BLOCK;
  // When cacheBlock_ is NO_BLOCK, the cache buffer may still hold the first cacheLength_
  // bytes of this block: enough for the entries that end within them, never the block.
  uint16_t prefixBlock_ = NO_BLOCK;
  std::unique_ptr<BlockStore> retainedBlocks_;  // null unless asked for
  std::unique_ptr<BlockInflater> inflater_;
  std::vector<uint8_t> compressed_;   // a block's compressed bytes, reused
  std::vector<uint8_t> meaningBytes_;  // a meaning that spans blocks, put together
  std::string dataFileName_;
  std::string lastError_;
};

}  // namespace lexora
