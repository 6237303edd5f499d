#include "gui/dialogs/style_dialog.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSpinBox>
#include <QToolButton>
#include <utility>

#include "gui/dialogs/file_picker_dialog.h"
#include "gui/dialogs/help.h"
#include "gui/dialogs/style_dialog_layout.h"
#include "gui/widgets/html_viewer.h"
#include "gui/widgets/picture_button.h"
#include "gui/widgets/plain_message_box.h"
#include "gui/widgets/qt_geometry.h"
#include "gui/widgets/return_key.h"
#include "platform/program_folder.h"
#include "render/entry_renderer.h"

namespace lexora {

const QString StyleDialog::kPromptText = QStringLiteral("Choose Style to Change");
const QString StyleDialog::kTitleText = QStringLiteral("Customize Interface Style");
const QString StyleDialog::kLinkMessage = QStringLiteral("Word will be transalated: ");
const std::u16string StyleDialog::kSampleEntry =
    u"@word /pronunciation/\r\n"
    u"* word-class\r\n"
    u"- meaning\r\n"
    u"=$example come here+mean of example\r\n"
    u"!$idiom\r\n"
    u"- meaning\r\n"
    u"=$example come here+mean of example\r\n"
    u"# syn: $synonymI$, $synonymII$";

namespace {

constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 400;

std::optional<uint32_t> chooseColourWithQt(QWidget* parent) {
  // The chooser starts from black, not from the colour being changed.
  const QColor chosen = QColorDialog::getColor(QColor(Qt::black), parent);
  if (!chosen.isValid()) return std::nullopt;
  return colourFromQColor(chosen);
}

// Background pictures: the folder-tree file picker, offering the files whose names end in
// "jpeg" (any case) and starting near the picture in use. A picker closed with OK but no file
// counts as cancelled.
std::optional<std::u16string> choosePictureWithPicker(QWidget* parent,
                                                      const std::u16string& current) {
  const std::optional<QString> path =
      runFilePicker(parent, QStringLiteral("gepj"), QString::fromStdU16String(current));
  if (!path || path->isEmpty()) return std::nullopt;
  return path->toStdU16String();
}

void showMessageWithQt(QWidget* parent, const QString& text) {
  showPlainMessage(parent, QMessageBox::NoIcon, QStringLiteral("Lexora"), text);
}

}  // namespace

uint32_t colourFromQColor(const QColor& colour) {
  return static_cast<uint32_t>(colour.red()) | (static_cast<uint32_t>(colour.green()) << 8) |
         (static_cast<uint32_t>(colour.blue()) << 16);
}

StyleDialog::StyleDialog(DisplaySettings& display, StyleDialogServices services, QWidget* parent)
    : QDialog(parent), display_(display), opening_(display), services_(std::move(services)) {
  if (!services_.chooseColour) services_.chooseColour = chooseColourWithQt;
  if (!services_.choosePicture) {
    services_.choosePicture = [this](QWidget* owner) {
      return choosePictureWithPicker(owner, display_.texturePath);
    };
  }
  if (!services_.showMessage) services_.showMessage = showMessageWithQt;
  if (services_.programFolder.empty()) services_.programFolder = dataFolderText();

  setWindowTitle(kTitleText);
  buildControls();

  // The list starts on its prompt, with the three check boxes cleared.
  styleList_->setCurrentIndex(kPromptRow);
  // The popup time as stored (kept within 1 to 20 when it was read).
  popupTimeBox_->setValue(static_cast<int>(display_.time2Show & 0xFFFF));

  preview_->setClearType(display_.useClearType == 1);
  preview_->setZoomLevel(static_cast<int>(display_.textSize));
  refreshPreview();

  showBackgroundInForce();

  installHelpKey(this, services_.programs, HelpTopic::StyleDialog);

  if (parent != nullptr && parent->window()->width() > 0) {
    resize(parent->window()->size());
  } else {
    resize(kDefaultWidth, kDefaultHeight);
  }
  layOut();
}

StyleDialog::~StyleDialog() = default;

void StyleDialog::buildControls() {
  // The boxes of the layout are sized for a compact 8-point face: a larger desktop font would
  // cut labels such as "Hidden" and "BackColor" short.
  QFont compact = font();
  if (compact.pointSizeF() > 8.0) compact.setPointSizeF(8.0);
  setFont(compact);

  titleLabel_ = new QLabel(kTitleText, this);
  titleLabel_->setObjectName(QStringLiteral("titleLabel"));
  titleLabel_->setFont(QFont(QStringLiteral("Tahoma"), 9, QFont::Bold));
  QPalette titlePalette = titleLabel_->palette();
  titlePalette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));  // navy
  titleLabel_->setPalette(titlePalette);

  popupTimeLabel_ = new QLabel(QStringLiteral("Time to show popup"), this);
  popupTimeLabel_->setObjectName(QStringLiteral("popupTimeLabel"));

  // The number is changed only through the arrows (and the arrow keys), never typed.
  popupTimeBox_ = new QSpinBox(this);
  popupTimeBox_->setObjectName(QStringLiteral("popupTimeBox"));
  popupTimeBox_->setRange(kMinPopupTime, kMaxPopupTime);
  popupTimeBox_->setAlignment(Qt::AlignRight);
  popupTimeBox_->setKeyboardTracking(false);
  if (QLineEdit* edit = popupTimeBox_->findChild<QLineEdit*>()) edit->setReadOnly(true);

  // Two radio buttons that each stand alone; the dialog clears the other one itself.
  backColorButton_ = new QRadioButton(QStringLiteral("BackColor"), this);
  backColorButton_->setObjectName(QStringLiteral("backColorButton"));
  backColorButton_->setAutoExclusive(false);
  backColorButton_->setLayoutDirection(Qt::RightToLeft);  // text on the left
  textureButton_ = new QRadioButton(QStringLiteral("Textture"), this);
  textureButton_->setObjectName(QStringLiteral("textureButton"));
  textureButton_->setAutoExclusive(false);

  styleList_ = new QComboBox(this);
  styleList_->setObjectName(QStringLiteral("styleList"));
  styleList_->addItem(kPromptText);
  for (const char* label : kStyleLabels) styleList_->addItem(QString::fromLatin1(label));

  hiddenBox_ = new QCheckBox(QStringLiteral("Hidden"), this);
  hiddenBox_->setObjectName(QStringLiteral("hiddenBox"));
  boldBox_ = new QCheckBox(QStringLiteral("Bold"), this);
  boldBox_->setObjectName(QStringLiteral("boldBox"));
  italicBox_ = new QCheckBox(QStringLiteral("Italic"), this);
  italicBox_->setObjectName(QStringLiteral("italicBox"));
  colorButton_ = new QPushButton(QStringLiteral("Color"), this);
  colorButton_->setObjectName(QStringLiteral("colorButton"));
  colorButton_->setAutoDefault(false);

  preview_ = new HtmlViewer(this);
  preview_->setObjectName(QStringLiteral("preview"));

  okButton_ = makePictureButton(ButtonPicture::Ok, tr("OK"), this);
  okButton_->setObjectName(QStringLiteral("okButton"));
  cancelButton_ = makePictureButton(ButtonPicture::Cancel, tr("Cancel"), this);
  cancelButton_->setObjectName(QStringLiteral("cancelButton"));

  connect(styleList_, &QComboBox::currentIndexChanged, this, &StyleDialog::styleChosen);
  connect(hiddenBox_, &QCheckBox::clicked, this,
          [this](bool checked) { flagClicked(Flag::Hidden, checked); });
  connect(boldBox_, &QCheckBox::clicked, this,
          [this](bool checked) { flagClicked(Flag::Bold, checked); });
  connect(italicBox_, &QCheckBox::clicked, this,
          [this](bool checked) { flagClicked(Flag::Italic, checked); });
  connect(colorButton_, &QPushButton::clicked, this, &StyleDialog::colorClicked);
  connect(backColorButton_, &QRadioButton::clicked, this, &StyleDialog::backColorClicked);
  connect(textureButton_, &QRadioButton::clicked, this, &StyleDialog::textureClicked);
  connect(preview_, &HtmlViewer::linkTapped, this, &StyleDialog::linkTapped);
  connect(okButton_, &QToolButton::clicked, this, &StyleDialog::storePopupTime);
  acceptOnReturn(this, [this] { storePopupTime(); });
  connect(cancelButton_, &QToolButton::clicked, this, &QDialog::reject);
}

