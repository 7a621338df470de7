// One translator shared by several threads, with the release of its translations running in between: every
// pass must see whole translations of the language it asked for.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "component/form.h"
#include "localisation/translator.h"

namespace quendra {
namespace {

TEST(TranslatorThreadsTest, PassesAndReleasesNeverMeetHalfWay) {
  TWtransl translator;
  translator.LanguageFile = std::string(QUENDRA_FIXTURES) + "/interface.lng";
  std::atomic<bool> stop{false};
  std::atomic<int> wrong{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      const bool german = t % 2 == 0;
      for (int i = 0; i < 300; ++i) {
        TForm form;
        form.Caption = "Cancel";
        form.Hint = "Options";
        translator.TranslateComponent(german ? "DE" : "FR", form);
        if (form.Caption != (german ? "Abbrechen" : "Annuler")) ++wrong;
        if (form.Hint != (german ? "Optionen" : "Param\xE8tres")) ++wrong;
      }
    });
  }
  std::thread releaser([&] {
    while (!stop) {
      translator.ReleaseTranslations();
      std::this_thread::yield();
    }
  });
  for (std::thread& thread : threads) thread.join();
  stop = true;
  releaser.join();
  EXPECT_EQ(wrong, 0);
}

}  // namespace
}  // namespace quendra
