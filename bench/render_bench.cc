// Rendering a typical 2 KB entry into a page, into popup fragments, and for a terminal.

#include <benchmark/benchmark.h>

#include "render/display_settings.h"
#include "render/entry_renderer.h"
#include "render/terminal_renderer.h"

namespace lexora {
namespace {

std::u16string typicalEntry() {
  std::u16string text = u"@run|r\u028cn|\r\n";
  const std::u16string block =
      u"* \u0111\u1ed9ng t\u1eeb\r\n"
      u"- ch\u1ea1y, ch\u1ea1y v\u1ed9i, ch\u1ea1y nhanh $sprint$\r\n"
      u"=$to run about the streets+ch\u1ea1y ng\u01b0\u1ee3c ch\u1ea1y xu\u00f4i ngo\u00e0i "
      u"ph\u1ed1\r\n"
      u"=$the train runs every hour+xe l\u1eeda ch\u1ea1y m\u1ed7i gi\u1edd m\u1ed9t "
      u"chuy\u1ebfn\r\n"
      u"- v\u1eadn h\u00e0nh, ho\u1ea1t \u0111\u1ed9ng (m\u00e1y m\u00f3c)\r\n"
      u"!$to run out of something+h\u1ebft, c\u1ea1n\r\n"
      u"# syn: $dash$, $race$, $hurry$\r\n";
  while (text.size() < 1000) text += block;  // about 2 KB of UTF-8
  return text;
}

void BM_RenderEntryPage(benchmark::State& state) {
  const std::u16string text = typicalEntry();
  const DisplaySettings settings;
  const RenderOptions options{settings, u"/usr/lib/lexora/", true};
  for (auto _ : state) {
    std::u16string page = renderEntryPage(text, options);
    benchmark::DoNotOptimize(page.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}
BENCHMARK(BM_RenderEntryPage);

void BM_RenderEntryFragments(benchmark::State& state) {
  const std::u16string text = typicalEntry();
  const DisplaySettings settings;
  const RenderOptions options{settings, u"/usr/lib/lexora/", true};
  std::vector<std::u16string> fragments;
  for (auto _ : state) {
    renderEntryFragments(text, fragments, options);
    benchmark::DoNotOptimize(fragments.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size() * 2));
}
BENCHMARK(BM_RenderEntryFragments);

void BM_RenderEntryForTerminal(benchmark::State& state) {
  const std::u16string text = typicalEntry();
  const DisplaySettings settings;
  std::u16string out;
  for (auto _ : state) {
    out.clear();
    renderEntryForTerminal(text, settings, true, out);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_RenderEntryForTerminal);

}  // namespace
}  // namespace lexora

BENCHMARK_MAIN();
