#include "gui/dialogs/file_picker_dialog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QHeaderView>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>
#include <QStandardItemModel>
#include <QStyle>
#include <QToolButton>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "gui/dialogs/dictionaries_dialog_layout.h"
#include "gui/widgets/picture_button.h"
#include "gui/widgets/qt_geometry.h"

namespace lexora {

namespace {

namespace fs = std::filesystem;

constexpr int kKindRole = Qt::UserRole + 1;          // PickerItemKind
constexpr int kChildrenMarkRole = Qt::UserRole + 2;  // the expand button shows before reading
constexpr int kDefaultWidth = 320;
constexpr int kDefaultHeight = 400;
const QString kRootText = QStringLiteral("/");

// Items that may have children show their expand button before they have been read.
class FolderTreeModel : public QStandardItemModel {
 public:
  using QStandardItemModel::QStandardItemModel;

  bool hasChildren(const QModelIndex& parent) const override {
    if (QStandardItemModel::hasChildren(parent)) return true;
    return parent.isValid() && parent.data(kChildrenMarkRole).toBool();
  }
};

PickerItemKind kindOf(const QModelIndex& index) {
  if (!index.isValid()) return PickerItemKind::Root;
  return static_cast<PickerItemKind>(index.data(kKindRole).toInt());
}

QString reversed(const QString& text) {
  QString out = text;
  std::reverse(out.begin(), out.end());
  return out;
}

void writeTraceToStandardError(const QString& line) {
  const char* debug = std::getenv("LEXORA_DEBUG");
  if (debug == nullptr || *debug == '\0') return;
  std::fprintf(stderr, "%s\n", line.toLocal8Bit().constData());
}

}  // namespace

FilePickerDialog::FilePickerDialog(QWidget* parent, const QString& startFolder)
    : QDialog(parent),
      startFolder_(startFolderFor(startFolder)),
      trace_(writeTraceToStandardError) {
  setWindowTitle(QStringLiteral("Select File Name"));

  titleLine_ = new QLabel(QStringLiteral("Select File"), this);
  titleLine_->setObjectName(QStringLiteral("titleLine"));
  titleLine_->setFont(QFont(QStringLiteral("Tahoma"), 9, QFont::Bold));
  QPalette titlePalette = titleLine_->palette();
  titlePalette.setColor(QPalette::WindowText, QColor(0, 0, 128));  // navy
  titleLine_->setPalette(titlePalette);

  model_ = new FolderTreeModel(this);
  tree_ = new QTreeView(this);
  tree_->setObjectName(QStringLiteral("folderTree"));
  tree_->setModel(model_);
  tree_->setHeaderHidden(true);
  tree_->setRootIsDecorated(true);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setDragEnabled(false);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setIconSize(QSize(16, 16));
  tree_->viewport()->installEventFilter(this);
  tree_->installEventFilter(this);  // Return on a file is OK
  // The keyboard moves the choice as taps do.
  connect(tree_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) { chooseItem(current); });
  connect(tree_, &QTreeView::expanded, this, &FilePickerDialog::expanding);
  connect(tree_, &QTreeView::collapsed, this, &FilePickerDialog::collapsed);
  connect(tree_, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) {
    if (kindOf(index) != PickerItemKind::File) return;
    chooseItem(index);
    accept();
  });

  okButton_ = makePictureButton(ButtonPicture::Ok, tr("OK"), this);
  okButton_->setObjectName(QStringLiteral("okButton"));
  cancelButton_ = makePictureButton(ButtonPicture::Cancel, tr("Cancel"), this);
  cancelButton_->setObjectName(QStringLiteral("cancelButton"));
  connect(okButton_, &QToolButton::clicked, this, &QDialog::accept);
  connect(cancelButton_, &QToolButton::clicked, this, &QDialog::reject);

  if (parent != nullptr && parent->window()->width() > 0) {
    resize(parent->window()->size());
  } else {
    resize(kDefaultWidth, kDefaultHeight);
  }
  layOut();
}

FilePickerDialog::~FilePickerDialog() = default;

