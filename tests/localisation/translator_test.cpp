#include "localisation/translator.h"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "component/control.h"
#include "component/form.h"
#include "component/input_controls.h"
#include "component/property_binding.h"
#include "localisation/custom_translators.h"
#include "platform/clock.h"
#include "platform/file_io.h"

namespace quendra {
namespace {

using binding::Field;

// Small controls of the kinds the walk treats specially.
class TTestFont : public TPersistent {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{
        "TFont", &TPersistent::StaticClass(), {Field("Charset", &TTestFont::Charset)}};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  int Charset = 1;
};

class TLabel : public TControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{"TLabel",
                                 &TControl::StaticClass(),
                                 {Field("Caption", &TLabel::Caption), Field("Font", &TLabel::Font),
                                  Field("BiDiMode", &TLabel::BiDiMode)}};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  std::string Caption;
  TTestFont Font;
  int BiDiMode = 0;
};

class TPanel : public TWinControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{"TPanel", &TWinControl::StaticClass(), {Field("Caption", &TPanel::Caption)}};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  std::string Caption;
};

class TComboBox : public TWinControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{
        "TComboBox",
        &TWinControl::StaticClass(),
        {Field("Items", &TComboBox::Items), Field("ItemIndex", &TComboBox::ItemIndex),
         Field("Text", &TComboBox::Text)}};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  TStringList Items;
  int ItemIndex = -1;
  std::string Text;
};

class TRadioGroup : public TComboBox {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{
        "TRadioGroup",
        &TWinControl::StaticClass(),
        {Field("Items", &TRadioGroup::Items), Field("ItemIndex", &TRadioGroup::ItemIndex)}};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
};

class TListBox : public TComboBox {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{"TListBox", &TWinControl::StaticClass(), {Field("Items", &TListBox::Items)}};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
};

class TGridColumn : public TPersistent {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{
        "TGridColumn",
        &TPersistent::StaticClass(),
        {Field("Header", &TGridColumn::Header), Field("ComboItems", &TGridColumn::ComboItems)}};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  std::string Header;
  TStringList ComboItems;
};

class TGrid : public TWinControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{"TGrid", &TWinControl::StaticClass(), {Field("Columns", &TGrid::Column)}};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  TGridColumn Column;
};

// German and French in UTF-8; the system code page of the tests is 1252.
const std::string kAddItemDe = "Eintrag hinzuf\xFCgen";
const std::string kAddItemFr = "Ajouter un \xE9l\xE9ment";

std::string fixture_path() {
  return std::string(QUENDRA_FIXTURES) + "/interface.lng";
}

std::string read_text(const std::filesystem::path& path) {
  return platform::read_whole_file(path.string()).value_or("<missing>");
}

// A folder of its own for each test that writes language files.
class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() / ("quendra_lng_" + std::string(info->name()));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  std::filesystem::path File(const std::string& name) const { return path_ / name; }
  std::string Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
    return (path_ / name).string();
  }

 private:
  std::filesystem::path path_;
};

std::string translate(TWtransl& translator, const std::string& language, std::string text) {
  translator.TranslateComponent(language, text);
  return text;
}

TEST(TranslatorTest, TextsOfTheFixture) {
  struct Case {
    const char* language;
    std::string text;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"DE", "Add item", kAddItemDe},
      {"DE", "add ITEM", kAddItemDe},        // the lower-case map
      {"DE", " Add item ", kAddItemDe},      // trimmed; the spaces are not kept
      {"DE", "\tAdd item\r\n", kAddItemDe},  // every character up to the space is trimmed
      {"DE", "&Options", "&Optionen"},       // found without "&": the translation keeps its "&"
      {"DE", "Options", "Optionen"},         // found as it is, without "&": the "&" goes
      {"DE", "OPTIONS", "&Optionen"},        // found through the lower-case map: the "&" stays
      {"DE", "Line1\r\nLine2", "Zeile1\r\nZeile2"},
      {"DE", "Region", "Gebiet"},  // the "Locale=" line on line 21 is a block line
      {"DE", "Unfinished block", "Unfinished block"},
      {"DE", "Not in the file", "Not in the file"},
      {"DE", "   ", "   "},
      {"FR", "Add item", kAddItemFr},
      {"FR", "&Options", "&Param\xE8tres"},
      {"FR", "Line1\r\nLine2", "Ligne1\r\nLigne2"},
      {"FR", "Region", "Region"},
      {"IT", "Add item", "Add item"},
  };
  TWtransl translator;
  translator.LanguageFile = fixture_path();
  for (const Case& c : cases) EXPECT_EQ(translate(translator, c.language, c.text), c.expected) << c.text;
}

