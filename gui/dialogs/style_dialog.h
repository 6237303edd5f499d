#pragma once
// The interface style dialog: per element of an entry (word, pronunciation, word class, ...)
// its hidden, bold and italic flags and its colour, the page background (a colour or a
// picture) and the time a popup bubble stays on screen, with a live preview of a sample entry.
//
// Every change acts on the display settings at once, so the preview shows it; the popup time
// is taken on OK. Cancel (or closing the dialog any other way) puts every display setting
// back as it was when the dialog opened.

#include <QDialog>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "app/settings_schema.h"
#include "render/display_settings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QToolButton;

namespace lexora {

class DesktopPrograms;
class HtmlViewer;

// The choosers and messages the dialog uses, replaceable for tests.
struct StyleDialogServices {
  // A colour chosen by the user as 0x00BBGGRR, or nothing when the chooser was cancelled.
  // Default: Qt's colour chooser, starting from black.
  std::function<std::optional<uint32_t>(QWidget* parent)> chooseColour;
  // The full path of a background picture, or nothing when the picker was cancelled.
  // Default: the file picker, offering the files whose names end in "jpeg" (any case).
  std::function<std::optional<std::u16string>(QWidget* parent)> choosePicture;
  // Shows a message box with an OK button. Default: QMessageBox.
  std::function<void(QWidget* parent, const QString& text)> showMessage;
  // Help viewer for the help key; none when null.
  DesktopPrograms* programs = nullptr;
  // Folder of the line-mark pictures, with its trailing '/'. Default: the data folder.
  std::u16string programFolder;
};

class StyleDialog : public QDialog {
  Q_OBJECT

 public:
  // The list's rows: the prompt, then the seven elements in style-table order.
  static constexpr int kPromptRow = 0;
  static const QString kPromptText;   // "Choose Style to Change"
  static const QString kTitleText;    // "Customize Interface Style"
  static const QString kLinkMessage;  // "Word will be transalated: "
  // The sample entry of the preview, its lines joined by CR LF.
  static const std::u16string kSampleEntry;
  static constexpr int kMinPopupTime = schema::kMinDialogTime2Show;
  static constexpr int kMaxPopupTime = schema::kMaxDialogTime2Show;

  // Child widgets carry the object names "titleLabel", "popupTimeLabel", "popupTimeBox",
  // "backColorButton", "textureButton", "styleList", "hiddenBox", "boldBox", "italicBox",
  // "colorButton", "preview", "okButton", "cancelButton".
  // REQUIRES: `display` outlives the dialog.
  StyleDialog(DisplaySettings& display, StyleDialogServices services, QWidget* parent = nullptr);
  ~StyleDialog() override;

  // The page the preview shows now, as rendered, and how many times it was rendered.
  QString previewPage() const;
  int previewRefreshCount() const { return previewRefreshes_; }

  // Shows the message for a tapped link of the preview.
  void linkTapped(const QString& href);
  void reject() override;  // Cancel

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  enum class Flag { Hidden, Bold, Italic };

  void buildControls();
  void styleChosen(int row);
  void flagClicked(Flag flag, bool checked);
  void colorClicked();
  void backColorClicked();
  void textureClicked();
  void refreshPreview();
  void storePopupTime();  // OK: the popup time, then accept
  // The two background radios as the settings have it.
  void showBackgroundInForce();
  void layOut();
  DisplayStyle* chosenStyle();  // null at the prompt

  DisplaySettings& display_;
  const DisplaySettings opening_;  // what Cancel restores
  StyleDialogServices services_;
  int previewRefreshes_ = 0;

  QLabel* titleLabel_ = nullptr;
  QLabel* popupTimeLabel_ = nullptr;
  QSpinBox* popupTimeBox_ = nullptr;
  QRadioButton* backColorButton_ = nullptr;
  QRadioButton* textureButton_ = nullptr;
  QComboBox* styleList_ = nullptr;
  QCheckBox* hiddenBox_ = nullptr;
  QCheckBox* boldBox_ = nullptr;
  QCheckBox* italicBox_ = nullptr;
  QPushButton* colorButton_ = nullptr;
  HtmlViewer* preview_ = nullptr;
  QToolButton* okButton_ = nullptr;
  QToolButton* cancelButton_ = nullptr;
};

// A Qt colour as a Windows colour value 0x00BBGGRR.
uint32_t colourFromQColor(const QColor& colour);

}  // namespace lexora