bool FilePickerDialog::nameMatches(const QString& name, const QString& reversedSuffix) {
  return QString::compare(reversed(name).left(4), reversedSuffix.left(4), Qt::CaseInsensitive) == 0;
}

QString FilePickerDialog::startFolderFor(const QString& path) {
  if (!path.isEmpty()) {
    QFileInfo info(QDir::cleanPath(QDir(QDir::homePath()).absoluteFilePath(path)));
    QString folder = info.isDir() ? info.absoluteFilePath() : info.absolutePath();
    while (!folder.isEmpty()) {
      if (QFileInfo(folder).isDir()) return QDir::cleanPath(folder);
      const QString up = QFileInfo(folder).absolutePath();
      if (up == folder) break;
      folder = up;
    }
  }
  return QDir::homePath();
}

void FilePickerDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  layOut();
}

void FilePickerDialog::showEvent(QShowEvent* event) {
  populate();
  QDialog::showEvent(event);
}

void FilePickerDialog::layOut() {
  const QRect client = rect();
  const FilePickerLayout layout = layoutFilePicker(ClientRect{
      client.left(), client.top(), client.left() + client.width(), client.top() + client.height()});
  tree_->setGeometry(toQRect(layout.tree));
  okButton_->setGeometry(toQRect(layout.okButton));
  cancelButton_->setGeometry(toQRect(layout.cancelButton));
  titleLine_->setGeometry(client.left() + 4, client.top(),
                          std::max(layout.cancelButton.x - client.left() - 8, 0),
                          kDialogHeaderHeight);
}

void FilePickerDialog::populate() {
  if (populated_) return;
  populated_ = true;
  insertItem(nullptr, kRootText, PickerItemKind::Root);
  QModelIndex at = model_->index(0, 0);
  tree_->expand(at);
  // Open the folders down to the starting one.
  for (const QString& part : startFolder_.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    QModelIndex next;
    for (int row = 0; row < model_->rowCount(at); ++row) {
      const QModelIndex child = model_->index(row, 0, at);
      if (kindOf(child) == PickerItemKind::Folder && child.data().toString() == part) {
        next = child;
        break;
      }
    }
    if (!next.isValid()) break;
    tree_->expand(next);
    at = next;
  }
  tree_->setCurrentIndex(at);
  tree_->scrollTo(at, QAbstractItemView::PositionAtTop);
  tree_->setFocus();  // the arrow keys work at once
}

void FilePickerDialog::insertItem(QStandardItem* parent, const QString& text, PickerItemKind kind) {
  if (text == QLatin1String(".") || text == QLatin1String("..")) return;
  auto* item = new QStandardItem(text);
  item->setEditable(false);
  item->setData(static_cast<int>(kind), kKindRole);
  item->setData(kind != PickerItemKind::File, kChildrenMarkRole);
  QStyle* s = style();
  switch (kind) {
    case PickerItemKind::Root:
      item->setIcon(s->standardIcon(QStyle::SP_ComputerIcon));
      break;
    case PickerItemKind::Folder: {
      QIcon icon;
      icon.addPixmap(s->standardIcon(QStyle::SP_DirClosedIcon).pixmap(16, 16), QIcon::Normal);
      icon.addPixmap(s->standardIcon(QStyle::SP_DirOpenIcon).pixmap(16, 16), QIcon::Selected);
      item->setIcon(icon);
      break;
    }
    case PickerItemKind::File:
      item->setIcon(s->standardIcon(QStyle::SP_FileIcon));
      break;
  }
  if (parent == nullptr) {
    model_->appendRow(item);
    return;
  }
  // Children stay in the order of their texts, ignoring case first.
  int row = 0;
  while (row < parent->rowCount()) {
    const QString other = parent->child(row)->text();
    int order = QString::compare(other, text, Qt::CaseInsensitive);
    if (order == 0) order = QString::compare(other, text, Qt::CaseSensitive);
    if (order > 0) break;
    ++row;
  }
  parent->insertRow(row, item);
}

