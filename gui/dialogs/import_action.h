#pragma once
// "Import…" in the dictionaries dialog: converts a StarDict (.ifo), dictd (.index), DSL
// (.dsl, .dsl.dz), MDict (.mdx) or TSV source into a dictionary in the folder of installed
// dictionaries. The import runs on a worker thread behind a progress dialog whose Cancel stops it;
// a cancelled or failed import leaves no files behind (the importer builds under temporary names),
// and a failure is shown in a message box.

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

namespace lexora {

// Asks for a source file (the default) or takes `source`, imports it and returns the data
// files written (one, or one per volume for a source too large for one dictionary); empty when
// nothing was chosen, the import was cancelled or it failed.
QStringList runImportAction(QWidget* owner, const QString& source = QString());

// Deletes the three files of an imported dictionary that is not to be installed after all.
void removeImportedDictionary(const QString& dataFile);

// The file dialog that picks the source; tests replace it. Returns an empty text for Cancel.
using ImportSourcePicker = std::function<QString(QWidget* owner)>;
void setImportSourcePicker(ImportSourcePicker picker);

}  // namespace lexora