QString StyleDialog::previewPage() const { return preview_->page(); }

DisplayStyle* StyleDialog::chosenStyle() {
  const int row = styleList_->currentIndex();
  if (row <= kPromptRow || row > kStyleCount) return nullptr;
  return &display_.styles[static_cast<std::size_t>(row - 1)];
}

void StyleDialog::styleChosen(int) {
  const DisplayStyle* style = chosenStyle();
  hiddenBox_->setChecked(style != nullptr && style->hidden != 0);
  boldBox_->setChecked(style != nullptr && style->bold != 0);
  italicBox_->setChecked(style != nullptr && style->italic != 0);
}

void StyleDialog::flagClicked(Flag flag, bool checked) {
  DisplayStyle* style = chosenStyle();
  if (style == nullptr) return;  // the prompt: only the check box itself toggles
  const uint32_t value = checked ? 1 : 0;
  switch (flag) {
    case Flag::Hidden:
      style->hidden = value;
      break;
    case Flag::Bold:
      style->bold = value;
      break;
    case Flag::Italic:
      style->italic = value;
      break;
  }
  refreshPreview();
}

void StyleDialog::colorClicked() {
  if (chosenStyle() == nullptr) return;
  const std::optional<uint32_t> colour = services_.chooseColour(this);
  if (!colour) return;
  // Looked up again: the chooser runs its own event loop.
  if (DisplayStyle* style = chosenStyle()) {
    style->colour = *colour;
    refreshPreview();
  }
}

