#include <gtest/gtest.h>

#include <climits>
#include <fstream>
#include <functional>

#include "tests/system/settings_folder.h"

namespace ixo::system {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

constexpr Root kAllRoots[] = {Root::kClassesRoot, Root::kCurrentUser, Root::kLocalMachine, Root::kUsers,
                              Root::kCurrentConfig};

using SettingsStoreTest = SettingsFolderTest;

TEST_F(SettingsStoreTest, ValuesReadBackWithTheirTypeFromAnotherConnection) {
  struct Case {
    std::string name;
    SettingsValue value;
  };
  const Case cases[] = {
      {"", SettingsValue(std::string("the default value"))},
      {"text", SettingsValue(std::string("hello"))},
      {"empty text", SettingsValue(std::string())},
      {"code page text", SettingsValue(std::string("caf\xE9 \x80"))},
      {"text with a zero byte", SettingsValue(std::string("a\0b", 3))},
      {"long text", SettingsValue(std::string(7000, 'x'))},
      {"zero", SettingsValue(0)},
      {"minus one", SettingsValue(-1)},
      {"smallest", SettingsValue(INT32_MIN)},
      {"largest", SettingsValue(INT32_MAX)},
      {"bytes", SettingsValue(ByteValue{std::string("\0\0\1\0", 4)})},
      {"no bytes", SettingsValue(ByteValue{})},
  };
  {
    SqliteSettingsStore writer = OpenStore();
    for (const Case& c : cases) ASSERT_TRUE(writer.WriteValue(Root::kClassesRoot, "ixoreader", c.name, c.value)) << writer.LastError();
  }
  SqliteSettingsStore reader = OpenStore();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(reader.ReadValue(Root::kClassesRoot, "ixoreader", c.name), std::optional<SettingsValue>(c.value));
  }
  EXPECT_EQ(reader.ValueNames(Root::kClassesRoot, "ixoreader").size(), std::size(cases));
  EXPECT_EQ(reader.LastError(), "");
}

TEST_F(SettingsStoreTest, TypedReadsTreatAValueOfAnotherTypeAsMissing) {
  SqliteSettingsStore store = OpenStore();
  ASSERT_TRUE(store.WriteString(Root::kClassesRoot, ".ixo", "Version", "252"));
  ASSERT_TRUE(store.WriteInteger(Root::kCurrentUser, "Pos", "Top", 252));
  ASSERT_TRUE(store.WriteBytes(Root::kClassesRoot, "ixoreader", "EditFlags", "252"));

  EXPECT_EQ(store.ReadString(Root::kClassesRoot, ".ixo", "Version"), "252");
  EXPECT_EQ(store.ReadInteger(Root::kClassesRoot, ".ixo", "Version"), std::nullopt);
  EXPECT_EQ(store.ReadBytes(Root::kClassesRoot, ".ixo", "Version"), std::nullopt);
  EXPECT_EQ(store.ReadInteger(Root::kCurrentUser, "Pos", "Top"), 252);
  EXPECT_EQ(store.ReadString(Root::kCurrentUser, "Pos", "Top"), std::nullopt);
  EXPECT_EQ(store.ReadBytes(Root::kClassesRoot, "ixoreader", "EditFlags"), "252");
  EXPECT_EQ(store.ReadString(Root::kClassesRoot, "ixoreader", "EditFlags"), std::nullopt);

  // Writing another type replaces the value rather than adding a second one.
  ASSERT_TRUE(store.WriteInteger(Root::kClassesRoot, ".ixo", "Version", 253));
  EXPECT_EQ(store.ReadInteger(Root::kClassesRoot, ".ixo", "Version"), 253);
  EXPECT_EQ(store.ReadString(Root::kClassesRoot, ".ixo", "Version"), std::nullopt);
  EXPECT_EQ(store.ValueNames(Root::kClassesRoot, ".ixo"), Names{"Version"});
}

