#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/registry.h"
#include "settings_sandbox.h"

namespace quendra {
namespace {

using platform::RegistryKey;
using platform::RegistryRoot;
using platform::RegistryValueType;
using namespace std::string_literals;

using RegistryTest = testing::SettingsSandbox;

TEST_F(RegistryTest, OpensOnlyExistingKeysUnlessAskedToCreate) {
  EXPECT_FALSE(RegistryKey::open(RegistryRoot::CurrentUser, registry_path_, false));
  EXPECT_TRUE(RegistryKey::open(RegistryRoot::CurrentUser, "\\" + registry_path_ + "\\Sub\\", true));
  EXPECT_TRUE(RegistryKey::open(RegistryRoot::CurrentUser, registry_path_, false));
  EXPECT_TRUE(RegistryKey::open(RegistryRoot::CurrentUser, registry_path_ + "\\SUB", false));
  EXPECT_FALSE(RegistryKey::open(RegistryRoot::LocalMachine, registry_path_ + "\\Sub", false));
}

TEST_F(RegistryTest, ValuesRoundTripWithTheirTypes) {
  auto key = RegistryKey::open(RegistryRoot::CurrentUser, registry_path_, true);
  ASSERT_TRUE(key);
  const std::string high = "\x80\xe9\xff text with spaces %41 \t";
  key->write_dword("Left", 465);
  key->write_dword("Minus", 0xFFFFFFFFu);
  const double d = 5000.25;
  key->write_binary("Sign timeout", &d, sizeof d);
  key->write_binary("Bytes", "\0\n\r %"s.data(), 5);
  key->write_string("Start string", "Data");
  key->write_string("High", high);
  key->write_string("", "default value");
  key->write_string("Cut", "ab\0cd"s);

  auto again = RegistryKey::open(RegistryRoot::CurrentUser, registry_path_, false);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->read_dword("left"), 465u);
  EXPECT_EQ(again->read_dword("Minus"), 0xFFFFFFFFu);
  const auto bytes = again->read_binary("Sign timeout");
  ASSERT_TRUE(bytes && bytes->size() == 8);
  double back = 0;
  std::memcpy(&back, bytes->data(), 8);
  EXPECT_EQ(back, d);
  const auto raw = again->read_binary("BYTES");
  ASSERT_TRUE(raw);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(raw->data()), raw->size()), "\0\n\r %"s);
  EXPECT_EQ(again->read_string("Start String"), "Data");
  EXPECT_EQ(again->read_string("High"), high);
  EXPECT_EQ(again->read_string(""), "default value");
  EXPECT_EQ(again->read_string("Cut"), "ab");

  struct TypeCase {
    const char* name;
    RegistryValueType type;
  };
  const TypeCase types[] = {{"Left", RegistryValueType::Dword},
                            {"Bytes", RegistryValueType::Binary},
                            {"High", RegistryValueType::String},
                            {"Missing", RegistryValueType::None}};
  for (const TypeCase& t : types) EXPECT_EQ(again->value_type(t.name), t.type) << t.name;
  // Reads of another type give nothing.
  EXPECT_FALSE(again->read_dword("Start string"));
  EXPECT_FALSE(again->read_string("Left"));
  EXPECT_FALSE(again->read_binary("Left"));
  EXPECT_FALSE(again->read_string("Missing"));

  key->write_string("Left", "now text");
  EXPECT_EQ(again->read_string("Left"), "now text");
  EXPECT_TRUE(again->delete_value("LEFT"));
  EXPECT_FALSE(again->delete_value("Left"));
  EXPECT_FALSE(again->value_exists("Left"));
}

TEST_F(RegistryTest, DeletingATreeRemovesSubKeysAndValues) {
  {
    auto key = RegistryKey::open(RegistryRoot::CurrentUser, registry_path_ + "\\A\\B", true);
    ASSERT_TRUE(key);
    key->write_dword("x", 1);
  }
  EXPECT_TRUE(platform::delete_registry_tree(RegistryRoot::CurrentUser, registry_path_));
  EXPECT_FALSE(RegistryKey::open(RegistryRoot::CurrentUser, registry_path_ + "\\A\\B", false));
  EXPECT_FALSE(RegistryKey::open(RegistryRoot::CurrentUser, registry_path_, false));
  EXPECT_FALSE(platform::delete_registry_tree(RegistryRoot::CurrentUser, ""));
}

}  // namespace
}  // namespace quendra
