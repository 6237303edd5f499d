#pragma once
// Whether a new dictionary may be written under a name without destroying what is there.

#include <string>

#include "util/status.h"

namespace lexora {

// Ok when none of the three files of dataFile exists, or (with replaceDictionary) when they
// hold a dictionary that opens and nobody holds open. Refused (InvalidArgument, or Busy) when
// one of them is no regular file (a device, a folder, a FIFO), when the data file is not a
// dictionary, when a companion file exists without the data file (it belongs to a dictionary
// of another data file with the same base name), when the resource folder's name is taken
// without the data file (a folder of the user's, which the import would replace), or when a
// dictionary is there and may not be replaced. The message names the file and says why.
Status checkReplaceable(const std::string& dataFile, bool replaceDictionary);

}  // namespace lexora
