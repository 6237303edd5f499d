#pragma once
// Names that untrusted text (an entry, a page, a source) gives for files in a folder of ours:
// a name reaches only the folder's own files, through no "..", absolute name or link that
// leads out of it.

#include <filesystem>
#include <optional>
#include <string_view>

namespace lexora {

// The name as a path relative to the folder, normalised; nullopt for an empty or absolute
// name, or one that climbs out with "..".
std::optional<std::filesystem::path> relativeInFolder(std::string_view name);

// The folder's real path (links resolved) with a closing '/'; empty when it cannot be resolved.
std::string realFolder(const std::filesystem::path& folder);

// True when `path`, its links resolved, lies in the folder whose realFolder is `real`.
bool resolvesInto(const std::filesystem::path& path, const std::string& real);

}  // namespace lexora
