#include "gui/dialogs/import_action.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <thread>

#include "engine/file_format.h"
#include "gui/widgets/plain_message_box.h"
#include "importers/import_job.h"
#include "importers/install_folder.h"

namespace lexora {
namespace {

ImportSourcePicker& sourcePicker() {
  static ImportSourcePicker picker = [](QWidget* owner) {
    return QFileDialog::getOpenFileName(
        owner, QObject::tr("Import a dictionary"), QDir::homePath(),
        QObject::tr(
            "Dictionaries (*.ifo *.index *.dsl *.dsl.dz *.mdx *.tsv *.txt);;All files (*)"));
  };
  return picker;
}

QString stemOf(const QString& source) {
  QString name = QFileInfo(source).fileName();
  for (const char* ending :
       {".ifo", ".index", ".dict.dz", ".dict", ".dsl.dz", ".dsl", ".mdx", ".tsv", ".txt"}) {
    if (name.endsWith(QLatin1String(ending))) {
      name.chop(static_cast<int>(qstrlen(ending)));
      break;
    }
  }
  return name;
}

// The data file for stem in folder: "STEM.pvm", or "STEM (2).pvm", "STEM (3).pvm", ... when
// files of that name are there already (an installed dictionary, perhaps open right now).
QString freeDataFile(const QString& folder, const QString& stem) {
  for (int n = 1;; ++n) {
    const QString name = n == 1 ? stem : QStringLiteral("%1 (%2)").arg(stem).arg(n);
    const FileSetNames names =
        fileSetNames(QDir(folder).filePath(name + QStringLiteral(".pvm")).toStdString());
    bool taken = false;
    for (const std::string& f : {names.dataFile, names.wordFile, names.indexFile}) {
      taken = taken || QFileInfo::exists(QString::fromStdString(f));
    }
    if (!taken) return QString::fromStdString(names.dataFile);
  }
}

// Entries left out, as lexora-cli reports them: their count and the first reasons.
void reportSkipped(QWidget* owner, const importers::ImportOutcome& outcome) {
  if (outcome.skipped == 0) return;
  QString text =
      QObject::tr("Imported %1 entries, skipped %2:").arg(outcome.imported).arg(outcome.skipped);
  for (size_t i = 0; i < outcome.reports.size() && i < 5; ++i) {
    text += QLatin1Char('\n') + QString::fromStdString(outcome.reports[i]);
  }
  if (outcome.skipped > 5) text += QStringLiteral("\n\u2026");
  auto* box = new QMessageBox(QMessageBox::Information, QObject::tr("Import"), text,
                              QMessageBox::Ok, owner);
  box->setObjectName(QStringLiteral("importReport"));
  box->setTextFormat(Qt::PlainText);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}

}  // namespace

void removeImportedDictionary(const QString& dataFile) {
  const FileSetNames names = fileSetNames(dataFile.toStdString());
  for (const std::string& f : {names.dataFile, names.wordFile, names.indexFile, names.fullTextFile,
                               names.suggestionFile}) {
    QFile::remove(QString::fromStdString(f));
  }
  QDir(QString::fromStdString(names.resourceFolder)).removeRecursively();
}

void setImportSourcePicker(ImportSourcePicker picker) { sourcePicker() = std::move(picker); }

QStringList runImportAction(QWidget* owner, const QString& given) {
  QString source = given.isEmpty() ? sourcePicker()(owner) : given;
  if (source.isEmpty()) return {};
  const auto kind = importers::detectSourceKind(source.toStdString());
  if (!kind) {
    showPlainMessage(
        owner, QMessageBox::Critical, QObject::tr("Import"),
        QObject::tr("%1 is not a StarDict (.ifo), dictd (.index), DSL (.dsl), MDict (.mdx) or TSV "
                    "dictionary.")
            .arg(source));
    return {};
  }
  if (*kind == importers::SourceKind::Dictd && !source.endsWith(QLatin1String(".index"))) {
    source = QFileInfo(source).dir().filePath(stemOf(source) + QStringLiteral(".index"));
  }
  const QString folder = QString::fromStdString(importers::installedDictionaryFolder());
  if (!QDir().mkpath(folder)) {
    showPlainMessage(owner, QMessageBox::Critical, QObject::tr("Import"),
                     QObject::tr("Cannot create %1.").arg(folder));
    return {};
  }
  const std::string dataFile = freeDataFile(folder, stemOf(source)).toStdString();

  // The bar follows the whole run: reading, converting, writing and indexing, in thousandths.
  std::atomic<uint32_t> permille{0};
  std::atomic<bool> cancel{false};
  std::atomic<bool> finished{false};
  importers::ImportOutcome outcome;
  importers::ImportOptions options;
  options.split = true;  // a large source is installed as volumes rather than refused
  options.runProgress = [&](uint32_t p) {
    permille = p;
    return !cancel.load();
  };
  std::thread worker([&] {
    outcome = importers::importSource(*kind, source.toStdString(), nullptr, dataFile, options);
    finished = true;
  });

  QProgressDialog progress(QObject::tr("Importing %1…").arg(QFileInfo(source).fileName()),
                           QObject::tr("Cancel"), 0, 1000, owner);
  progress.setObjectName(QStringLiteral("importProgress"));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(0);
  progress.setAutoClose(false);
  progress.setAutoReset(false);
  QEventLoop loop;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
    if (progress.wasCanceled()) cancel = true;
    progress.setValue(static_cast<int>(std::min<uint32_t>(1000, permille.load())));
    if (finished.load()) loop.quit();
  });
  poll.start(50);
  progress.show();
  loop.exec();
  worker.join();
  progress.close();

  if (outcome.result == importers::ImportResult::Cancelled) return {};
  if (outcome.result == importers::ImportResult::Failed) {
    showPlainMessage(
        owner, QMessageBox::Critical, QObject::tr("Import"),
        QObject::tr("The import failed: %1").arg(QString::fromStdString(outcome.status.message())));
    return {};
  }
  reportSkipped(owner, outcome);
  QStringList written;
  for (const std::string& f : outcome.dataFiles) written << QString::fromStdString(f);
  return written;
}

}  // namespace lexora
