// The translator a module instance carries: TWtransl behind the module base's PluginTranslator interface.
//
// One per module instance, made by MakeModuleTranslator, which the library registers with the module base at
// start-up (RegisterTranslatorFactory).
// Its language file is the library's path with ".lng"; a file that does not exist is forgotten, so the
// module keeps its English texts. Besides the usual property names it translates the module's three log
// texts and the options dialog's grid columns, headers, drop-down items and message texts.
//
// A file without a default language starts the module in English, so the host can still select another.
//
// A text translated before is translated again from its English original, so changing the language twice
// (German, then French) gives French texts, and a language the file does not hold gives English ones.
#pragma once

#include <array>
#include <memory>
#include <string>

#include "component/component.h"
#include "localisation/translator.h"
#include "plugin/plugin.h"

namespace quendra {

class ModuleTranslator final : public PluginTranslator {
 public:
  explicit ModuleTranslator(const std::string& language_file);

  std::string ReadFileLanguage() override;
  bool HasLanguageFile() const override;
  void TranslateModule(TzelPlugin& module, const std::string& language, const std::string& base) override;
  bool TranslateTexts(const std::string& language, const std::string& base,
                      const std::function<void(const TextTranslation&)>& pass) override;

  TWtransl& Translator() { return translator_; }

 private:
  struct Remembered {
    bool known = false;
    std::string original;  // the text before the module was first translated
    std::string written;   // what the last pass left there
  };
  TWtransl translator_;
  std::array<Remembered, 3> module_texts_;
};

std::unique_ptr<PluginTranslator> MakeModuleTranslator(const std::string& language_file);

// Translates `component` (the options dialog) into the module's language from "EN", as the module does
// with its own texts; a module without a translator leaves it unchanged. True when a pass ran.
bool TranslateComponentTexts(TzelPlugin& module, TComponent& component);

}  // namespace quendra
