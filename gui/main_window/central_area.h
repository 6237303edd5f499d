#pragma once
// The main window's client area: the strip with the "Select Dict" button, the word box and the
// lookup button, and below it the panes (viewer, word list, history tree), all placed from the
// layout rectangle whenever the area changes size.

#include <QWidget>
#include <vector>

class QLineEdit;
class QToolButton;

namespace lexora {

class CentralArea : public QWidget {
 public:
  explicit CentralArea(QWidget* parent);

  QToolButton* selectDictButton() const { return selectDictButton_; }
  QLineEdit* wordBox() const { return wordBox_; }
  QToolButton* lookupButton() const { return lookupButton_; }

  // The panes, which all take the same rectangle below the strip.
  void setPanes(std::vector<QWidget*> panes);
  void placeAll();

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  QToolButton* selectDictButton_;
  QLineEdit* wordBox_;
  QToolButton* lookupButton_;
  std::vector<QWidget*> panes_;
};

}  // namespace lexora
