#include "gui/dialogs/entry_editor_dialog.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QResizeEvent>
#include <QToolButton>
#include <algorithm>
#include <utility>

#include "gui/dialogs/entry_editor_layout.h"
#include "gui/dialogs/meaning_box_text.h"
#include "gui/widgets/picture_button.h"
#include "gui/widgets/qt_geometry.h"
#include "gui/widgets/return_key.h"

namespace lexora {

namespace {

constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 400;
constexpr int kHeaderBandHeight = 26;

}  // namespace

EntryEditorDialog::EntryEditorDialog(EditMode mode, std::u16string headword, std::u16string meaning,
                                     QWidget* parent)
    : QDialog(parent), mode_(mode), headword_(std::move(headword)), meaning_(std::move(meaning)) {
  setWindowTitle(modeTitle(mode_));

  titleLine_ = new QLabel(modeTitle(mode_), this);
  titleLine_->setObjectName(QStringLiteral("titleLine"));
  QFont titleFont(QStringLiteral("Tahoma"), 9, QFont::Bold);
  titleLine_->setFont(titleFont);
  QPalette titlePalette = titleLine_->palette();
  titlePalette.setColor(QPalette::WindowText, QColor(0x00, 0x00, 0x80));  // navy
  titleLine_->setPalette(titlePalette);

  headwordBox_ = new QLineEdit(this);
  headwordBox_->setObjectName(QStringLiteral("headwordBox"));
  headwordBox_->setText(QString::fromStdU16String(headword_));
  headwordBox_->setEnabled(mode_ != EditMode::ModifyMeaning);
  shownHeadword_ = headwordBox_->text();

  meaningBox_ = new QPlainTextEdit(this);
  meaningBox_->setObjectName(QStringLiteral("meaningBox"));
  meaningBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  meaningBox_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  meaningBox_->setTabChangesFocus(false);
  meaningBox_->setPlainText(meaningToBoxText(meaning_));
  meaningBox_->setEnabled(mode_ != EditMode::ModifyWord);
  shownMeaning_ = boxRawText(*meaningBox_->document());

  okButton_ = makePictureButton(ButtonPicture::Ok, tr("OK"), this);
  okButton_->setObjectName(QStringLiteral("okButton"));
  cancelButton_ = makePictureButton(ButtonPicture::Cancel, tr("Cancel"), this);
  cancelButton_->setObjectName(QStringLiteral("cancelButton"));
  connect(okButton_, &QToolButton::clicked, this, &EntryEditorDialog::storeTexts);
  connect(cancelButton_, &QToolButton::clicked, this, &QDialog::reject);
  // Return in the headword box, Ctrl+Return in the meaning box (where Return starts a line).
  acceptOnReturn(this, [this] { storeTexts(); });

  if (mode_ == EditMode::ModifyMeaning) {
    meaningBox_->setFocus();
  } else {
    headwordBox_->setFocus();
    headwordBox_->selectAll();
  }

  if (parent != nullptr && parent->window()->width() > 0) {
    resize(parent->window()->size());
  } else {
    resize(kDefaultWidth, kDefaultHeight);
  }
  layOut();
}

EntryEditorDialog::~EntryEditorDialog() = default;

QString EntryEditorDialog::modeTitle(EditMode mode) {
  switch (mode) {
    case EditMode::Add:
      return QStringLiteral("Add new entry");
    case EditMode::ModifyMeaning:
      return QStringLiteral("Modify meaning");
    case EditMode::ModifyWord:
      return QStringLiteral("Modify word");
  }
  return QString();
}

void EntryEditorDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  layOut();
}

void EntryEditorDialog::layOut() {
  const QRect client = rect();
  const EntryEditorLayout layout = layoutEntryEditor(ClientRect{
      client.left(), client.top(), client.left() + client.width(), client.top() + client.height()});
  headwordBox_->setGeometry(toQRect(layout.headwordBox));
  meaningBox_->setGeometry(toQRect(layout.meaningBox));
  okButton_->setGeometry(toQRect(layout.okButton));
  cancelButton_->setGeometry(toQRect(layout.cancelButton));
  // The title line fills the header band left of the buttons.
  titleLine_->setGeometry(client.left() + 4, client.top(),
                          std::max(layout.cancelButton.x - client.left() - 8, 0),
                          kHeaderBandHeight);
}

void EntryEditorDialog::storeTexts() {
  const QString headword = headwordBox_->text();
  if (headword != shownHeadword_) headword_ = headword.toStdU16String();
  const QString meaning = boxRawText(*meaningBox_->document());
  if (meaning != shownMeaning_) meaning_ = boxTextToMeaning(meaning);
  accept();
}

}  // namespace lexora