TEST_F(SettingsStoreTest, KeysAndValuesAreFoundWithoutRegardToCaseAndKeepTheirFirstCase) {
  SqliteSettingsStore store = OpenStore();
  ASSERT_TRUE(store.WriteInteger(Root::kCurrentUser, "Software\\Zodi\\FAM\\[Pos]", "Top", 5));

  EXPECT_EQ(store.ReadInteger(Root::kCurrentUser, "SOFTWARE\\zodi\\fam\\[POS]", "TOP"), 5);
  EXPECT_TRUE(store.OpenKey(Root::kCurrentUser, "software\\ZODI", false));

  ASSERT_TRUE(store.WriteInteger(Root::kCurrentUser, "SOFTWARE\\ZODI\\FAM\\[POS]", "top", 7));
  EXPECT_EQ(store.ReadInteger(Root::kCurrentUser, "Software\\Zodi\\FAM\\[Pos]", "Top"), 7);
  EXPECT_EQ(store.ValueNames(Root::kCurrentUser, "software\\zodi\\fam\\[pos]"), Names{"Top"});
  EXPECT_EQ(store.SubKeys(Root::kCurrentUser, ""), Names{"Software"});
  EXPECT_EQ(store.SubKeys(Root::kCurrentUser, "SOFTWARE"), Names{"Zodi"});
  EXPECT_TRUE(store.DeleteValue(Root::kCurrentUser, "software\\zodi\\fam\\[pos]", "TOP"));
  EXPECT_EQ(store.ValueNames(Root::kCurrentUser, "software\\zodi\\fam\\[pos]"), Names{});
}

TEST_F(SettingsStoreTest, OnlyAsciiLettersHaveACase) {
  SqliteSettingsStore store = OpenStore();
  // E with acute accent in the code page: 0xC9 upper case, 0xE9 lower case.
  ASSERT_TRUE(store.WriteString(Root::kCurrentUser, "Caf\xC9", "\xC9t\xC9", "upper"));
  ASSERT_TRUE(store.WriteString(Root::kCurrentUser, "caf\xE9", "\xE9t\xE9", "lower"));
  ASSERT_TRUE(store.WriteString(Root::kCurrentUser, "caf\xE9", "\xC9t\xC9", "upper name"));

  EXPECT_EQ(store.SubKeys(Root::kCurrentUser, ""), (Names{"Caf\xC9", "caf\xE9"}));
  EXPECT_EQ(store.ReadString(Root::kCurrentUser, "CAF\xC9", "\xC9T\xC9"), "upper");
  EXPECT_EQ(store.ReadString(Root::kCurrentUser, "CAF\xE9", "\xE9T\xE9"), "lower");
  EXPECT_EQ(store.ValueNames(Root::kCurrentUser, "caf\xE9").size(), 2u);
}

TEST_F(SettingsStoreTest, PathsWithExtraSeparatorsNameTheSameKey) {
  SqliteSettingsStore store = OpenStore();
  ASSERT_TRUE(store.WriteString(Root::kCurrentUser, "Software\\zodizarez\\FAM\\", "name", "value"));
  for (const char* path : {"Software\\zodizarez\\FAM", "Software\\zodizarez\\FAM\\", "\\Software\\zodizarez\\FAM",
                           "Software\\\\zodizarez\\FAM", "software\\zodizarez\\fam\\\\"}) {
    SCOPED_TRACE(path);
    EXPECT_TRUE(store.OpenKey(Root::kCurrentUser, path, false));
    EXPECT_EQ(store.ReadString(Root::kCurrentUser, path, "name"), "value");
    EXPECT_TRUE(store.WriteString(Root::kCurrentUser, path, "name", "value"));
  }
  // No key with an empty name came into being on the way.
  EXPECT_EQ(store.SubKeys(Root::kCurrentUser, ""), Names{"Software"});
  EXPECT_EQ(store.SubKeys(Root::kCurrentUser, "Software"), Names{"zodizarez"});
  EXPECT_EQ(store.SubKeys(Root::kCurrentUser, "Software\\zodizarez"), Names{"FAM"});
  EXPECT_EQ(store.SubKeys(Root::kCurrentUser, "Software\\zodizarez\\FAM"), Names{});
}

