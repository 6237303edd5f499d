#include "gui/main_window/popup_bubble.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "gui/widgets/html_viewer.h"
#include "gui/widgets/icon_painter.h"

namespace lexora {

BubblePage splitBubblePage(const QString& page) {
  static const QRegularExpression input(QStringLiteral("<input\\b([^>]*)>"),
                                        QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression attribute(
      QStringLiteral("([A-Za-z_:-]+)\\s*=\\s*(?:'([^']*)'|\"([^\"]*)\"|([^\\s>]+))"));
  static const QRegularExpression cmdName(QStringLiteral("^cmd:(\\d+)$"),
                                          QRegularExpression::CaseInsensitiveOption);
  static const QRegularExpression emptyButtonParagraph(
      QStringLiteral("<p\\s+align=[\"']?right[\"']?\\s*>\\s*(?=</body>)"),
      QRegularExpression::CaseInsensitiveOption);
  BubblePage result;
  qsizetype last = 0;
  auto inputs = input.globalMatch(page);
  while (inputs.hasNext()) {
    QRegularExpressionMatch m = inputs.next();
    result.html += page.mid(last, m.capturedStart() - last);
    last = m.capturedEnd();
    QString type, name, value;
    auto attributes = attribute.globalMatch(m.captured(1));
    while (attributes.hasNext()) {
      QRegularExpressionMatch a = attributes.next();
      QString v = a.captured(2) + a.captured(3) + a.captured(4);
      QString key = a.captured(1).toLower();
      if (key == QLatin1String("type")) type = v;
      if (key == QLatin1String("name")) name = v;
      if (key == QLatin1String("value")) value = v;
    }
    QRegularExpressionMatch command = cmdName.match(name);
    if (type.compare(QLatin1String("button"), Qt::CaseInsensitive) == 0 && command.hasMatch()) {
      result.buttons.push_back({command.captured(1).toInt(), value});
    }
  }
  result.html += page.mid(last);
  result.html.remove(emptyButtonParagraph);
  return result;
}

PopupBubble::PopupBubble(QWidget* parent)
    : QFrame(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                         Qt::WindowDoesNotAcceptFocus),
      viewer_(new HtmlViewer(this)),
      iconLabel_(new QLabel(this)),
      buttonRow_(new QHBoxLayout),
      timer_(new QTimer(this)) {
  setObjectName(QStringLiteral("popupBubble"));
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFrameShape(QFrame::Box);
  setStyleSheet(
      QStringLiteral("#popupBubble { background: #ffffff; border: 1px solid #1f3a68; }"
                     "#bubbleHeader { background: #1f3a68; }"
                     "#bubbleTitle { color: white; font-weight: bold; }"
                     "#bubbleClose { color: white; border: none; font-weight: bold; }"
                     "QPushButton { padding: 2px 12px; }"));

  auto* header = new QWidget(this);
  header->setObjectName(QStringLiteral("bubbleHeader"));
  auto* headerRow = new QHBoxLayout(header);
  headerRow->setContentsMargins(6, 3, 4, 3);
  auto* title = new QLabel(QStringLiteral("Lexora"), header);
  title->setObjectName(QStringLiteral("bubbleTitle"));
  auto* close = new QToolButton(header);
  close->setObjectName(QStringLiteral("bubbleClose"));
  close->setText(QStringLiteral("\u2715"));
  close->setAutoRaise(true);
  connect(close, &QToolButton::clicked, this, [this] { removeNotification(id_); });
  headerRow->addWidget(iconLabel_);
  headerRow->addWidget(title, 1);
  headerRow->addWidget(close);

  viewer_->setFrameShape(QFrame::NoFrame);
  viewer_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  connect(viewer_, &HtmlViewer::linkTapped, this, &PopupBubble::linkTapped);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(1, 1, 1, 1);
  layout->setSpacing(0);
  layout->addWidget(header);
  layout->addWidget(viewer_, 1);
  buttonRow_->setContentsMargins(6, 2, 6, 6);
  buttonRow_->addStretch(1);
  layout->addLayout(buttonRow_);

  timer_->setSingleShot(true);
  connect(timer_, &QTimer::timeout, this, [this] { removeNotification(id_); });
}

void PopupBubble::addNotification(uint32_t id, const QString& page, int seconds,
                                  const QIcon& icon) {
  id_ = id;
  page_ = page;
  showing_ = true;
  BubblePage parts = splitBubblePage(page);
  buttons_ = parts.buttons;

  // The old buttons go later: this may run inside one of their own clicks (Prev, Next).
  while (buttonRow_->count() > 1) {
    QLayoutItem* item = buttonRow_->takeAt(1);
    if (QWidget* old = item->widget()) {
      old->hide();
      old->setProperty("command", QVariant());
      old->deleteLater();
    }
    delete item;
  }
  for (const BubbleButton& button : buttons_) {
    auto* push = new QPushButton(button.label, this);
    push->setFocusPolicy(Qt::NoFocus);
    push->setProperty("command", button.command);
    const int command = button.command;
    connect(push, &QPushButton::clicked, this, [this, command] { emit commandSent(command); });
    buttonRow_->addWidget(push);
  }
  iconLabel_->setPixmap(icon.pixmap(16, 16));
  viewer_->showPage(parts.html, dataFile_);
  placeNearTop();
  show();
  raise();
  seconds_ = seconds;
  // A new page under the pointer (Prev, Next) waits for the pointer to leave.
  if (!underMouse()) timer_->start(seconds_ * 1000);
}

bool PopupBubble::isCountingDown() const { return timer_->isActive(); }

void PopupBubble::enterEvent(QEnterEvent* event) {
  QFrame::enterEvent(event);
  timer_->stop();
}

void PopupBubble::leaveEvent(QEvent* event) {
  QFrame::leaveEvent(event);
  if (showing_) timer_->start(seconds_ * 1000);
}

bool PopupBubble::removeNotification(uint32_t id) {
  if (!showing_ || id != id_) return false;
  showing_ = false;
  timer_->stop();
  hide();
  return true;
}

bool PopupBubble::pressButton(int command) {
  for (QPushButton* push : findChildren<QPushButton*>()) {
    const QVariant value = push->property("command");
    if (value.isValid() && value.toInt() == command) {
      push->click();
      return true;
    }
  }
  return false;
}

void PopupBubble::placeNearTop() {
  QScreen* screen = QGuiApplication::primaryScreen();
  QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 800, 600);
  const int width = std::min(380, area.width() - 16);
  viewer_->document()->setTextWidth(width - 12);
  const int buttonsHeight = buttons_.empty() ? 6 : 36;
  const int contentHeight = static_cast<int>(viewer_->document()->size().height()) + 8;
  const int height = std::min(area.height() * 3 / 5, contentHeight + 26 + buttonsHeight);
  setGeometry(area.left() + (area.width() - width) / 2, area.top() + 8, width, height);
}

}  // namespace lexora
