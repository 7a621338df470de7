#include "localisation/module_translator.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "component/form.h"
#include "dialog/options_dialog_hook.h"
#include "platform/module.h"
#include "quendra/quendra_module.h"

namespace quendra {
namespace {

const std::string kNoDataDe = "Keine Daten zur Verarbeitung";
const std::string kNoDataFr =
    "Aucune donn\xE9"
    "e \xE0 traiter";

std::string fixture_path() {
  return std::string(QUENDRA_FIXTURES) + "/interface.lng";
}

TEST(ModuleTranslatorTest, ReadsTheDefaultLanguageOnlyFromAnExistingFile) {
  ModuleTranslator with_file(fixture_path());
  EXPECT_TRUE(with_file.HasLanguageFile());
  EXPECT_EQ(with_file.ReadFileLanguage(), "DE");
  const std::string no_default = (std::filesystem::temp_directory_path() / "quendra_no_default.lng").string();
  { std::ofstream(no_default) << "EN:>Add item\nDE:>Hinzu\n\n"; }
  ModuleTranslator without_default(no_default);
  EXPECT_EQ(without_default.ReadFileLanguage(), "EN");
  std::filesystem::remove(no_default);
  ModuleTranslator without(fixture_path() + ".missing");
  EXPECT_FALSE(without.HasLanguageFile());
  EXPECT_EQ(without.ReadFileLanguage(), "");
}

TEST(ModuleTranslatorTest, ModuleTextsFollowEveryLanguageChange) {
  ModuleTranslator translator(fixture_path());
  TzelPlugin module(nullptr);
  struct Step {
    const char* language;
    std::string no_data;
  };
  const std::vector<Step> steps = {
      {"DE", kNoDataDe},
      {"FR", kNoDataFr},                 // from the English original, not from the German text
      {"IT", "No data for processing"},  // a language the file does not hold gives English again
      {"DE", kNoDataDe},
  };
  for (const Step& step : steps) {
    translator.TranslateModule(module, step.language, "EN");
    EXPECT_EQ(module.MsgNoData, step.no_data) << step.language;
    EXPECT_EQ(module.MsgWriteComplete, "Data have been processed successfully") << step.language;
  }
  // A text the module set itself since the last pass is its new original.
  module.MsgNoData = "Add item";
  translator.TranslateModule(module, "FR", "EN");
  EXPECT_EQ(module.MsgNoData, "Ajouter un \xE9l\xE9ment");
}

TEST(ModuleTranslatorTest, TextPassesAndTheDialog) {
  ModuleTranslator translator(fixture_path());
  std::string text = "Unable to parse data";
  EXPECT_TRUE(translator.TranslateTexts(
      "DE", "EN", [&](const PluginTranslator::TextTranslation& translate) { text = translate(text); }));
  EXPECT_EQ(text, "Daten nicht lesbar");

  ModuleTranslator missing(fixture_path() + ".missing");
  EXPECT_FALSE(missing.TranslateTexts("DE", "EN", [](const PluginTranslator::TextTranslation&) { FAIL(); }));

  TzelPlugin module(nullptr);
  module.Translator = std::make_unique<ModuleTranslator>(fixture_path());
  module.Language = "";
  TForm form;
  form.Caption = "Options";
  EXPECT_FALSE(TranslateComponentTexts(module, form));  // an empty language becomes "NONE"
  EXPECT_EQ(module.Language, "NONE");
  module.Language = "DE";
  EXPECT_TRUE(TranslateComponentTexts(module, form));
  EXPECT_EQ(form.Caption, "Optionen");
}

// The language file beside the library (here: beside the test program), and modules made with the factory the
// library registers at start-up.
class LanguageFileBesideLibrary : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::copy_file(fixture_path(), language_file_,
                               std::filesystem::copy_options::overwrite_existing);
    RegisterTranslatorFactory(&MakeModuleTranslator);
  }
  void TearDown() override {
    RegisterTranslatorFactory(nullptr);
    std::filesystem::remove(language_file_);
    std::filesystem::remove(settings_file_);
  }
  // A module created as the library creates it, with its settings in a file of its own.
  std::unique_ptr<TaPlugin> MakeModule() {
    auto module = std::make_unique<TaPlugin>(nullptr);
    module->AfterConstruction();
    module->INIFile = settings_file_;
    return module;
  }

