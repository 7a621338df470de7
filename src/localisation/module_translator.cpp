#include "localisation/module_translator.h"

#include "component/property_binding.h"
#include "platform/file_io.h"

namespace quendra {

namespace {

// The module's translatable texts, seen as one component so the walk treats them like any other.
class ModuleTexts : public TComponent {
 public:
  explicit ModuleTexts(TzelPlugin& module) : module_(module) {}

  static const TClassInfo& StaticClass() {
    using binding::Accessor;
    static const TClassInfo info{
        "TzelPlugin",
        &TComponent::StaticClass(),
        {
            Accessor<ModuleTexts>(
                "MsgNoData", [](const ModuleTexts& t) { return t.module_.MsgNoData; },
                [](ModuleTexts& t, const std::string& v) { t.module_.MsgNoData = v; }),
            Accessor<ModuleTexts>(
                "MsgWriteComplete", [](const ModuleTexts& t) { return t.module_.MsgWriteComplete; },
                [](ModuleTexts& t, const std::string& v) { t.module_.MsgWriteComplete = v; }),
            Accessor<ModuleTexts>(
                "MsgWriteCompleteError", [](const ModuleTexts& t) { return t.module_.MsgWriteCompleteError; },
                [](ModuleTexts& t, const std::string& v) { t.module_.MsgWriteCompleteError = v; }),
        }};
    return info;
  }
  const TClassInfo& ClassInfo() const override { return StaticClass(); }

 private:
  TzelPlugin& module_;
};

}  // namespace

ModuleTranslator::ModuleTranslator(const std::string& language_file) {
  translator_.LanguageFile = platform::file_exists(language_file) ? language_file : std::string();
  translator_.BaseLanguage = "EN";
  for (const char* name : {"MsgNoData", "MsgWriteComplete", "MsgWriteCompleteError", "Columns", "Header",
                           "ComboItems", "MessagesText"})
    translator_.ComponentProperties.Add(name);
}

std::string ModuleTranslator::ReadFileLanguage() {
  if (translator_.LanguageFile.empty()) return std::string();
  // Without a default the module would have no language at all and ignore every language the host selects:
  // it starts in the language its texts are written in instead.
  std::string language = translator_.ReadFileLanguage();
  return language.empty() ? translator_.BaseLanguage : language;
}

bool ModuleTranslator::HasLanguageFile() const {
  return !translator_.LanguageFile.empty();
}

void ModuleTranslator::TranslateModule(TzelPlugin& module, const std::string& language,
                                       const std::string& base) {
  const std::array<std::string*, 3> fields = {&module.MsgNoData, &module.MsgWriteComplete,
                                              &module.MsgWriteCompleteError};
  // Back to the originals, unless someone has set a text of their own since the last pass.
  for (std::size_t i = 0; i < fields.size(); ++i) {
    Remembered& r = module_texts_[i];
    if (r.known && *fields[i] == r.written) *fields[i] = r.original;
    r.original = *fields[i];
  }
  struct Remember {
    const std::array<std::string*, 3>& fields;
    std::array<Remembered, 3>& texts;
    ~Remember() {
      for (std::size_t i = 0; i < fields.size(); ++i) {
        texts[i].known = true;
        texts[i].written = *fields[i];
      }
    }
  } remember{fields, module_texts_};
  ModuleTexts texts(module);
  translator_.TranslateComponent(language, texts, base);
}

bool ModuleTranslator::TranslateTexts(const std::string& language, const std::string& base,
                                      const std::function<void(const TextTranslation&)>& pass) {
  return translator_.TranslateWith(language, base, [this, &pass] {
    pass([this](std::string_view text) { return translator_.TranslateText(text); });
  });
}

std::unique_ptr<PluginTranslator> MakeModuleTranslator(const std::string& language_file) {
  return std::make_unique<ModuleTranslator>(language_file);
}

bool TranslateComponentTexts(TzelPlugin& module, TComponent& component) {
  if (module.Language.empty()) module.Language = "NONE";
  auto* translator = dynamic_cast<ModuleTranslator*>(module.Translator.get());
  return translator != nullptr &&
         translator->Translator().TranslateComponent(module.Language, component, "EN");
}

}  // namespace quendra
