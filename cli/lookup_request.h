#pragma once
// What `lookup` is asked to search: its command line read, and the dictionaries it names (the
// files given, or the installed ones that -d picks) opened.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_support.h"
#include "engine/dictionary.h"

namespace lexora::cli {

struct OpenDictionary {
  std::string file;
  std::string title;  // UTF-8; the file name when the dictionary has no title
  std::unique_ptr<Dictionary> dictionary;
  // One volume of a source imported in several ("T, volume 1 of 2 (a – m)"): the title before
  // ", volume", and the volume's first and last headwords.
  std::string book;
  std::u16string first;
  std::u16string last;
};

// What the command line asks for.
struct LookupRequest {
  std::vector<std::string> files;  // named on the command line; empty: the installed ones
  std::vector<std::string> names;  // -d NAME, narrowing the installed ones
  std::string word;                // or "-"
  bool json = false;
  bool noWrap = false;
  bool allMisses = false;
  std::string language;  // --language, normalised ("none" stays); empty when not given
};

// Parses the arguments; nullopt after reporting a usage error (exitCode set).
std::optional<LookupRequest> parseLookup(std::vector<std::string> rest, CommandIo& io,
                                         int& exitCode);

// Opens the dictionaries the request names: its files, or the installed ones that -d picks.
// Reports what fails; the exit code is set when nothing is left to search.
std::vector<OpenDictionary> openRequested(const LookupRequest& request, CommandIo& io,
                                          int& exitCode);

// True when `word` lies before or after the headwords of volume `d` and another volume of the
// same source is looked up too: a miss there says nothing.
bool inAnotherVolume(const OpenDictionary& d, std::u16string_view word,
                     const std::vector<OpenDictionary>& all);

// The terminal's width in columns, when stdout is one; 0 otherwise.
int terminalWidth(const CommandIo& io);

}  // namespace lexora::cli
