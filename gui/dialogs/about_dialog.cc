#include "gui/dialogs/about_dialog.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <algorithm>

#include "gui/dialogs/about_layout.h"
#include "gui/dialogs/help.h"
#include "gui/widgets/icon_painter.h"
#include "gui/widgets/qt_geometry.h"
#include "platform/desktop_programs.h"

#ifndef LEXORA_VERSION
#define LEXORA_VERSION "0.1.0"
#endif

namespace lexora {

const QString AboutDialog::kVersionText = QStringLiteral("Lexora v" LEXORA_VERSION);
const QString AboutDialog::kHomePageText = QStringLiteral("Lexora help (Lexora.htm)");
const QString AboutDialog::kSupportText = QStringLiteral("Getting and importing dictionaries");
const QString AboutDialog::kCreditsText = QStringLiteral(
    "Entry pages are shown with the text browser of the Qt toolkit (The Qt Company, LGPL).\n"
    "Meanings are compressed with the zlib library by Jean-loup Gailly and Mark Adler.");

namespace {

constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 400;
constexpr int kSeparatorY = 40;
constexpr int kIconSize = 30;

QLabel* makeLink(const QString& text, const QString& name, QWidget* parent) {
  auto* link = new QLabel(text, parent);
  link->setObjectName(name);
  QFont font(QStringLiteral("Tahoma"));
  font.setPixelSize(14);
  font.setWeight(QFont::Normal);
  font.setUnderline(true);
  font.setItalic(false);
  font.setStyleHint(QFont::SansSerif);
  link->setFont(font);
  QPalette palette = link->palette();
  palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
  link->setPalette(palette);
  link->setCursor(Qt::PointingHandCursor);
  link->setFocusPolicy(Qt::TabFocus);  // Return or Space on a focused link opens it too
  link->setWordWrap(true);             // on two lines when the box is too narrow for one
  link->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return link;
}

}  // namespace

AboutDialog::AboutDialog(DesktopPrograms* programs, QWidget* parent)
    : QDialog(parent), programs_(programs) {
  setWindowTitle(QStringLiteral("About Lexora"));

  programIcon_ = new QLabel(this);
  programIcon_->setObjectName(QStringLiteral("programIcon"));
  programIcon_->setPixmap(paintPicture(Picture::kProgram, kIconSize, devicePixelRatioF()));
  programIcon_->setGeometry(2, 5, kIconSize, kIconSize);

  versionLine_ = new QLabel(kVersionText, this);
  versionLine_->setObjectName(QStringLiteral("versionLine"));
  versionLine_->setFont(QFont(QStringLiteral("Tahoma"), 9, QFont::Bold));

  homePageLabel_ = new QLabel(QStringLiteral("Home page:"), this);
  homePageLabel_->setObjectName(QStringLiteral("homePageLabel"));
  supportLabel_ = new QLabel(QStringLiteral("Support:"), this);
  supportLabel_->setObjectName(QStringLiteral("supportLabel"));

  homePageLink_ = makeLink(kHomePageText, QStringLiteral("homePageLink"), this);
  supportLink_ = makeLink(kSupportText, QStringLiteral("supportLink"), this);
  homePageLink_->installEventFilter(this);
  supportLink_->installEventFilter(this);

  credits_ = new QLabel(kCreditsText, this);
  credits_->setObjectName(QStringLiteral("credits"));
  credits_->setFont(QFont(QStringLiteral("Tahoma"), 7));
  credits_->setWordWrap(true);
  credits_->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  installHelpKey(this, programs_, HelpTopic::AboutBox);

  if (parent != nullptr && parent->window()->width() > 0) {
    resize(parent->window()->size());
  } else {
    resize(kDefaultWidth, kDefaultHeight);
  }
  layoutControls();
}

AboutDialog::~AboutDialog() = default;

void AboutDialog::openHomePage() {
  if (programs_ != nullptr) programs_->startHelpViewer(std::string("file:") + kHelpFileName);
}

void AboutDialog::openSupportMail() {
  if (programs_ != nullptr) showHelp(*programs_, HelpTopic::Dictionaries);
}

bool AboutDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == homePageLink_ || watched == supportLink_) {
    bool tapped = false;
    if (event->type() == QEvent::MouseButtonRelease) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      tapped = mouse->button() == Qt::LeftButton &&
               static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
    } else if (event->type() == QEvent::KeyPress) {
      const int key = static_cast<QKeyEvent*>(event)->key();
      tapped = key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space;
    }
    if (tapped) {
      if (watched == homePageLink_) {
        openHomePage();
      } else {
        openSupportMail();
      }
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void AboutDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  // The separator under the header, across the whole width.
  QPainter painter(this);
  painter.setPen(QPen(Qt::black, 1, Qt::SolidLine));
  painter.drawLine(0, kSeparatorY, width(), kSeparatorY);
}

void AboutDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  layoutControls();
}

void AboutDialog::layoutControls() {
  const QRect client = rect();
  AboutTextSizes texts;
  texts.labelWidth =
      std::max(homePageLabel_->sizeHint().width(), supportLabel_->sizeHint().width());
  // A link's width for its text on one line (its size hint follows its word wrapping).
  texts.homePageLinkWidth = homePageLink_->fontMetrics().horizontalAdvance(kHomePageText) + 2;
  texts.supportLinkWidth = supportLink_->fontMetrics().horizontalAdvance(kSupportText) + 2;
  // One line of a link as the label lays it out (a little more than the font's height).
  texts.lineHeight = std::max(homePageLink_->heightForWidth(texts.homePageLinkWidth),
                              homePageLabel_->sizeHint().height());
  const AboutLayout l =
      layoutAboutBox(ClientRect{client.left(), client.top(), client.left() + client.width(),
                                client.top() + client.height()},
                     texts);
  versionLine_->setGeometry(toQRect(l.versionLine));
  homePageLabel_->setGeometry(toQRect(l.homePageLabel));
  homePageLink_->setGeometry(toQRect(l.homePageLink));
  supportLabel_->setGeometry(toQRect(l.supportLabel));
  supportLink_->setGeometry(toQRect(l.supportLink));
  credits_->setGeometry(toQRect(l.credits));
}

}  // namespace lexora
