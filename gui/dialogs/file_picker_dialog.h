#pragma once
// FilePickerDialog, "Select File Name": the user walks the folders of the file system in a
// tree and taps one file. The tree starts at the root "/" opened down to a starting folder;
// a folder is read only when it is expanded and forgotten again when it is collapsed, and
// only sub-folders and the files whose names end in the caller's suffix are offered. Opening
// one folder collapses the other open folders of the same level.
//
// Use:
//   FilePickerDialog picker(owner);
//   picker.setReversedSuffix("mvp.");  // names ending in ".pvm", any case
//   if (picker.exec() == QDialog::Accepted) use(picker.chosenPath());  // may be empty
//
// Trace lines ("Item expanding", "Item collapsed", and the two folder-reading errors) go to
// standard error when the environment variable LEXORA_DEBUG is set and not empty.

#include <QDialog>
#include <QModelIndex>
#include <QString>
#include <functional>
#include <optional>

class QLabel;
class QStandardItem;
class QStandardItemModel;
class QToolButton;
class QTreeView;

namespace lexora {

// What a tree item stands for (the picture it shows).
enum class PickerItemKind { Root = 0, Folder = 2, File = 4 };

class FilePickerDialog : public QDialog {
  Q_OBJECT

 public:
  // `startFolder`: the folder shown open when the dialog appears; empty means the user's
  // home. A folder that does not exist is replaced by its nearest existing ancestor. Child
  // widgets carry the object names "titleLine", "folderTree", "okButton" and "cancelButton".
  explicit FilePickerDialog(QWidget* parent = nullptr, const QString& startFolder = QString());
  ~FilePickerDialog() override;

  // The wanted end of the file names, written backwards; only its first 4 characters count.
  void setReversedSuffix(const QString& reversedSuffix) { reversedSuffix_ = reversedSuffix; }
  const QString& reversedSuffix() const { return reversedSuffix_; }
  // The full path of the last matching file tapped; empty after a tap on anything else.
  const QString& chosenPath() const { return chosenPath_; }

  // Fills the tree: the root, opened down to the starting folder. Runs by itself when the
  // dialog is first shown; later calls do nothing.
  void populate();

  // A tap on `index` (invalid: a tap beside every item).
  void chooseItem(const QModelIndex& index);
  // The item shown for the full path `path`, or an invalid index when it is not in the tree.
  QModelIndex indexOfPath(const QString& path) const;
  // The full path that `index` stands for.
  QString itemPath(const QModelIndex& index) const;
  QTreeView* tree() const { return tree_; }
  QStandardItemModel* model() const { return model_; }

  // Where the trace lines go (default: standard error when LEXORA_DEBUG is set).
  using Trace = std::function<void(const QString& line)>;
  void setTrace(Trace trace) { trace_ = std::move(trace); }

  // True when `name`, read backwards, begins with the first 4 characters of `reversedSuffix`
  // regardless of case; a name shorter than that never matches.
  static bool nameMatches(const QString& name, const QString& reversedSuffix);
  // A sensible folder to start in for a file at `path`: the path itself when it is a folder,
  // otherwise its nearest existing parent; the user's home when there is none.
  static QString startFolderFor(const QString& path);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void layOut();
  void expanding(const QModelIndex& index);
  void collapsed(const QModelIndex& index);
  void listFolder(QStandardItem* parent);
  void insertItem(QStandardItem* parent, const QString& text, PickerItemKind kind);
  void trace(const QString& line) const;

  QString startFolder_;
  QString reversedSuffix_;
  QString chosenPath_;
  bool populated_ = false;
  Trace trace_;

  QLabel* titleLine_ = nullptr;
  QTreeView* tree_ = nullptr;
  QStandardItemModel* model_ = nullptr;
  QToolButton* okButton_ = nullptr;
  QToolButton* cancelButton_ = nullptr;
};

// Runs a FilePickerDialog over `owner` for files whose names end in the reverse of
// `reversedSuffix`, starting near `startPath`. The chosen path after OK (possibly empty);
// nothing after Cancel.
std::optional<QString> runFilePicker(QWidget* owner, const QString& reversedSuffix,
                                     const QString& startPath);

}  // namespace lexora
