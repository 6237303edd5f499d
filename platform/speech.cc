#include "platform/speech.h"

#include <espeak-ng/speak_lib.h>

#include <cctype>
#include <cstdint>
#include <mutex>
#include <vector>

#include "util/loaded_library.h"

namespace lexora {
namespace {

std::mutex& speechLock() {
  static std::mutex lock;
  return lock;
}

int collect(short* samples, int count, espeak_EVENT* events) {
  if (samples == nullptr || events == nullptr || events->user_data == nullptr) return 0;
  auto* out = static_cast<std::vector<int16_t>*>(events->user_data);
  out->insert(out->end(), samples, samples + count);
  return 0;
}

void putLittleEndian(std::string& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

std::string wavOf(const std::vector<int16_t>& samples, uint32_t rate) {
  const auto dataBytes = static_cast<uint32_t>(samples.size() * 2);
  std::string wav = "RIFF";
  putLittleEndian(wav, 36 + dataBytes, 4);
  wav += "WAVEfmt ";
  putLittleEndian(wav, 16, 4);
  putLittleEndian(wav, 1, 2);  // PCM
  putLittleEndian(wav, 1, 2);  // mono
  putLittleEndian(wav, rate, 4);
  putLittleEndian(wav, rate * 2, 4);
  putLittleEndian(wav, 2, 2);
  putLittleEndian(wav, 16, 2);
  wav += "data";
  putLittleEndian(wav, dataBytes, 4);
  for (int16_t s : samples) putLittleEndian(wav, static_cast<uint16_t>(s), 2);
  return wav;
}

// eSpeak NG, opened on the first word spoken: linked in, it and the sound libraries it pulls
// in (about thirty) would be loaded by every start of every program, which doubled the start
// of a lookup from the command line.
struct Espeak {
  decltype(&espeak_Initialize) initialize = nullptr;
  decltype(&espeak_SetSynthCallback) setSynthCallback = nullptr;
  decltype(&espeak_SetVoiceByProperties) setVoiceByProperties = nullptr;
  decltype(&espeak_SetVoiceByName) setVoiceByName = nullptr;
  decltype(&espeak_Synth) synth = nullptr;
  decltype(&espeak_Synchronize) synchronize = nullptr;
  int rate = 0;  // samples a second; 0 when eSpeak NG cannot start
};

// The library's functions, or null when it is not there. REQUIRES: speechLock() held.
const Espeak* espeak() {
  static const LoadedLibrary library("libespeak-ng.so.1");
  static const Espeak loaded = [] {
    Espeak e;
    if (library.bind("espeak_Initialize", e.initialize) &&
        library.bind("espeak_SetSynthCallback", e.setSynthCallback) &&
        library.bind("espeak_SetVoiceByProperties", e.setVoiceByProperties) &&
        library.bind("espeak_SetVoiceByName", e.setVoiceByName) &&
        library.bind("espeak_Synth", e.synth) &&
        library.bind("espeak_Synchronize", e.synchronize)) {
      e.rate = e.initialize(AUDIO_OUTPUT_SYNCHRONOUS, 0, nullptr, espeakINITIALIZE_DONT_EXIT);
    }
    return e;
  }();
  return loaded.rate > 0 ? &loaded : nullptr;
}

}  // namespace

std::string speechVoiceFor(std::string_view language) {
  std::string voice;
  for (char c : language) {
    if (c == '_') c = '-';
    voice += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return voice.empty() || voice == "none" ? "en" : voice;
}

std::string languageOfLetters(std::u16string_view word) {
  for (char16_t c : word) {
    if ((c >= 0x1EA0 && c <= 0x1EF9) || c == 0x0110 || c == 0x0111 || c == 0x01A0 || c == 0x01A1 ||
        c == 0x01AF || c == 0x01B0)
      return "vi";
    if (c >= 0x0400 && c <= 0x04FF) return "ru";
  }
  return "en";
}

bool speakToWav(std::string_view text, std::string_view language, std::string& wav,
                std::string& error) {
  // eSpeak NG keeps one state for the process.
  std::lock_guard<std::mutex> hold(speechLock());
  const Espeak* e = espeak();
  if (e == nullptr) {
    error = "eSpeak NG cannot start (are Debian's libespeak-ng1 and espeak-ng-data installed?)";
    return false;
  }
  e->setSynthCallback(collect);
  const std::string voice = speechVoiceFor(language);
  espeak_VOICE wanted{};
  wanted.languages = voice.c_str();
  if (e->setVoiceByProperties(&wanted) != EE_OK) {
    const std::string base = voice.substr(0, voice.find('-'));
    wanted.languages = base.c_str();
    if (e->setVoiceByProperties(&wanted) != EE_OK) e->setVoiceByName("en");
  }
  std::vector<int16_t> samples;
  const std::string words(text);
  if (e->synth(words.c_str(), words.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
               &samples) != EE_OK ||
      e->synchronize() != EE_OK || samples.empty()) {
    error = "eSpeak NG said nothing for '" + words + "'";
    return false;
  }
  wav = wavOf(samples, static_cast<uint32_t>(e->rate));
  return true;
}

}  // namespace lexora