QString FilePickerDialog::itemPath(const QModelIndex& index) const {
  if (!index.isValid()) return QString();
  QStringList parts;
  for (QModelIndex at = index; at.isValid(); at = at.parent()) {
    if (kindOf(at) == PickerItemKind::Root) break;
    parts.prepend(at.data().toString());
  }
  return kRootText + parts.join(QLatin1Char('/'));
}

QModelIndex FilePickerDialog::indexOfPath(const QString& path) const {
  if (model_->rowCount() == 0) return QModelIndex();
  QModelIndex at = model_->index(0, 0);
  for (const QString& part : QDir::cleanPath(path).split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
    QModelIndex next;
    for (int row = 0; row < model_->rowCount(at); ++row) {
      const QModelIndex child = model_->index(row, 0, at);
      if (child.data().toString() == part) {
        next = child;
        break;
      }
    }
    if (!next.isValid()) return QModelIndex();
    at = next;
  }
  return at;
}

void FilePickerDialog::expanding(const QModelIndex& index) {
  trace(QStringLiteral("Item expanding"));
  // One open folder per level: the others close (and forget their children).
  const QModelIndex parent = index.parent();
  for (int row = 0; row < model_->rowCount(parent); ++row) {
    const QModelIndex sibling = model_->index(row, 0, parent);
    if (sibling != index && tree_->isExpanded(sibling)) tree_->collapse(sibling);
  }
  QStandardItem* item = model_->itemFromIndex(index);
  if (item != nullptr && item->rowCount() == 0) listFolder(item);
}

void FilePickerDialog::collapsed(const QModelIndex& index) {
  trace(QStringLiteral("Item collapsed"));
  // The folder keeps its expand button and is read again when it next opens.
  if (QStandardItem* item = model_->itemFromIndex(index)) item->removeRows(0, item->rowCount());
}

void FilePickerDialog::listFolder(QStandardItem* parent) {
  const QString folder = itemPath(parent->index());
  std::error_code ec;
  fs::directory_iterator it(fs::path(QFile::encodeName(folder).toStdString()),
                            fs::directory_options::skip_permission_denied, ec);
  if (ec) {
    trace(QStringLiteral("FindFirstFile returned invalid handle"));
    return;
  }
  if (it == fs::directory_iterator()) {
    // An empty folder loses its expand button.
    parent->setData(false, kChildrenMarkRole);
    if (parent->data(kChildrenMarkRole).toBool()) {
      trace(QStringLiteral("ERROR: setting item for no children."));
    }
    tree_->doItemsLayout();
    return;
  }
  for (; it != fs::directory_iterator(); it.increment(ec)) {
    const QString name = QFile::decodeName(it->path().filename().string().c_str());
    std::error_code kindError;
    if (it->is_directory(kindError)) {
      insertItem(parent, name, PickerItemKind::Folder);
    } else if (nameMatches(name, reversedSuffix_)) {
      insertItem(parent, name, PickerItemKind::File);
    }
    if (ec) break;
  }
}

void FilePickerDialog::chooseItem(const QModelIndex& index) {
  if (!index.isValid() || kindOf(index) != PickerItemKind::File) {
    chosenPath_.clear();
    return;
  }
  if (nameMatches(index.data().toString(), reversedSuffix_)) chosenPath_ = itemPath(index);
}

bool FilePickerDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == tree_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      const QModelIndex current = tree_->currentIndex();
      if (kindOf(current) == PickerItemKind::File) {
        chooseItem(current);
        if (!chosenPath_.isEmpty()) accept();
      } else if (current.isValid()) {
        tree_->setExpanded(current, !tree_->isExpanded(current));
      }
      return true;
    }
  }
  if (watched == tree_->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) chooseItem(tree_->indexAt(mouse->position().toPoint()));
  }
  return QDialog::eventFilter(watched, event);
}

void FilePickerDialog::trace(const QString& line) const {
  if (trace_) trace_(line);
}

std::optional<QString> runFilePicker(QWidget* owner, const QString& reversedSuffix,
                                     const QString& startPath) {
  FilePickerDialog picker(owner, startPath);
  picker.setReversedSuffix(reversedSuffix);
  if (picker.exec() != QDialog::Accepted) return std::nullopt;
  return picker.chosenPath();
}

}  // namespace lexora
