// How long the viewer takes to lay out and draw entries made to hurt it: tables nested 40 and
// 20 deep, a thousand pictures of devices and of files outside the dictionary, style sheet
// addresses, a data: address as long as a meaning can be (64 KB). Each page should take at
// most 100 ms.

#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QString>

#include "gui/widgets/html_viewer.h"
#include "render/display_settings.h"
#include "render/entry_renderer.h"

namespace lexora {
namespace {

std::u16string nestedTables(int depth) {
  std::u16string text = u"@trap\r\n- ";
  for (int i = 0; i < depth; ++i) text += u"<table><tr><td>";
  text += u"cell";
  for (int i = 0; i < depth; ++i) text += u"</td></tr></table>";
  return text;
}

std::u16string repeated(std::u16string_view piece, int times) {
  std::u16string text = u"@trap\r\n- ";
  for (int i = 0; i < times; ++i) text += piece;
  return text;
}

void layOut(benchmark::State& state, const std::u16string& entry) {
  const DisplaySettings settings;
  const QString page = QString::fromStdU16String(
      renderEntryPage(entry, RenderOptions{settings, u"/usr/share/lexora/", true}));
  HtmlViewer viewer;
  viewer.resize(400, 560);
  for (auto _ : state) {
    viewer.showPage(page, "/tmp/trap.pvm");
    benchmark::DoNotOptimize(viewer.document()->documentLayout()->documentSize());
    benchmark::DoNotOptimize(viewer.grab());
  }
}

void BM_NestedTables40(benchmark::State& state) { layOut(state, nestedTables(40)); }
void BM_NestedTables20(benchmark::State& state) { layOut(state, nestedTables(20)); }
void BM_DevicePictures(benchmark::State& state) {
  layOut(state, repeated(u"<img src=\"/dev/zero\"><img src=\"/dev/urandom\">", 500));
}
void BM_OutsideFiles(benchmark::State& state) {
  layOut(state, repeated(u"<img src=\"file:///etc/passwd\"><p style=\"background-image:"
                         u"url(/etc/hostname)\">x</p><img src=\"../../../etc/hostname\">",
                         300));
}
void BM_LongDataAddresses(benchmark::State& state) {
  layOut(state,
         u"@trap\r\n- <img src=\"data:image/png;base64," + std::u16string(60000, u'A') + u"\">");
}
void BM_HugeSizes(benchmark::State& state) {
  layOut(state,
         u"@trap\r\n- <img src=\"x.png\" width=\"100000\" height=\"100000\">"
         u"<font style=\"font-size:2000px\">W</font>");
}
// Every word hidden, each a fragment of its own to be shown; and words in table cells, each
// with the backgrounds of its cells to look through.
void BM_HiddenWords(benchmark::State& state) {
  layOut(state, repeated(u"<span style=\"font-size:1px;color:#fff;letter-spacing:-9px\">w</span>"
                         u"<font color=\"#fefefe\">v</font>",
                         300));
}
void BM_WordsInCells(benchmark::State& state) {
  layOut(state, repeated(u"<table bgcolor=\"#fff\"><tr><td bgcolor=\"#000\"><table><tr>"
                         u"<td><font color=\"#000\">w</font></td></tr></table></td></tr></table>",
                         100));
}
BENCHMARK(BM_NestedTables40)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NestedTables20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DevicePictures)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OutsideFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LongDataAddresses)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HugeSizes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HiddenWords)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WordsInCells)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lexora

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qEnvironmentVariable("QT_QPA_PLATFORM", "offscreen").toUtf8());
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
