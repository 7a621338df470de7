// A private place for one test's settings: a fresh temporary folder for INI files and, on POSIX, for the
// file-backed registry and the lock files; on Windows a registry path of its own below Software that is
// deleted afterwards (HKLM and HKCU alike).
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/registry.h"

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace quendra::testing {

inline int ProcessId() {
#ifdef _WIN32
  return _getpid();
#else
  return static_cast<int>(::getpid());
#endif
}

class SettingsSandbox : public ::testing::Test {
 protected:
  void SetUp() override {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string unique = std::to_string(ProcessId()) + "_" + std::to_string(stamp % 1000000007) + "_" +
                               std::to_string(counter.fetch_add(1));
    dir_ = std::filesystem::temp_directory_path() / ("quendra_settings_" + unique);
    std::filesystem::create_directories(dir_);
    registry_path_ = "Software\\QuendraTest\\" + unique;
#ifndef _WIN32
    ::setenv("QUENDRA_REGISTRY_ROOT", (dir_ / "registry").c_str(), 1);
    ::setenv("QUENDRA_LOCK_DIR", (dir_ / "locks").c_str(), 1);
#endif
  }

  void TearDown() override {
#ifdef _WIN32
    platform::delete_registry_tree(platform::RegistryRoot::LocalMachine, registry_path_);
    platform::delete_registry_tree(platform::RegistryRoot::CurrentUser, registry_path_);
#endif
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }

  std::string Path(const std::string& name) const {
    return (dir_ / name).string();
  }

  static std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  static void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
  }

  std::filesystem::path dir_;
  std::string registry_path_;
};

}  // namespace quendra::testing
