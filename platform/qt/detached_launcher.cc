#include "platform/qt/detached_launcher.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <cstdlib>

namespace lexora {
namespace {

constexpr char kStartMark[] = "LEXORA_STARTED_BY_OTHER";

}  // namespace

bool DetachedLauncher::startProgram(const std::string& path) {
  QProcess process;
  process.setProgram(QString::fromStdString(path));
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QString::fromLatin1(kStartMark), QStringLiteral("1"));
  process.setProcessEnvironment(environment);
  return process.startDetached();
}

bool startedByOtherProgram() {
  static const bool started = [] {
    const char* mark = std::getenv(kStartMark);
    const bool set = mark != nullptr && *mark != '\0';
    ::unsetenv(kStartMark);
    return set;
  }();
  return started;
}

}  // namespace lexora
