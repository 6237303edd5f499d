#include "gui/dialogs/dictionaries_dialog.h"

#include <QEvent>
#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPainter>
#include <QPalette>
#include <QPen>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QToolButton>
#include <algorithm>
#include <utility>
#include <vector>

#include "app/dictionary_check.h"
#include "app/dictionary_list.h"
#include "gui/dialogs/dictionaries_dialog_layout.h"
#include "gui/dialogs/file_picker_dialog.h"
#include "gui/dialogs/help.h"
#include "gui/dialogs/import_action.h"
#include "gui/widgets/picture_button.h"
#include "gui/widgets/plain_message_box.h"
#include "gui/widgets/qt_geometry.h"

namespace lexora {

namespace {

constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 400;
const QString kDictionaryFileSuffix = QStringLiteral("mvp.");  // ".pvm" written backwards

// The path with a line on what is wrong with it, if anything.
QString pathWithProblem(const QString& path) {
  const std::u16string problem = dictionaryProblemText(checkDictionaryFile(path.toStdString()));
  if (problem.empty()) return path;
  return path + QStringLiteral("\n") + QString::fromStdU16String(problem);
}

bool askStoreAnyway(QWidget* owner, const QString& text) {
  return showPlainMessage(owner, QMessageBox::Warning, QStringLiteral("Dictionaries"), text,
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

QToolButton* makeSignButton(bool plus, const QString& name, QWidget* parent) {
  return makePictureButton(plus ? ButtonPicture::Add : ButtonPicture::Remove, name, parent);
}

}  // namespace

DictionariesDialog::DictionariesDialog(Settings& settings, QWidget* parent, FilePicker picker)
    : QDialog(parent),
      settings_(settings),
      picker_(picker ? std::move(picker) : FilePicker(runFilePicker)),
      problemQuestion_(askStoreAnyway),
      openingTotal_(settings.totalDict),
      openingPaths_(settings.dictionaryPaths) {
  setWindowTitle(QStringLiteral("Dictionaries"));

  titleLine_ = new QLabel(QStringLiteral("Dictionaries"), this);
  titleLine_->setObjectName(QStringLiteral("titleLine"));
  titleLine_->setFont(QFont(QStringLiteral("Tahoma"), 9, QFont::Bold));
  QPalette titlePalette = titleLine_->palette();
  titlePalette.setColor(QPalette::WindowText, QColor(0, 0, 128));  // navy
  titleLine_->setPalette(titlePalette);

  buildList();
  buildRowEditor();
  buildButtons();

  languageBox_ = new QLineEdit(this);
  languageBox_->setObjectName(QStringLiteral("languageBox"));
  languageBox_->setPlaceholderText(
      QStringLiteral("Language of the headwords (guessed when empty)"));
  languageBox_->hide();
  connect(languageBox_, &QLineEdit::editingFinished, this, &DictionariesDialog::takeLanguage);

  deleteButton_->setEnabled(false);
  updateAddButton();

  if (parent != nullptr && parent->window()->width() > 0) {
    resize(parent->window()->size());
  } else {
    resize(kDefaultWidth, kDefaultHeight);
  }
  layOut();
}

void DictionariesDialog::buildList() {
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("dictionaryList"));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list_->setUniformItemSizes(true);
  // Cyan text on grey.
  list_->setStyleSheet(QStringLiteral(
      "QListWidget { background-color: rgb(128, 128, 128); color: rgb(0, 255, 255); }"));
  for (const std::u16string& path : installedDictionaryPaths(settings_)) {
    auto* item = new QListWidgetItem(QString::fromStdU16String(path), list_);
    item->setSizeHint(QSize(0, kDictionaryRowHeight));
    markProblem(item);
  }
  list_->installEventFilter(this);  // Return and F2 edit the selected row
  connect(list_, &QListWidget::itemSelectionChanged, this, &DictionariesDialog::showSelectedPath);
  connect(list_, &QListWidget::itemDoubleClicked, this, &DictionariesDialog::editSelectedRow);
  connect(list_->verticalScrollBar(), &QScrollBar::valueChanged, this, [this] {
    if (editing_) placeEditor(editIndex_);
  });

  pathBox_ = new QPlainTextEdit(this);
  pathBox_->setObjectName(QStringLiteral("pathBox"));
  pathBox_->setReadOnly(true);
  QPalette pathPalette = pathBox_->palette();
  pathPalette.setColor(QPalette::Text, QColor(128, 0, 255));
  pathBox_->setPalette(pathPalette);
}

void DictionariesDialog::buildRowEditor() {
  editor_ = new QLineEdit(this);
  editor_->setObjectName(QStringLiteral("rowEditor"));
  editor_->hide();
  editor_->installEventFilter(this);  // Escape ends the edit, not the dialog
  // Return ends the edit the way a tap on the list does.
  connect(editor_, &QLineEdit::returnPressed, this, [this] { list_->setFocus(); });
  browseButton_ = new QPushButton(QStringLiteral("..."), this);
  browseButton_->setObjectName(QStringLiteral("browseButton"));
  browseButton_->setAutoDefault(false);
  browseButton_->hide();
  connect(browseButton_, &QPushButton::clicked, this, &DictionariesDialog::browse);
}

void DictionariesDialog::buildButtons() {
  addButton_ = makeSignButton(true, tr("Add"), this);
  addButton_->setObjectName(QStringLiteral("addButton"));
  deleteButton_ = makeSignButton(false, tr("Delete"), this);
  deleteButton_->setObjectName(QStringLiteral("deleteButton"));
  cancelButton_ = makePictureButton(ButtonPicture::Cancel, tr("Cancel"), this);
  cancelButton_->setObjectName(QStringLiteral("cancelButton"));
  okButton_ = makePictureButton(ButtonPicture::Ok, tr("OK"), this);
  okButton_->setObjectName(QStringLiteral("okButton"));
  importButton_ = new QPushButton(tr("Import\u2026"), this);
  importButton_->setObjectName(QStringLiteral("importButton"));
  importButton_->setAutoDefault(false);
  connect(importButton_, &QPushButton::clicked, this, [this] { importRows(); });
  connect(addButton_, &QToolButton::clicked, this, &DictionariesDialog::addRow);
  connect(deleteButton_, &QToolButton::clicked, this, &DictionariesDialog::deleteRow);
  connect(cancelButton_, &QToolButton::clicked, this, &DictionariesDialog::reject);
  connect(okButton_, &QToolButton::clicked, this, &DictionariesDialog::storeRows);
}

// A row whose files cannot be opened stands out in the list, not only once selected.
void DictionariesDialog::markProblem(QListWidgetItem* item) {
  const QString path = item->text();
  const DictionaryFileProblem problem =
      path.isEmpty() ? DictionaryFileProblem::kNone : checkDictionaryFile(path.toStdString());
  const bool bad = problem != DictionaryFileProblem::kNone;
  QFont font = list_->font();
  font.setStrikeOut(bad);
  font.setItalic(bad);
  item->setFont(font);
  item->setData(kProblemRole, bad);
  if (bad) {
    item->setForeground(QColor(255, 220, 0));  // yellow on the grey list
    item->setToolTip(QString::fromStdU16String(dictionaryProblemText(problem)));
  } else {
    item->setData(Qt::ForegroundRole, QVariant());
    item->setToolTip(QString());
  }
}

DictionariesDialog::~DictionariesDialog() = default;

int DictionariesDialog::selectedRow() const {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  return selected.isEmpty() ? -1 : list_->row(selected.first());
}

void DictionariesDialog::updateAddButton() {
  addButton_->setEnabled(list_->count() < kMaxDictionaries);
  if (importButton_ != nullptr) importButton_->setEnabled(list_->count() < kMaxDictionaries);
}

void DictionariesDialog::focusEditor() {
  editor_->setFocus();
  editor_->selectAll();  // leaves the caret at the end, in view
}

void DictionariesDialog::showSelectedPath() {
  const int row = selectedRow();
  if (row < 0) {
    deleteButton_->setEnabled(false);
    return;
  }
  pathBox_->setPlainText(pathWithProblem(list_->item(row)->text()));
  deleteButton_->setEnabled(true);
  if (languages_.read) {
    const std::string path = list_->item(row)->text().toStdString();
    const auto edited = languageEdits_.find(path);
    const std::string language =
        edited != languageEdits_.end() ? edited->second : languages_.read(path);
    languageBox_->setText(QString::fromStdString(language));
    // Under the path: what the language lacks for base forms and which package brings it.
    const std::string missing = languages_.missing ? languages_.missing(language) : std::string();
    if (!missing.empty()) pathBox_->appendPlainText(QString::fromStdString("\n" + missing));
  }
}

void DictionariesDialog::setLanguageStore(LanguageStore store) {
  languages_ = std::move(store);
  languageBox_->setVisible(static_cast<bool>(languages_.read));
  layOut();
  showSelectedPath();
}

void DictionariesDialog::takeLanguage() {
  const int row = selectedRow();
  if (row < 0 || !languages_.read) return;
  const std::string path = list_->item(row)->text().toStdString();
  const std::optional<std::string> language = languageFromField(languageBox_->text().toStdString());
  if (!language) {
    showSelectedPath();  // not a language: the field shows what it held
    return;
  }
  languageEdits_[path] = *language;
  showSelectedPath();
}

void DictionariesDialog::editSelectedRow() {
  if (editing_) commitEdit();
  const int row = selectedRow();
  if (row < 0) return;
  editIndex_ = row;
  editing_ = true;
  placeEditor(row);
  editor_->setText(list_->item(row)->text());
  focusEditor();
}

void DictionariesDialog::commitEdit() {
  editor_->hide();
  browseButton_->hide();
  if (!editing_) return;
  const int row = editIndex_;
  editing_ = false;
  editIndex_ = -1;
  if (row < 0 || row >= list_->count()) return;
  const QString text = editor_->text();
  if (!text.isEmpty()) {
    settings_.dictionaryPaths[static_cast<size_t>(row)] = text.toStdU16String();
    list_->item(row)->setText(text);
    markProblem(list_->item(row));
    if (selectedRow() == row) pathBox_->setPlainText(pathWithProblem(text));
  } else {
    removeRow(row);  // an edit committed empty removes its row; the rows below move up
  }
}

void DictionariesDialog::removeRow(int row) {
  {
    const QSignalBlocker blocker(list_);
    delete list_->takeItem(row);
    list_->clearSelection();
    list_->setCurrentRow(-1);
  }
  removeDictionaryPath(settings_, row);
  updateAddButton();
}

void DictionariesDialog::addRow() {
  if (editing_) commitEdit();
  if (list_->count() >= kMaxDictionaries) {
    addButton_->setEnabled(false);
    return;
  }
  int row = 0;
  {
    const QSignalBlocker blocker(list_);
    auto* item = new QListWidgetItem(QString(), list_);
    item->setSizeHint(QSize(0, kDictionaryRowHeight));
    row = list_->row(item);
    list_->setCurrentRow(row);
  }
  appendDictionaryPath(settings_, std::u16string());
  editIndex_ = row;
  editing_ = true;
  list_->scrollToItem(list_->item(row));
  placeEditor(row);
  editor_->clear();
  focusEditor();
  updateAddButton();
}

void DictionariesDialog::deleteRow() {
  if (editing_) commitEdit();
  const int row = selectedRow();
  if (row < 0) return;
  // The path box keeps its text and Delete stays enabled until the selection next changes.
  removeRow(row);
}

void DictionariesDialog::browse() {
  const std::optional<QString> chosen = picker_(this, kDictionaryFileSuffix, editor_->text());
  // OK with no file chosen is a Cancel: the row keeps its text.
  if (chosen && !chosen->isEmpty()) editor_->setText(*chosen);
  focusEditor();
}

void DictionariesDialog::cancelEdit() {
  if (!editing_) return;
  const int row = editIndex_;
  editor_->hide();
  browseButton_->hide();
  editing_ = false;
  editIndex_ = -1;
  // A row just added has no text to keep: it goes, as an edit committed empty would.
  if (row >= 0 && row < list_->count() && list_->item(row)->text().isEmpty()) removeRow(row);
  list_->setFocus();
}

void DictionariesDialog::importRows(const QString& source) {
  if (editing_) commitEdit();
  if (list_->count() >= kMaxDictionaries) return;
  const QStringList written = runImportAction(this, source);
  const int room = kMaxDictionaries - list_->count();
  if (written.size() > room) {
    // A source split into more volumes than there are free rows is not installed at all.
    for (const QString& path : written) removeImportedDictionary(path);
    showPlainMessage(this, QMessageBox::Warning, tr("Import"),
                     tr("The dictionary was split into %1 volumes, but only %2 more "
                        "dictionaries can be installed.")
                         .arg(written.size())
                         .arg(room));
    return;
  }
  for (const QString& path : written) {
    auto* item = new QListWidgetItem(path, list_);
    item->setSizeHint(QSize(0, kDictionaryRowHeight));
    appendDictionaryPath(settings_, path.toStdU16String());
    list_->setCurrentItem(item);
  }
  updateAddButton();
}

void DictionariesDialog::storeRows() {
  if (editing_) commitEdit();
  std::vector<std::u16string> rows;
  QStringList problems;
  const int count = std::min(list_->count(), kMaxDictionaries);
  for (int row = 0; row < count; ++row) {
    const QString path = list_->item(row)->text();
    rows.push_back(path.toStdU16String());
    const DictionaryFileProblem problem = checkDictionaryFile(path.toStdString());
    if (problem != DictionaryFileProblem::kNone) {
      problems << path + QStringLiteral(": ") +
                      QString::fromStdU16String(dictionaryProblemText(problem));
    }
  }
  if (!problems.isEmpty() && problemQuestion_) {
    const QString text = QStringLiteral("These dictionaries cannot be opened:\n\n") +
                         problems.join(QLatin1Char('\n')) +
                         QStringLiteral("\n\nStore the list anyway?");
    if (!problemQuestion_(this, text)) return;
  }
  setInstalledDictionaryPaths(settings_, rows);
  if (languages_.write && languageBox_->hasFocus()) takeLanguage();
  for (const auto& [path, language] : languageEdits_) {
    if (languages_.write) languages_.write(path, language);
  }
  accept();
}

void DictionariesDialog::reject() {
  editor_->hide();
  browseButton_->hide();
  editing_ = false;
  editIndex_ = -1;
  settings_.totalDict = openingTotal_;
  settings_.dictionaryPaths = openingPaths_;
  QDialog::reject();
}

void DictionariesDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  layOut();
}

bool DictionariesDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::FocusIn) commitEdit();
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) &&
        selectedRow() >= 0) {
      editSelectedRow();
      return true;
    }
  }
  if (watched == editor_ &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
    if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
      event->accept();
      if (event->type() == QEvent::KeyPress) cancelEdit();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void DictionariesDialog::layOut() {
  const QRect client = rect();
  const DictionariesLayout layout = layoutDictionariesDialog(ClientRect{
      client.left(), client.top(), client.left() + client.width(), client.top() + client.height()});
  list_->setGeometry(toQRect(layout.list));
  QRect pathBox = toQRect(layout.pathBox);
  if (languageBox_->isVisibleTo(this)) {
    // The language field takes the foot of the path box's place.
    const int fieldHeight = std::min(languageBox_->sizeHint().height(), pathBox.height());
    pathBox.setHeight(pathBox.height() - fieldHeight);
    languageBox_->setGeometry(pathBox.left(), pathBox.bottom() + 1, pathBox.width(), fieldHeight);
  }
  pathBox_->setGeometry(pathBox);
  addButton_->setGeometry(toQRect(layout.addButton));
  deleteButton_->setGeometry(toQRect(layout.deleteButton));
  cancelButton_->setGeometry(toQRect(layout.cancelButton));
  okButton_->setGeometry(toQRect(layout.okButton));
  // "Import…" stands in the header band, left of the picture buttons, above the list.
  const int importWidth = importButton_->sizeHint().width();
  importButton_->setGeometry(std::max(layout.addButton.x - importWidth - 6, client.left()),
                             client.top() + 2, importWidth, kDialogHeaderHeight - 4);
  titleLine_->setGeometry(client.left() + 4, client.top(),
                          std::max(importButton_->x() - client.left() - 8, 0), kDialogHeaderHeight);
  if (editing_) placeEditor(editIndex_);
}

void DictionariesDialog::placeEditor(int row) {
  QListWidgetItem* item = list_->item(row);
  if (item == nullptr) return;
  const QRect rowRect = list_->visualItemRect(item);
  const QPoint topLeft = list_->viewport()->mapTo(this, rowRect.topLeft());
  const RowEditorLayout layout =
      placeRowEditor(ControlRect{topLeft.x(), topLeft.y(), rowRect.width(), rowRect.height()});
  editor_->setGeometry(toQRect(layout.editor));
  browseButton_->setGeometry(toQRect(layout.browseButton));
  editor_->show();
  browseButton_->show();
  editor_->raise();
  browseButton_->raise();
}

bool runDictionariesDialog(Settings& settings, QWidget* parent, DesktopPrograms* programs) {
  DictionariesDialog dialog(settings, parent);
  dialog.setLanguageStore(settingsLanguageStore([]() -> RegistryKey& { return settingsKey(); }));
  installHelpKey(&dialog, programs, HelpTopic::Dictionaries);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace lexora