TEST(TranslatorTest, FileSettingsOfTheFixture) {
  TWtransl translator;
  translator.LanguageFile = fixture_path();
  std::string text = "Add item";
  ASSERT_TRUE(translator.TranslateComponent("DE", text));
  const TWtransl::FileState state = translator.State();
  EXPECT_EQ(state.Count, 12);
  EXPECT_EQ(state.Locale, 0x407u);
  EXPECT_EQ(state.Encoding, TextEncoding::Utf8);
  EXPECT_EQ(state.Save, SaveMode::None);
  EXPECT_EQ(translator.ReadFileLanguage(), "DE");
}

TEST(TranslatorTest, ControlCharactersAndAmpersands) {
  TempFolder folder;
  TWtransl translator;
  translator.LanguageFile = folder.Write("x.lng",
                                         "EN:>Tab%09here\nDE:>Tab%09hier%\n\n"
                                         "EN:>Plain\nDE:>%0D%41&%zz%4\n\n"
                                         "EN:>A&B\nDE:>X&Y\n\n");
  struct Case {
    std::string text, expected;
  };
  const std::vector<Case> cases = {
      {"Tab\there", "Tab\thier%"},  // a "%" without two characters after it stays
      {"Plain", "%0D%41%zz%4"},     // no control character looked up: "%XX" stays; no "&": it goes
      {"A&B", "X&Y"},               // found as it is, with "&": kept
      {"AB", "AB"},                 // an "&" is never added to a text to find it
  };
  for (const Case& c : cases) EXPECT_EQ(translate(translator, "DE", c.text), c.expected) << c.text;
}

TEST(TranslatorTest, MissingOrEmptyFileChangesNothing) {
  TempFolder folder;
  TWtransl translator;
  TForm form;
  form.Caption = "Add item";
  translator.LanguageFile = folder.File("missing.lng").string();
  EXPECT_FALSE(translator.TranslateComponent("DE", form));
  EXPECT_EQ(form.Caption, "Add item");
  EXPECT_EQ(translator.State().Count, -1);

  translator.LanguageFile = folder.Write("empty.lng", "");
  translator.ReleaseTranslations();
  EXPECT_FALSE(translator.TranslateComponent("DE", form));
  EXPECT_EQ(translator.State().Count, 0);

  // "//saveall" runs the pass even without translations.
  translator.LanguageFile = folder.Write("all.lng", "//saveall\n");
  translator.ReleaseTranslations();
  EXPECT_TRUE(translator.TranslateComponent("DE", form));
}

// A form whose components test the tag and name rules.
struct WalkForm {
  TForm form;
  WalkForm() {
    form.SetName("Options");
    form.Caption = "Options";
    Add<TLabel>("plain", 0, "Add item");
    Add<TLabel>("tag9999", 9999, "Add item");
    Add<TLabel>("tag9998", 9998, "Add item");
    Add<TLabel>("tag9997", 9997, "Add item");
    Add<TLabel>("tag10002", 10002, "Add item");
    Add<TLabel>("tag10001", 10001, "Add item");
    Add<TLabel>("tag10003", 10003, "Add item");
    auto& help = Add<TPanel>("help9999", 0, "Add item");
    help.HelpContext = 9999;
    help.Create<TLabel>("insideHelp").Caption = "Add item";
    auto& panel = Add<TPanel>("_panel", 0, "Add item");
    panel.Create<TLabel>("insideUnderscore").Caption = "Add item";
    auto& hidden = Add<TPanel>("__panel", 0, "Add item");
    hidden.Create<TLabel>("insideDouble").Caption = "Add item";
    auto& skip_self = Add<TPanel>("skipSelf", 9998, "Add item");
    skip_self.Create<TLabel>("insideSkipSelf").Caption = "Add item";
    auto& skip_all = Add<TPanel>("skipAll", 9999, "Add item");
    skip_all.Create<TLabel>("insideSkipAll").Caption = "Add item";
    form.Create<TEdit>("edit").Text = "Add item";
  }
  template <class T>
  T& Add(const std::string& name, int tag, const std::string& text) {
    T& c = form.Create<T>(name);
    c.SetTag(tag);
    c.Caption = text;
    c.Hint = text;
    return c;
  }
  std::string Hint(std::string_view name) { return form.FindComponent(name)->GetStrProp("Hint"); }
};

