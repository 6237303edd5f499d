#include "platform/qt/desktop_programs_qt.h"

#include <QDesktopServices>
#include <QString>
#include <utility>

namespace lexora {

QtDesktopPrograms::QtDesktopPrograms(std::string helpFolder) : helpFolder_(std::move(helpFolder)) {}

QUrl QtDesktopPrograms::helpUrl(const std::string& helpFolder, const std::string& commandLine) {
  const QString line = QString::fromStdString(commandLine);
  static const QString kScheme = QStringLiteral("file:");
  if (!line.startsWith(kScheme)) return QUrl();
  const QString rest = line.mid(kScheme.size());
  const qsizetype hash = rest.indexOf(u'#');
  const QString name = hash < 0 ? rest : rest.left(hash);
  if (name.isEmpty() || name.contains(u'/') || name == QStringLiteral("..")) return QUrl();
  QUrl url = QUrl::fromLocalFile(QString::fromStdString(helpFolder) + name);
  if (hash >= 0) url.setFragment(rest.mid(hash + 1));
  return url;
}

bool QtDesktopPrograms::startHelpViewer(const std::string& commandLine) {
  const QUrl url = helpUrl(helpFolder_, commandLine);
  return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtDesktopPrograms::startBrowser(const std::string& url) {
  const QUrl address(QString::fromStdString(url), QUrl::StrictMode);
  return address.isValid() && QDesktopServices::openUrl(address);
}

bool QtDesktopPrograms::startMail(const std::string& commandLine) {
  const QUrl address(QString::fromStdString(commandLine), QUrl::StrictMode);
  if (!address.isValid() || address.scheme() != QStringLiteral("mailto")) return false;
  return QDesktopServices::openUrl(address);
}

}  // namespace lexora