TEST_F(SettingsStoreTest, OpeningWithoutCreateLeavesAMissingKeyMissing) {
  SqliteSettingsStore store = OpenStore();
  EXPECT_FALSE(store.OpenKey(Root::kCurrentUser, "Software\\zodizarez\\FAM\\[Pos]\\3", false));
  EXPECT_EQ(store.ReadString(Root::kCurrentUser, "Software\\zodizarez\\FAM\\[Pos]\\3", "Top"), std::nullopt);
  EXPECT_EQ(store.LastError(), "") << "a missing key is not an error";
  EXPECT_EQ(store.SubKeys(Root::kCurrentUser, ""), Names{});
  EXPECT_FALSE(store.DeleteValue(Root::kCurrentUser, "Software", "Top"));
  EXPECT_FALSE(store.OpenKey(Root::kCurrentUser, "Software", false));

  // Creating makes every key on the way.
  EXPECT_TRUE(store.OpenKey(Root::kCurrentUser, "Software\\zodizarez\\FAM\\[Pos]\\3", true));
  EXPECT_TRUE(store.OpenKey(Root::kCurrentUser, "Software\\zodizarez\\FAM\\[Pos]\\3", false));
  EXPECT_EQ(store.SubKeys(Root::kCurrentUser, "Software\\zodizarez\\FAM"), Names{"[Pos]"});
  EXPECT_EQ(store.ValueNames(Root::kCurrentUser, "Software\\zodizarez\\FAM\\[Pos]\\3"), Names{});
  // A root always exists.
  EXPECT_TRUE(store.OpenKey(Root::kUsers, "", false));
}

// Keys around "Tree" whose paths begin the same way, and the same path in another root.
class DeleteKeyTest : public SettingsFolderTest {
 protected:
  DeleteKeyTest() {
    for (const char* path : {"Tree", "Tree\\Branch", "Tree\\Branch\\Leaf", "Tree\\Twig", "TreeHouse", "Tree]", "Tree2",
                             "Tree2\\Branch", "Other\\Tree"})
      EXPECT_TRUE(store_.WriteString(Root::kCurrentUser, path, "v", path));
    EXPECT_TRUE(store_.WriteString(Root::kCurrentUser, "", "root value", "kept"));
    EXPECT_TRUE(store_.WriteString(Root::kLocalMachine, "Tree\\Branch", "v", "other root"));
  }

  int StrayValues() {
    RawDatabase raw(DatabasePath());
    return std::stoi(raw.Query("SELECT count(*) FROM key_values WHERE key_id NOT IN (SELECT id FROM keys)"));
  }

  SqliteSettingsStore store_ = OpenStore();
};

TEST_F(DeleteKeyTest, RemovesTheKeyWithItsSubKeysAndNothingElse) {
  EXPECT_TRUE(store_.DeleteKey(Root::kCurrentUser, "TREE\\")) << store_.LastError();

  for (const char* gone : {"Tree", "Tree\\Branch", "Tree\\Branch\\Leaf", "Tree\\Twig"}) {
    SCOPED_TRACE(gone);
    EXPECT_FALSE(store_.OpenKey(Root::kCurrentUser, gone, false));
    EXPECT_EQ(store_.ReadString(Root::kCurrentUser, gone, "v"), std::nullopt);
  }
  for (const char* kept : {"TreeHouse", "Tree]", "Tree2", "Tree2\\Branch", "Other\\Tree"}) {
    SCOPED_TRACE(kept);
    EXPECT_EQ(store_.ReadString(Root::kCurrentUser, kept, "v"), kept);
  }
  EXPECT_EQ(store_.ReadString(Root::kCurrentUser, "", "root value"), "kept");
  EXPECT_EQ(store_.ReadString(Root::kLocalMachine, "Tree\\Branch", "v"), "other root");
  EXPECT_EQ(StrayValues(), 0) << "the deleted keys' values must go with them";

  // A key made again at the same path starts empty.
  EXPECT_TRUE(store_.OpenKey(Root::kCurrentUser, "Tree\\Branch", true));
  EXPECT_EQ(store_.ValueNames(Root::kCurrentUser, "Tree\\Branch"), Names{});
  EXPECT_EQ(store_.SubKeys(Root::kCurrentUser, "Tree\\Branch"), Names{});
}

TEST_F(DeleteKeyTest, RefusesMissingKeysAndRoots) {
  EXPECT_FALSE(store_.DeleteKey(Root::kCurrentUser, "Tre"));
  EXPECT_EQ(store_.LastError(), "");
  EXPECT_FALSE(store_.DeleteKey(Root::kUsers, "Tree"));
  EXPECT_FALSE(store_.DeleteKey(Root::kCurrentUser, "\\"));
  EXPECT_NE(store_.LastError(), "");
  EXPECT_EQ(store_.ReadString(Root::kCurrentUser, "", "root value"), "kept");
  EXPECT_EQ(store_.SubKeys(Root::kCurrentUser, "").size(), 5u);
}