TEST(TranslatorTest, TagsAndNamesChooseWhatIsTranslated) {
  WalkForm w;
  TWtransl translator;
  translator.LanguageFile = fixture_path();
  ASSERT_TRUE(translator.TranslateComponent("DE", w.form));

  struct Case {
    std::vector<std::string_view> path;
    std::string caption;
  };
  const std::string en = "Add item";
  const std::vector<Case> cases = {
      {{"plain"}, kAddItemDe},
      {{"tag9999"}, en},
      {{"tag9998"}, en},
      {{"tag9997"}, en},
      {{"tag10002"}, en},
      {{"tag10001"}, kAddItemDe},
      {{"tag10003"}, en},
      {{"help9999"}, en},
      {{"help9999", "insideHelp"}, en},
      {{"_panel"}, kAddItemDe},
      {{"_panel", "insideUnderscore"}, en},
      {{"__panel"}, en},
      {{"__panel", "insideDouble"}, en},
      {{"skipSelf"}, en},
      {{"skipSelf", "insideSkipSelf"}, kAddItemDe},
      {{"skipAll"}, en},
      {{"skipAll", "insideSkipAll"}, en},
  };
  for (const Case& c : cases) {
    TComponent* component = &w.form;
    std::string where;
    for (std::string_view name : c.path) {
      component = component->FindComponent(name);
      where += std::string(name) + "/";
    }
    ASSERT_NE(component, nullptr) << where;
    EXPECT_EQ(component->GetStrProp("Caption"), c.caption) << where;
  }
  EXPECT_EQ(w.form.Caption, "Optionen");
  EXPECT_EQ(w.Hint("tag10002"), kAddItemDe);  // keeps its caption, its hint is translated
  EXPECT_EQ(w.Hint("tag10001"), en);
  EXPECT_EQ(w.Hint("tag10003"), en);
  EXPECT_EQ(w.form.FindComponent("edit")->GetStrProp("Text"), en);  // typed by the user
}

TEST(TranslatorTest, ThePassedComponentSkipsOnlyTag9998) {
  TWtransl translator;
  translator.LanguageFile = fixture_path();
  for (int tag : {9997, 9998, 9999}) {
    TPanel panel;
    panel.SetTag(tag);
    panel.Caption = "Add item";
    panel.Create<TLabel>("child").Caption = "Add item";
    translator.TranslateComponent("DE", panel);
    EXPECT_EQ(panel.Caption, tag == 9998 ? "Add item" : kAddItemDe) << tag;
    EXPECT_EQ(panel.FindComponent("child")->GetStrProp("Caption"), kAddItemDe) << tag;
  }
}

TEST(TranslatorTest, ComboBoxesGridColumnsAndFonts) {
  TempFolder folder;
  TWtransl translator;
  translator.ComponentProperties.Add("Columns");
  translator.ComponentProperties.Add("Header");
  translator.ComponentProperties.Add("ComboItems");
  translator.LanguageFile =
      folder.Write("x.lng",
                   "BiDiMode=RightToLeft\nCharset=windows-1251\n\n"
                   "EN:>One\nDE:>Eins\n\nEN:>Two\nDE:>Zwei\n\nEN:>Name\nDE:>Bezeichnung\n\n");
  TForm form;
  auto& combo = form.Create<TComboBox>("combo");
  combo.Items.SetLines({"One", "Two", "Three"});
  combo.ItemIndex = 1;
  combo.Text = "Two";
  auto& skip_items = form.Create<TComboBox>("skipItems");
  skip_items.SetTag(10004);
  skip_items.Items.SetLines({"One"});
  auto& radio = form.Create<TRadioGroup>("radio");
  radio.Items.SetLines({"Two", "One"});
  radio.ItemIndex = 0;
  auto& list = form.Create<TListBox>("list");
  list.Items.SetLines({"One"});
  auto& grid = form.Create<TGrid>("grid");
  grid.Column.Header = "Name";
  grid.Column.ComboItems.SetLines({"One", "Two"});
  auto& label = form.Create<TLabel>("label");
  auto& symbol = form.Create<TLabel>("symbol");
  symbol.Font.Charset = kSymbolCharset;

  ASSERT_TRUE(translator.TranslateComponent("DE", form));
  EXPECT_EQ(combo.Items.Lines(), (std::vector<std::string>{"Eins", "Zwei", "Three"}));
  EXPECT_EQ(combo.ItemIndex, 1);
  EXPECT_EQ(combo.Text, "Two");
  EXPECT_EQ(skip_items.Items.Lines(), std::vector<std::string>{"One"});
  EXPECT_EQ(radio.Items.Lines(), (std::vector<std::string>{"Zwei", "Eins"}));
  EXPECT_EQ(radio.ItemIndex, 0);
  EXPECT_EQ(list.Items.Lines(), std::vector<std::string>{"One"});  // data, not interface
  EXPECT_EQ(grid.Column.Header, "Bezeichnung");
  EXPECT_EQ(grid.Column.ComboItems.Lines(), (std::vector<std::string>{"Eins", "Zwei"}));
  EXPECT_EQ(label.Font.Charset, 204);
  EXPECT_EQ(label.BiDiMode, 1);
  EXPECT_EQ(symbol.Font.Charset, kSymbolCharset);
}

