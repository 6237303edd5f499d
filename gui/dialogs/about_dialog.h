#pragma once
// The about box: the program's name and version, a link to the program's documentation (the
// bundled help file) and one to the help on getting dictionaries, and the credits. A tap on a
// link starts the help viewer; the box stays open. It has no buttons of its own: the window's close
// button or Escape closes it.

#include <QDialog>
#include <QString>

class QLabel;

namespace lexora {

class DesktopPrograms;

class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  static const QString kVersionText;  // "Lexora v" and the program's version
  // The program has no address on the network: its "home" is the help file that comes with
  // it, and support is the help's part on getting and importing dictionaries.
  static const QString kHomePageText;  // opens the help file at its start
  static const QString kSupportText;   // opens the help at "DictionaryMenu"
  static const QString kCreditsText;

  // Child widgets carry the object names "versionLine", "homePageLabel", "homePageLink",
  // "supportLabel", "supportLink", "credits", "programIcon".
  // REQUIRES: `programs` (may be null: the links and help do nothing) outlives the dialog.
  explicit AboutDialog(DesktopPrograms* programs, QWidget* parent = nullptr);
  ~AboutDialog() override;

  // What a tap on each link does.
  void openHomePage();
  void openSupportMail();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void layoutControls();

  DesktopPrograms* programs_;
  QLabel* programIcon_ = nullptr;
  QLabel* versionLine_ = nullptr;
  QLabel* homePageLabel_ = nullptr;
  QLabel* homePageLink_ = nullptr;
  QLabel* supportLabel_ = nullptr;
  QLabel* supportLink_ = nullptr;
  QLabel* credits_ = nullptr;
};

}  // namespace lexora
