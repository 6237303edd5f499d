#include "gui/dialogs/help_window.h"

#include <QApplication>
#include <QDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <utility>

#include "gui/widgets/icon_painter.h"
#include "gui/widgets/plain_message_box.h"
#include "platform/qt/desktop_programs_qt.h"

namespace lexora {
namespace {

// The text names a file: shown as it is.
void warn(const QString& text) {
  showPlainMessage(nullptr, QMessageBox::Warning, QStringLiteral("Lexora"), text);
}

QDialog* makeHelpWindow(QTextBrowser*& browser) {
  auto* window = new QDialog(nullptr, Qt::Window);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setAttribute(Qt::WA_QuitOnClose, false);  // the program ends with its main window
  window->setObjectName(QStringLiteral("helpWindow"));
  window->setWindowTitle(QStringLiteral("Lexora help"));
  window->setWindowIcon(pictureIcon(Picture::kProgram));
  browser = new QTextBrowser(window);
  browser->setObjectName(QStringLiteral("helpBrowser"));
  // Links inside the help move within it; addresses of the web go to the desktop.
  browser->setOpenLinks(true);
  browser->setOpenExternalLinks(true);
  auto* layout = new QVBoxLayout(window);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser);
  window->resize(480, 560);
  return window;
}

}  // namespace

HelpWindowPrograms::HelpWindowPrograms(std::string helpFolder, DesktopPrograms* desktop,
                                       MessageShower showMessage)
    : helpFolder_(std::move(helpFolder)),
      desktop_(desktop),
      showMessage_(showMessage ? std::move(showMessage) : MessageShower(warn)) {}

HelpWindowPrograms::~HelpWindowPrograms() { delete window_; }

bool HelpWindowPrograms::startHelpViewer(const std::string& commandLine) {
  const QUrl url = QtDesktopPrograms::helpUrl(helpFolder_, commandLine);
  const QString file = url.toLocalFile();
  if (url.isEmpty() || !QFileInfo(file).isFile()) {
    showMessage_(QStringLiteral("The help cannot be shown: the help file %1 is not there.")
                     .arg(file.isEmpty() ? QString::fromStdString(commandLine) : file));
    return false;
  }
  if (window_ == nullptr) {
    QTextBrowser* browser = nullptr;
    window_ = makeHelpWindow(browser);
    browser_ = browser;
  }
  // The same file at another topic only scrolls; setSource reloads only a new file.
  browser_->setSource(url);
  if (!url.fragment().isEmpty()) browser_->scrollToAnchor(url.fragment());
  // Asked from a modal dialog (F1 there), the help must be modal too, or it could not be used
  // until that dialog closes.
  QWidget* modal = QApplication::activeModalWidget();
  const Qt::WindowModality modality =
      modal != nullptr && modal != window_ ? Qt::ApplicationModal : Qt::NonModal;
  if (window_->windowModality() != modality) {
    window_->hide();
    window_->setWindowModality(modality);
  }
  window_->show();
  window_->raise();
  window_->activateWindow();
  return true;
}

bool HelpWindowPrograms::startBrowser(const std::string& url) {
  if (desktop_ != nullptr && desktop_->startBrowser(url)) return true;
  showMessage_(
      QStringLiteral("No web browser could be started for %1.").arg(QString::fromStdString(url)));
  return false;
}

bool HelpWindowPrograms::startMail(const std::string& commandLine) {
  if (desktop_ != nullptr && desktop_->startMail(commandLine)) return true;
  showMessage_(QStringLiteral("No mail program could be started for %1.")
                   .arg(QString::fromStdString(commandLine)));
  return false;
}

}  // namespace lexora