void StyleDialog::backColorClicked() {
  backColorButton_->setChecked(true);  // a click always checks a radio button
  const std::optional<uint32_t> colour = services_.chooseColour(this);
  if (colour) {
    display_.backColor = *colour;
    textureButton_->setChecked(false);
    display_.useTexture = 0;
    refreshPreview();
  } else {
    showBackgroundInForce();  // the chooser was cancelled: nothing changed
  }
}

void StyleDialog::showBackgroundInForce() {
  const bool picture = display_.useTexture == 1;
  textureButton_->setChecked(picture);
  backColorButton_->setChecked(!picture);
}

void StyleDialog::reject() {
  display_ = opening_;  // Cancel: every display setting as it was when the dialog opened
  QDialog::reject();
}

void StyleDialog::textureClicked() {
  textureButton_->setChecked(true);
  const std::optional<std::u16string> path = services_.choosePicture(this);
  if (path && !path->empty()) {
    display_.texturePath = *path;
    backColorButton_->setChecked(false);
    display_.useTexture = 1;
  } else {
    showBackgroundInForce();  // the picker was cancelled: nothing changed
  }
  refreshPreview();
}

void StyleDialog::refreshPreview() {
  const RenderOptions options{display_, services_.programFolder, true};
  const std::u16string page = renderEntryPage(kSampleEntry, options);
  preview_->setFocus();
  preview_->showPage(QString::fromStdU16String(page));
  ++previewRefreshes_;
}

void StyleDialog::linkTapped(const QString& href) {
  services_.showMessage(this, kLinkMessage + href);
}

void StyleDialog::storePopupTime() {
  popupTimeBox_->interpretText();
  display_.time2Show = static_cast<uint32_t>(popupTimeBox_->value());
  accept();
}

void StyleDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  layOut();
}

void StyleDialog::layOut() {
  const QRect client = rect();
  const StyleDialogLayout l = layoutStyleDialog(ClientRect{
      client.left(), client.top(), client.left() + client.width(), client.top() + client.height()});
  titleLabel_->setGeometry(toQRect(l.titleLabel));
  okButton_->setGeometry(toQRect(l.okButton));
  cancelButton_->setGeometry(toQRect(l.cancelButton));
  popupTimeLabel_->setGeometry(toQRect(l.popupTimeLabel));
  // The number and its arrows are one spin box here.
  popupTimeBox_->setGeometry(l.popupTimeBox.x, l.popupTimeBox.y,
                             l.popupTimeBox.width + l.popupTimeSpin.width, l.popupTimeBox.height);
  backColorButton_->setGeometry(toQRect(l.backColorButton));
  textureButton_->setGeometry(toQRect(l.textureButton));
  styleList_->setGeometry(toQRect(l.styleList));
  hiddenBox_->setGeometry(toQRect(l.hiddenBox));
  boldBox_->setGeometry(toQRect(l.boldBox));
  italicBox_->setGeometry(toQRect(l.italicBox));
  colorButton_->setGeometry(toQRect(l.colorButton));
  preview_->setGeometry(toQRect(l.preview));
}

}  // namespace lexora
