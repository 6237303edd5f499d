#pragma once
// The popup bubble: a small frameless window near the top of the screen that shows one bubble
// page. The page's <input type=button name='cmd:N' value='...'> elements become real buttons
// that send command N; links become lookups. A bubble stays while the pointer is over it and
// for its time after the pointer leaves (or after it appears, when the pointer never comes),
// and is replaced, never stacked, by the next one: there is one bubble window, showing the
// notification last added.

#include <QFrame>
#include <QIcon>
#include <QString>
#include <string>
#include <vector>

class QHBoxLayout;
class QLabel;
class QTimer;

namespace lexora {

class HtmlViewer;

struct BubbleButton {
  int command = 0;
  QString label;
  bool operator==(const BubbleButton&) const = default;
};

// A bubble page split into what the viewer draws and the buttons it cannot draw.
struct BubblePage {
  QString html;  // the page without its buttons
  std::vector<BubbleButton> buttons;
};
BubblePage splitBubblePage(const QString& page);

class PopupBubble : public QFrame {
  Q_OBJECT
 public:
  explicit PopupBubble(QWidget* parent = nullptr);

  // Shows notification `id` with `page` for `seconds`, replacing whatever was shown.
  void addNotification(uint32_t id, const QString& page, int seconds, const QIcon& icon);
  // The data file of the dictionary whose entry the next notifications show (empty: none);
  // their pages may use the files of its resource folder.
  void setDictionary(const std::string& dataFile) { dataFile_ = dataFile; }
  // Takes notification `id` away if it is the one on screen. False when it was not.
  bool removeNotification(uint32_t id);

  bool isShowingNotification() const { return showing_; }
  uint32_t notificationId() const { return id_; }
  const QString& page() const { return page_; }
  const std::vector<BubbleButton>& buttons() const { return buttons_; }

  // Presses the button that sends `command` (as a tap would). False when there is none.
  bool pressButton(int command);

  // True while the bubble's time runs (not while the pointer is over it).
  bool isCountingDown() const;

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 signals:
  void commandSent(int command);
  void linkTapped(const QString& word);

 private:
  void placeNearTop();

  HtmlViewer* viewer_;
  QLabel* iconLabel_;
  QHBoxLayout* buttonRow_;
  QTimer* timer_;
  QString page_;
  std::string dataFile_;
  std::vector<BubbleButton> buttons_;
  uint32_t id_ = 0;
  bool showing_ = false;
  int seconds_ = 0;
};

}  // namespace lexora
