// A plain X client standing in for any application with selected text: it owns the PRIMARY
// selection with the text of its first argument, says "ready" on standard output and serves
// the selection until it is ended.

#include <QApplication>
#include <QClipboard>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (argc < 2 || !clipboard->supportsSelection()) return 2;
  clipboard->setText(QString::fromUtf8(argv[1]), QClipboard::Selection);
  QTimer::singleShot(0, [] {
    std::printf("ready\n");
    std::fflush(stdout);
  });
  return QApplication::exec();
}