  const std::filesystem::path base_ = std::filesystem::path(platform::own_module_path());
  const std::string language_file_ = std::filesystem::path(base_).replace_extension(".lng").string();
  const std::string settings_file_ = std::filesystem::path(base_).replace_extension(".ini").string();
};

TEST_F(LanguageFileBesideLibrary, TheModuleAndItsMessageTableSpeakTheFileLanguage) {
  std::unique_ptr<TaPlugin> module = MakeModule();
  EXPECT_EQ(module->Language, "DE");
  EXPECT_EQ(module->MsgNoData, kNoDataDe);
  EXPECT_EQ(module->Texts.ErrParseData, "Daten nicht lesbar");

  // The parser items the host shows: translated, except where a translation would split the items text.
  int32_t result = 0;
  module->OnLoad(*module, nullptr, result);
  module->OnBeforeGetParserItems(*module);
  const std::vector<TParserItem>& items = module->ParserItems.items();
  ASSERT_GE(items.size(), 7u);
  EXPECT_EQ(items[0].Description, "Vollst\xE4ndiges Datenpaket");
  EXPECT_EQ(items[1].Description, "Data packet");
  EXPECT_EQ(items[6].Name, "CLIENTID");
  EXPECT_EQ(items[6].Description, "Client ID");

  module->ChangeLanguage("FR");
  EXPECT_EQ(module->MsgNoData, kNoDataFr);
  EXPECT_EQ(module->Texts.ErrParseData,
            "Donn\xE9"
            "es illisibles");
  module->ChangeLanguage("EN");
  EXPECT_EQ(module->MsgNoData, "No data for processing");
  EXPECT_EQ(module->Texts.ErrParseData, "Unable to parse data");
  EXPECT_EQ(module->Texts.ErrConfigChange, "Error occurred while changing the configuration (%s)");
}

TEST_F(LanguageFileBesideLibrary, TheOptionsDialogSpeaksTheModuleLanguage) {
  RegisterDialogTranslator([](TaPlugin& module, TComponent& form) { TranslateComponentTexts(module, form); });
  struct Unregister {
    ~Unregister() { RegisterDialogTranslator(nullptr); }
  } unregister;
  std::unique_ptr<TaPlugin> module = MakeModule();
  struct Case {
    const char* language;
    std::string cancel, page, label, header;
  };
  const std::vector<Case> cases = {
      {"DE", "Abbrechen", "XML-Daten", "Name des Wurzelknotens", "Bezeichnung"},
      {"FR", "Annuler",
       "Donn\xE9"
       "es XML",
       "Nom du n\x9C"
       "ud racine",
       "Nom"},  // 1252 holds the "oe" ligature
      {"EN", "Cancel", "XML data", "Root node name", "Name"},
  };
  for (const Case& c : cases) {
    module->ChangeLanguage(c.language);
    TfrmOption form(HostOf(*module));
    form.FormCreate();
    EXPECT_EQ(form.btnCancel->Caption, c.cancel) << c.language;
    EXPECT_EQ(form.FindComponent("p_0_0")->GetStrProp("Caption"), c.page) << c.language;
    EXPECT_EQ(form.FindComponent("lblBegSign")->GetStrProp("Caption"), c.label) << c.language;
    EXPECT_EQ(form.XMLs->Column(0).Header, c.header) << c.language;
    EXPECT_EQ(form.BegSign->Text, "Data") << c.language;  // what the user typed stays
  }
}

}  // namespace
}  // namespace quendra
