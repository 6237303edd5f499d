// The language field of the dictionaries dialog: the selected dictionary's language, checked
// when typed, stored on OK and forgotten on Cancel.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <map>
#include <memory>

#include "app/dictionary_list.h"
#include "gui/dialogs/dictionaries_dialog.h"
#include "tests/gui/dialogs/dialog_test_support.h"

namespace lexora {
namespace {

class DictionariesLanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::testApplication();
    ASSERT_TRUE(setInstalledDictionaryPaths(settings_, {u"/d/en.pvm", u"/d/vi.pvm"}));
    stored_["/d/en.pvm"] = "en";
    dialog_ = std::make_unique<DictionariesDialog>(settings_);
    LanguageStore store;
    store.read = [this](const std::string& path) { return stored_[path]; };
    store.write = [this](const std::string& path, const std::string& language) {
      writes_.emplace_back(path, language);
      return true;
    };
    dialog_->setLanguageStore(store);
    // The paths name no real files; storing them anyway is what these tests are about.
    dialog_->setProblemQuestion([](QWidget*, const QString&) { return true; });
    field_ = dialog_->findChild<QLineEdit*>(QStringLiteral("languageBox"));
    list_ = dialog_->findChild<QListWidget*>(QStringLiteral("dictionaryList"));
    ASSERT_NE(field_, nullptr);
  }

  void type(const QString& text) {
    field_->setText(text);
    emit field_->editingFinished();
  }

  Settings settings_;
  std::map<std::string, std::string> stored_;
  std::vector<std::pair<std::string, std::string>> writes_;
  std::unique_ptr<DictionariesDialog> dialog_;
  QLineEdit* field_ = nullptr;
  QListWidget* list_ = nullptr;
};

TEST_F(DictionariesLanguageTest, ShowsChecksAndStoresOnOk) {
  EXPECT_FALSE(field_->isHidden());
  list_->setCurrentRow(0);
  EXPECT_EQ(field_->text(), "en");
  list_->setCurrentRow(1);
  EXPECT_EQ(field_->text(), "");  // nothing stored: guessed on first use
  type("VI");
  EXPECT_EQ(field_->text(), "vi");
  type("v/i");  // not a language: the field shows what it held
  EXPECT_EQ(field_->text(), "vi");
  list_->setCurrentRow(0);
  type("");
  EXPECT_TRUE(writes_.empty());  // nothing is stored before OK
  dialog_->storeRows();
  EXPECT_EQ(writes_, (std::vector<std::pair<std::string, std::string>>{{"/d/en.pvm", ""},
                                                                       {"/d/vi.pvm", "vi"}}));
}

TEST_F(DictionariesLanguageTest, CancelStoresNothing) {
  list_->setCurrentRow(1);
  type("fr");
  dialog_->reject();
  EXPECT_TRUE(writes_.empty());
}

TEST(DictionariesLanguageField, HiddenWithoutAStore) {
  test::testApplication();
  Settings settings;
  DictionariesDialog dialog(settings);
  auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("languageBox"));
  ASSERT_NE(field, nullptr);
  EXPECT_TRUE(field->isHidden());
}

}  // namespace
}  // namespace lexora
