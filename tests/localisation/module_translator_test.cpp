#include "localisation/module_translator.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "component/form.h"
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

// The whole road: a language file beside the library, the module created through the registered factory,
// then the host selecting another language.
TEST(ModuleTranslatorTest, TheModuleAndItsMessageTableSpeakTheFileLanguage) {
  const std::string language_file =
      std::filesystem::path(platform::own_module_path()).replace_extension(".lng").string();
  std::filesystem::copy_file(fixture_path(), language_file,
                             std::filesystem::copy_options::overwrite_existing);
  struct Remove {
    std::string path;
    ~Remove() {
      RegisterTranslatorFactory(nullptr);
      std::filesystem::remove(path);
    }
  } remove{language_file};
  RegisterTranslatorFactory(&MakeModuleTranslator);

  TaPlugin module(nullptr);
  module.AfterConstruction();
  EXPECT_EQ(module.Language, "DE");
  EXPECT_EQ(module.MsgNoData, kNoDataDe);
  EXPECT_EQ(module.Texts.ErrParseData, "Daten nicht lesbar");

  // The parser items the host shows: translated, except where a translation would split the items text.
  module.INIFile = std::filesystem::path(language_file).replace_extension(".ini").string();
  int32_t result = 0;
  module.OnLoad(module, nullptr, result);
  module.OnBeforeGetParserItems(module);
  std::filesystem::remove(module.INIFile);
  const std::vector<TParserItem>& items = module.ParserItems.items();
  ASSERT_GE(items.size(), 7u);
  EXPECT_EQ(items[0].Description, "Vollst\xE4ndiges Datenpaket");
  EXPECT_EQ(items[1].Description, "Data packet");
  EXPECT_EQ(items[6].Name, "CLIENTID");
  EXPECT_EQ(items[6].Description, "Client ID");

  module.ChangeLanguage("FR");
  EXPECT_EQ(module.MsgNoData, kNoDataFr);
  EXPECT_EQ(module.Texts.ErrParseData,
            "Donn\xE9"
            "es illisibles");
  module.ChangeLanguage("EN");
  EXPECT_EQ(module.MsgNoData, "No data for processing");
  EXPECT_EQ(module.Texts.ErrParseData, "Unable to parse data");
  EXPECT_EQ(module.Texts.ErrConfigChange, "Error occurred while changing the configuration (%s)");
}

}  // namespace
}  // namespace quendra
