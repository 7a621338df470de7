#include "plugin/plugin.h"

#include <cstdio>
#include <filesystem>

#include "platform/clock.h"

namespace quendra {

namespace {

std::atomic<TranslatorFactory> g_translator_factory{nullptr};

std::string format_version(const std::array<uint16_t, 4>& v) {
  return std::to_string(v[0]) + "." + std::to_string(v[1]) + "." + std::to_string(v[2]) + " build " +
         std::to_string(v[3]);
}

}  // namespace

void RegisterTranslatorFactory(TranslatorFactory factory) { g_translator_factory.store(factory); }

TzelPlugin::TzelPlugin(PPluginCallRec) {
  // The library file does not change while loaded: read its version once.
  static const std::string version_text = [] {
    try {
      return format_version(platform::own_file_version());
    } catch (...) {
      return std::string();
    }
  }();
  VersionText = version_text;
  const std::string path = platform::own_module_path();
  const auto slash = path.find_last_of("\\/");
  ModuleFileName = slash == std::string::npos ? path : path.substr(slash + 1);
  // The module folder always ends in a backslash, as the settings and dialog code expect on every platform.
  ModuleDir = slash == std::string::npos ? std::string() : path.substr(0, slash) + "\\";

  if (TranslatorFactory factory = g_translator_factory.load()) {
    std::string language_file = std::filesystem::path(path).replace_extension(".lng").string();
    Translator = factory(language_file);
    if (Translator && Translator->HasLanguageFile()) Language = Translator->ReadFileLanguage();
  }
}

TzelPlugin::~TzelPlugin() {
  ParserItemsText.clear();
  ParserItems.Clear();
}

void TzelPlugin::AfterConstruction() {
  if (Translator && Translator->HasLanguageFile()) ApplyLanguage();
}

TModuleTypes TzelPlugin::ModuleStateSet() const {
  uint8_t bits = 0;
  for (int t = 0; t < kModuleTypeCount; ++t)
    if (ModuleState[t].load()) bits |= static_cast<uint8_t>(1u << t);
  return TModuleTypes::from_bits(bits);
}

// ---- log channel ----

std::string TzelPlugin::FormatLogLine(int msg_type, std::string_view text) const {
  std::string line;
  line.reserve(1 + LogTitle.size() + 2 + text.size());
  line += static_cast<char>(msg_type + 1);
  if (!LogTitle.empty()) {
    line += LogTitle;
    line += ". ";
  }
  for (char c : text) line += (c == '\r' || c == '\n') ? ' ' : c;
  return line;
}

bool TzelPlugin::send_log_text(uintptr_t tag, const std::string& text) const {
  return platform::send_copy_data(LogWindow.load(), static_cast<uintptr_t>(SenderID), tag, text.data(),
                                  static_cast<uint32_t>(text.size()), kLogSendTimeoutMs);
}

void TzelPlugin::AddLog(int msg_type, std::string_view text) noexcept {
  try {
    if (!LogWindow.load()) return;
    std::string waiting = LogBuffer.with_lock([](TThreadStringList::List& lines) {
      std::string block = TThreadStringList::JoinLines(lines);
      lines.clear();
      return block;
    });
    if (!waiting.empty() && !send_log_text(QUENDRA_COPYDATA_LOG_BLOCK, waiting)) {
      // Undelivered lines go back in front of anything other threads buffered meanwhile.
      LogBuffer.with_lock([&](TThreadStringList::List& lines) {
        auto old = TThreadStringList::SplitLines(waiting);
        lines.insert(lines.begin(), old.begin(), old.end());
      });
      AddLogBuffered(msg_type, text);
      return;
    }
    if (!send_log_text(QUENDRA_COPYDATA_LOG_LINE, FormatLogLine(msg_type, text))) AddLogBuffered(msg_type, text);
  } catch (...) {
  }
}

void TzelPlugin::AddLogBuffered(int msg_type, std::string_view text) noexcept {
  try {
    if (!LogWindow.load()) return;
    std::string line = FormatLogLine(msg_type, text);
    LogBuffer.with_lock([&](TThreadStringList::List& lines) {
      lines.push_back(std::move(line));
      if (lines.size() > kLogBufferLines) lines.erase(lines.begin(), lines.end() - kLogBufferLines);
    });
    NotifyLogWaiting();
  } catch (...) {
  }
}

void TzelPlugin::NotifyLogWaiting() noexcept {
  try {
    platform::WindowHandle window = LogWindow.load();
    if (!window) return;
    if (!platform::post_message(window, QUENDRA_WM_LOG_WAITING, static_cast<uintptr_t>(SenderID), 0))
      platform::send_message_timeout(window, QUENDRA_WM_LOG_WAITING, static_cast<uintptr_t>(SenderID), 0,
                                     kLogSendTimeoutMs);
  } catch (...) {
  }
}

// ---- language ----

void TzelPlugin::TranslateComponentTexts() {
  if (Language.empty()) Language = "NONE";
  if (Translator) Translator->TranslateModule(*this, Language, "EN");
}

void TzelPlugin::ApplyLanguage() {
  std::lock_guard lock(language_mutex_);
  if (LanguageApplied || Language.empty()) return;
  struct MarkApplied {
    bool& flag;
    ~MarkApplied() { flag = true; }
  } mark{LanguageApplied};
  TranslateComponentTexts();
}

void TzelPlugin::ChangeLanguage(const std::string& code) {
  {
    std::lock_guard lock(language_mutex_);
    if (code.empty() || Language.empty() || code == Language) return;
    Language = code;
    LanguageApplied = false;
    ApplyLanguage();
  }
  try {
    if (OnChangeLanguage) OnChangeLanguage(*this);
  } catch (...) {
  }
}

// ---- dialog placement ----

bool TzelPlugin::CenterOnOwner(platform::WindowRect& form) const {
  platform::WindowRect owner;
  if (!OwnerForm.load() || !platform::get_window_rect(OwnerForm.load(), owner)) return false;
  const int32_t width = form.right - form.left, height = form.bottom - form.top;
  form.left = owner.left + ((owner.right - owner.left) - width) / 2;
  form.top = owner.top + ((owner.bottom - owner.top) - height) / 2;
  form.right = form.left + width;
  form.bottom = form.top + height;
  return true;
}

bool TzelPlugin::DialogBoundsChanged(const platform::WindowRect& form) const {
  const auto& b = DialogBounds;
  if (!OwnerForm.load() || (b.left == 0 && b.top == 0 && b.right == 0 && b.bottom == 0)) return false;
  return form.left != b.left || form.top != b.top || form.right != b.right || form.bottom != b.bottom;
}

}  // namespace quendra