class TTitledThing : public TPersistent {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{
        "TTitledThing", &TPersistent::StaticClass(), {Field("Title", &TTitledThing::Title)}};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  std::string Title;
  std::string Secret = "Add item";
};

class THolder : public TWinControl {
 public:
  static const TClassInfo& StaticClass() {
    static const TClassInfo info{
        "THolder", &TWinControl::StaticClass(), {Field("Captions", &THolder::Thing)}};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }
  TTitledThing Thing;
};

TEST(TranslatorTest, CustomTranslatorsForObjectsAndComponents) {
  RegisterCustomTranslator("TTitledThing", std::nullopt, [](TWtransl& t, TPersistent& object) {
    auto& thing = static_cast<TTitledThing&>(object);
    thing.Secret = t.TranslateText(thing.Secret);
  });
  RegisterCustomTranslator("THolder", "*", [](TWtransl& t, TPersistent& object) {
    static_cast<THolder&>(object).Hint = t.TranslateText("Options") + "!";
  });
  TWtransl translator;
  translator.LanguageFile = fixture_path();
  TForm form;
  auto& holder = form.Create<THolder>("holder");
  holder.Thing.Title = "Add item";
  ASSERT_TRUE(translator.TranslateComponent("DE", form));
  EXPECT_EQ(holder.Thing.Secret, kAddItemDe);  // the custom translator ran ...
  EXPECT_EQ(holder.Thing.Title, "Add item");   // ... in place of the generic one
  EXPECT_EQ(holder.Hint, "Optionen!");
}

TEST(TranslatorTest, TranslationsAreDroppedTwentySecondsAfterTheLastPass) {
  static std::atomic<uint32_t> ticks{1000};
  platform::set_tick_source([] { return ticks.load(); });
  struct Restore {
    ~Restore() { platform::set_tick_source(nullptr); }
  } restore;

  TempFolder folder;
  TWtransl translator;
  translator.LanguageFile = folder.Write("x.lng", "EN:>Add item\nDE:>Alt\n\n");
  EXPECT_EQ(translate(translator, "DE", "Add item"), "Alt");
  folder.Write("x.lng", "EN:>Add item\nDE:>Neu\n\n");
  ticks += 19999;
  EXPECT_EQ(translate(translator, "DE", "Add item"), "Alt");  // a pass re-arms the timer
  ticks += 19999;
  EXPECT_EQ(translate(translator, "DE", "Add item"), "Alt");
  ticks += 20000;
  EXPECT_EQ(translate(translator, "DE", "Add item"), "Neu");
  // Another language pair reads the file at once.
  folder.Write("x.lng", "EN:>Add item\nDE:>Neuer\nFR:>Nouveau\n\n");
  EXPECT_EQ(translate(translator, "FR", "Add item"), "Nouveau");
}

// Save modes: what the collected-texts file holds after the translator is destroyed.
struct SaveCase {
  const char* name;
  std::string directives;
  std::vector<std::string> existing;  // files present before, relative to the folder
  std::string written;                // the file expected, relative to the folder
  std::string content;
};

void translate_sample_form(TWtransl& translator) {
  TForm form;
  form.SetName("Options");
  form.Caption = "Options";
  form.Create<TLabel>("untranslated").Caption = "Hello & world";
  form.Create<TLabel>("numbers").Caption = "123";
  auto& multi = form.Create<TLabel>("multi");
  multi.Caption = "Two\r\nlines";
  multi.Hint = "Add item";
  translator.TranslateComponent("DE", form);
}

