// lexora-cli settings [SpeakHeadwords 0|1]: every value of the settings key, one per line,
// sorted by name (or sets whether the window's headwords get a speaker link):
//   Time2Show (REG_DWORD) = 10 (0xa)
//   Dictionary1 (REG_SZ) = "/home/me/EV.pvm"
//   BackColor (REG_BINARY) = ff ff ff 00

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <utility>

#include "app/settings.h"
#include "app/settings_schema.h"
#include "cli/arguments.h"
#include "cli/command_support.h"
#include "cli/commands.h"
#include "platform/registry_location.h"
#include "util/coding.h"
#include "util/standard_utf8.h"

namespace lexora::cli {
namespace {

std::string hexBytes(const std::vector<uint8_t>& bytes) {
  std::string out;
  char buffer[4];
  for (size_t i = 0; i < bytes.size(); ++i) {
    std::snprintf(buffer, sizeof buffer, "%02x", bytes[i]);
    if (i > 0) out += ' ';
    out += buffer;
  }
  return out;
}

// A stored string (UTF-16LE up to its first NUL), quoted, with quotes, backslashes and
// control characters escaped.
std::string quoted(const std::vector<uint8_t>& bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto unit = loadLittleEndian<char16_t>(bytes.data() + i);
    if (unit == 0) break;
    text.push_back(unit);
  }
  std::string out = "\"";
  for (const char c : toUtf8(text)) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char buffer[8];
      std::snprintf(buffer, sizeof buffer, "\\x%02x", static_cast<unsigned char>(c));
      out += buffer;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string formatValue(RegistryType type, const std::vector<uint8_t>& bytes) {
  if (type == RegistryType::kDword && bytes.size() == 4) {
    const uint32_t value = loadLittleEndian<uint32_t>(bytes.data());
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%u (0x%x)", value, value);
    return buffer;
  }
  if (type == RegistryType::kString) return quoted(bytes);
  return hexBytes(bytes);
}

}  // namespace

int runSettings(const std::vector<std::string>& args, CommandIo& io) {
  std::string why;
  const auto parsed = parseArguments(args, {}, 0, 2, why);
  if (!parsed || parsed->positional.size() == 1) return usageError(io, kSettingsUsage, why);
  // The one value that only this command sets: the window's voice.
  const bool setVoice = parsed->positional.size() == 2;
  if (setVoice && (parsed->positional[0] != toUtf8(schema::kSpeakHeadwords) ||
                   (parsed->positional[1] != "0" && parsed->positional[1] != "1"))) {
    return usageError(io, kSettingsUsage, "only SpeakHeadwords 0 or 1 can be set");
  }
  if (!openSettingsKey(std::string())) {
    return failure(io, defaultRegistryPath(), settingsKeyError());
  }
  RegistryKey& key = settingsKey();
  if (setVoice) {
    if (!key.writeDword(schema::kSpeakHeadwords, parsed->positional[1] == "1" ? 1u : 0u))
      return failure(io, defaultRegistryPath(), "cannot write SpeakHeadwords");
    return kExitOk;
  }
  std::vector<std::pair<std::string, std::string>> lines;
  std::u16string name;
  for (bool more = key.firstValue(name); more; more = key.nextValue(name)) {
    RegistryType type = RegistryType::kNone;
    std::vector<uint8_t> bytes;
    if (!key.readRaw(name.c_str(), type, bytes)) continue;  // deleted meanwhile
    lines.emplace_back(toUtf8(name), std::string(" (") + registryTypeName(type) +
                                         ") = " + formatValue(type, bytes));
  }
  std::sort(lines.begin(), lines.end());
  for (const auto& [valueName, rest] : lines) {
    io.out << valueName << rest << "\n";
  }
  return kExitOk;
}

}  // namespace lexora::cli
