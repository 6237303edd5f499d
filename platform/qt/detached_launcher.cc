#include "platform/qt/detached_launcher.h"

#include <QProcess>
#include <QString>

namespace lexora {

bool DetachedLauncher::startProgram(const std::string& path) {
  return QProcess::startDetached(QString::fromStdString(path), {});
}

}  // namespace lexora