TEST_F(SettingsStoreTest, TheFiveRootsAreSeparateTrees) {
  SqliteSettingsStore store = OpenStore();
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(store.WriteInteger(kAllRoots[i], "Software\\Same", "Value", i));
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(store.ReadInteger(kAllRoots[i], "Software\\Same", "Value"), i);
    EXPECT_EQ(store.SubKeys(kAllRoots[i], "Software"), Names{"Same"});
  }
  ASSERT_TRUE(store.DeleteKey(Root::kUsers, "Software"));
  for (int i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(store.OpenKey(kAllRoots[i], "Software\\Same", false), kAllRoots[i] != Root::kUsers);
  }
}

// Ways a database can be out of reach. Each returns the path to open.
struct Obstacle {
  const char* description;
  std::function<fs::path(const fs::path& folder)> prepare;
};

const Obstacle kObstacles[] = {
    {"a file where the folder should be",
     [](const fs::path& folder) {
       std::ofstream(folder / "file") << "not a folder";
       return folder / "file" / "home" / kSettingsDatabaseName;
     }},
    {"a file that is not a database",
     [](const fs::path& folder) {
       std::ofstream(folder / kSettingsDatabaseName) << std::string(8192, '?');
       return folder / kSettingsDatabaseName;
     }},
    {"a database of a newer engine",
     [](const fs::path& folder) {
       RawDatabase(folder / kSettingsDatabaseName).Exec("PRAGMA user_version = 99");
       return folder / kSettingsDatabaseName;
     }},
};

TEST_F(SettingsStoreTest, AStoreThatCannotOpenAnswersAsEmptyAndSaysWhy) {
  for (const Obstacle& obstacle : kObstacles) {
    SCOPED_TRACE(obstacle.description);
    fs::path folder = folder_ / obstacle.description;
    fs::create_directories(folder);
    fs::path database = obstacle.prepare(folder);

    SqliteSettingsStore store(database, std::chrono::milliseconds(50));
    EXPECT_FALSE(store.IsOpen());
    EXPECT_NE(store.LastError().find(database.string()), std::string::npos) << store.LastError();
    EXPECT_EQ(store.ReadString(Root::kCurrentUser, "Software", "name"), std::nullopt);
    EXPECT_NE(store.LastError(), "");
    EXPECT_FALSE(store.WriteString(Root::kCurrentUser, "Software", "name", "value"));
    EXPECT_NE(store.LastError().find("cannot be opened"), std::string::npos) << store.LastError();
    EXPECT_FALSE(store.OpenKey(Root::kCurrentUser, "Software", true));
    EXPECT_FALSE(store.OpenKey(Root::kCurrentUser, "", false));
    EXPECT_EQ(store.SubKeys(Root::kCurrentUser, ""), Names{});
    EXPECT_FALSE(store.DeleteKey(Root::kCurrentUser, "Software"));
    EXPECT_FALSE(store.DeleteValue(Root::kCurrentUser, "Software", "name"));
  }
}

TEST_F(SettingsStoreTest, ACorruptFileIsLeftAsItWas) {
  fs::create_directories(folder_);
  std::string garbage(8192, '?');
  std::ofstream(folder_ / kSettingsDatabaseName) << garbage;
  SqliteSettingsStore store(folder_ / kSettingsDatabaseName);
  EXPECT_FALSE(store.WriteString(Root::kCurrentUser, "Software", "name", "value"));
  std::ifstream file(folder_ / kSettingsDatabaseName, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(file), {}), garbage);
}

TEST_F(SettingsStoreTest, AStoreOpensOnceTheObstacleIsGone) {
  fs::create_directories(folder_);
  std::ofstream(folder_ / "file") << "not a folder";
  SqliteSettingsStore store(folder_ / "file" / kSettingsDatabaseName);
  ASSERT_FALSE(store.IsOpen());

  fs::remove(folder_ / "file");
  EXPECT_TRUE(store.WriteString(Root::kCurrentUser, "Software", "name", "value")) << store.LastError();
  EXPECT_TRUE(store.IsOpen());
  EXPECT_EQ(store.ReadString(Root::kCurrentUser, "Software", "name"), "value");
}

}  // namespace
}  // namespace ixo::system