TEST(TranslatorTest, CollectedTextsFiles) {
  const std::string header = "[Languages]\r\n$EN = #1\r\n$DE = #2 (Default)\r\nDefault = DE\r\n\r\n";
  const std::string untranslated = "EN:>Hello & world\r\nDE:>\r\n\r\nEN:>Two%0D%0Alines\r\nDE:>\r\n\r\n\r\n";
  const std::vector<SaveCase> cases = {
      {"saveuntr", "//saveuntr\n", {}, "x.lng.new", header + untranslated},
      {"saveuntr numbers the new file",
       "//saveuntr\n",
       {"x.lng.new", "x.lng.1.new"},
       "x.lng.2.new",
       header + untranslated},
      {"filerewrite", "//saveuntr\n//filerewrite\n", {"x.lng.new"}, "x.lng.new", header + untranslated},
      {"fileappend", "//saveuntr\n//fileappend\n", {"x.lng.new"}, "x.lng.new", "old\r\n" + untranslated},
      {"fileappend to a new file", "//fileappend\n//saveuntr\n", {}, "x.lng.new", header + untranslated},
      {"saveunused",
       "//saveunused\n",
       {},
       "x.lng.unused",
       header + "EN:>Line1%0D%0ALine2\r\nDE:>\r\n\r\nEN:>Region\r\nDE:>\r\n\r\n\r\n"},
      {"saveuntrobj",
       "//saveuntrobj\n",
       {},
       "x.lng.new",
       header + "EN:>[TForm]Options -> [TLabel]multi.Caption=Two%0D%0Alines\r\nDE:>\r\n\r\n"
                "EN:>[TForm]Options -> [TLabel]untranslated.Caption=Hello & world\r\nDE:>\r\n\r\n\r\n"},
  };
  const std::string blocks =
      "\nEN:>Add item\nDE:>Hinzu\n\nEN:>Options\nDE:>Optionen\n\nEN:>Line1%0D%0ALine2\nDE:>Zeile\n\n"
      "EN:>Region\nDE:>Gebiet\n\n";
  for (const SaveCase& c : cases) {
    TempFolder folder;
    for (const std::string& name : c.existing) folder.Write(name, "old\r\n");
    {
      TWtransl translator;
      translator.LanguageFile = folder.Write("x.lng", c.directives + blocks);
      translate_sample_form(translator);
      // Used twice, and reloaded in between: nothing is collected twice, nothing used comes back.
      translator.ReleaseTranslations();
      translate_sample_form(translator);
    }
    EXPECT_EQ(read_text(folder.File(c.written)), c.content) << c.name;
  }
}

TEST(TranslatorTest, NothingCollectedWritesNoFile) {
  TempFolder folder;
  {
    TWtransl translator;
    translator.LanguageFile = folder.Write("x.lng", "//saveuntr\nEN:>Add item\nDE:>Hinzu\n\n");
    std::string text = "Add item";
    translator.TranslateComponent("DE", text);
  }
  EXPECT_FALSE(std::filesystem::exists(folder.File("x.lng.new")));
}

}  // namespace
}  // namespace quendra

namespace quendra {
namespace {

// Files a translator may meet beside the library: none of them may crash it, and what cannot be read means
// no translations.
TEST(TranslatorTest, HostileLanguageFiles) {
  TempFolder folder;
  std::filesystem::create_directories(folder.File("folder.lng"));
  const std::string long_line(1 << 20, 'x');
  struct Case {
    const char* name;
    std::string path;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"a folder", folder.File("folder.lng").string(), "Add item"},
      {"bytes with NUL", folder.Write("zero.lng", std::string("EN:>Add item\nDE:>A\0B\n\n", 22)),
       std::string("A\0B", 3)},
      {"a megabyte line", folder.Write("long.lng", long_line + "\nEN:>Add item\nDE:>Lang\n\n" + long_line),
       "Lang"},
      {"only carriage returns", folder.Write("cr.lng", "EN:>Add item\rDE:>X\r\r"), "Add item"},
      {"malformed UTF-8", folder.Write("utf8.lng", "Encoding=utf-8\nEN:>Add item\nDE:>\xC3(\xF0\x9F\n\n"),
       "?(?"},
      {"a prefix and nothing else", folder.Write("short.lng", "EN:>\nDE:>\n\n:>\n\n"), "Add item"},
  };
  for (const Case& c : cases) {
    TWtransl translator;
    translator.LanguageFile = c.path;
    EXPECT_EQ(translate(translator, "DE", "Add item"), c.expected) << c.name;
  }
}

}  // namespace
}  // namespace quendra
