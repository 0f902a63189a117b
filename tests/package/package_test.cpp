#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "package/command_line_build.h"
#include "package/compression.h"
#include "package/object_package.h"
#include "package/package_builder.h"
#include "package/package_extractor.h"
#include "package/package_format.h"
#include "package/package_reader.h"
#include "tests/support/script_test.h"

namespace ixo {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void WriteAll(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

// A source folder, a package path and a destination folder in a fresh temporary folder.
class PackageTest : public ScriptTest {
 protected:
  PackageTest() {
    // Tests run in parallel processes: each needs a folder of its own.
    root_ = fs::path(testing::TempDir()) /
            ("package_test_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
             std::to_string(getpid()));
    fs::create_directories(root_ / "source");
    fs::create_directories(root_ / "out");
    engine().header.object_id = "OBJ";
    engine().header.creator_id = "CREATOR";
    engine().header.short_note = "short";
    engine().header.long_note = "long";
  }
  ~PackageTest() override { fs::remove_all(root_); }

  std::string Source() const { return (root_ / "source").string() + "/"; }
  std::string Out() const { return (root_ / "out").string() + "/"; }
  std::string PackagePath() const { return (root_ / "object.ixo").string(); }

  void AddFile(const std::string& name, std::string_view bytes) { WriteAll(root_ / "source" / name, bytes); }

  BuildOutcome Build(std::string_view selection = "") {
    return BuildPackage(engine(), Source(), PackagePath(), selection, false, "FAMILY");
  }

  std::vector<std::string> StoredNames() {
    std::string error;
    std::optional<package::PackageIndex> index = package::ReadIndex(PackagePath(), error);
    EXPECT_TRUE(index) << error;
    std::vector<std::string> names;
    if (index)
      for (const package::DirectoryEntry& entry : index->entries) names.push_back(entry.stored_name);
    return names;
  }

  fs::path root_;
};

TEST_F(PackageTest, StoresMostFilesCompressedAndExtractsThemBack) {
  std::string picture(3000, 'p');
  AddFile("a.bmp", picture);
  AddFile("b.jpg", "jpeg bytes");
  AddFile("c.txt", "text text text text");
  ASSERT_EQ(Build(), BuildOutcome::kBuilt);
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"a.bmp__", "b.jpg", "c.txt__"}));
  std::string bytes = ReadAll(PackagePath());
  EXPECT_EQ(bytes.substr(293, 12), std::string("3\0          ", 12));
  EXPECT_EQ(bytes.substr(1, 7), std::string("FAMILY\0", 7));

  std::string error;
  std::optional<package::ExtractionReport> report = package::ExtractFiles(PackagePath(), Out(), "", error);
  ASSERT_TRUE(report) << error;
  EXPECT_EQ(ReadAll(Out() + "a.bmp"), picture);
  EXPECT_EQ(ReadAll(Out() + "b.jpg"), "jpeg bytes");
  EXPECT_EQ(ReadAll(Out() + "c.txt"), "text text text text");
  EXPECT_FALSE(fs::exists(Out() + "a.bmp__"));
  // The build leaves no compressed temporaries behind.
  EXPECT_FALSE(fs::exists(Source() + "a.bmp__"));
}

TEST_F(PackageTest, ChoosesWhichFilesToStoreAndHow) {
  AddFile("noextension", "x");
  AddFile("song.mp", "x");        // ".mp" occurs inside ".mp3": stored as it is
  AddFile("empty.txt", "");       // compressed to the bare 5-byte stream
  AddFile("x_", "temporary");     // names ending in "_" or "_x" are never stored
  AddFile("x_y", "temporary");
  AddFile("notes.def", "skipped");
  AddFile("keys.k", "skipped");
  AddFile(std::string(44, 'n'), "longest name");  // too long to carry "__": stored as it is
  ASSERT_EQ(Build(), BuildOutcome::kBuilt);
  EXPECT_EQ(StoredNames(),
            (std::vector<std::string>{"empty.txt__", std::string(44, 'n'), "noextension", "song.mp"}));
  std::string error;
  ASSERT_TRUE(package::ExtractFiles(PackagePath(), Out(), "", error));
  EXPECT_TRUE(fs::exists(Out() + "empty.txt"));
  EXPECT_EQ(fs::file_size(Out() + "empty.txt"), 0u);
  EXPECT_EQ(ReadAll(Out() + std::string(44, 'n')), "longest name");
}

TEST_F(PackageTest, RefusesANameOfFortyFiveCharacters) {
  AddFile("fine.txt", "x");
  AddFile(std::string(45, 'n'), "x");
  EXPECT_EQ(Build(), BuildOutcome::kRefused);
  EXPECT_NE(output().find("Sorry, ixo object cannot be built : a filename is longer than 44 characters."),
            std::string::npos);
  EXPECT_FALSE(fs::exists(PackagePath()));
}

TEST_F(PackageTest, SelectionsPickFilesByName) {
  AddFile("a.bmp", "aaaa");
  AddFile("b.jpg", "bbbb");
  AddFile("c.txt", "cccc");
  AddFile("o1.jpg", "o1");
  ASSERT_EQ(Build(), BuildOutcome::kBuilt);
  std::string error;
  std::optional<package::ExtractionReport> report =
      package::ExtractFiles(PackagePath(), Out(), "A.bmp^^b.jpg", error);
  ASSERT_TRUE(report);
  EXPECT_EQ(report->written, (std::vector<std::string>{"a.bmp", "b.jpg"}));
  EXPECT_FALSE(fs::exists(Out() + "c.txt"));
  // The test is a substring search: photo1.jpg also names o1.jpg.
  EXPECT_TRUE(package::IsSelected("o1.jpg", "photo1.jpg"));

  ASSERT_EQ(Build("c.txt"), BuildOutcome::kBuilt);
  EXPECT_EQ(StoredNames(), (std::vector<std::string>{"c.txt__"}));
}

// A package made by hand, entry by entry, for contents no builder would write.
std::string HandMadePackage(const std::vector<std::pair<std::string, std::string>>& entries,
                            const std::string& count_text, const std::vector<std::string>& size_texts = {}) {
  std::string block(package::kHeaderSize + entries.size() * package::kEntrySize, ' ');
  block[0] = package::kMarker;
  package::WriteTextField(block, package::kObjectIdField, "HOSTILE");
  package::WriteTextField(block, package::kCountField, count_text);
  std::string contents;
  for (size_t i = 0; i < entries.size(); ++i) {
    size_t at = package::kHeaderSize + i * package::kEntrySize;
    std::string size = i < size_texts.size() ? size_texts[i] : std::to_string(entries[i].second.size());
    block.replace(at, size.size(), size);
    block.replace(at + 12, entries[i].first.size(), entries[i].first);
    contents += entries[i].second;
  }
  return block + contents;
}

TEST_F(PackageTest, StoredNamesThatLeaveTheFolderAreSkipped) {
  std::string compressed = CompressBytes("escaped");
  WriteAll(PackagePath(), HandMadePackage({{"../evil.txt", "x"},
                                           {"/tmp/evil.txt", "x"},
                                           {"sub\\evil.txt", "x"},
                                           {"c:evil.txt", "x"},
                                           {"..__", compressed},
                                           {std::string("nul\0.txt", 8), "x"},
                                           {"good.txt", "good"}},
                                          "7"));
  std::string error;
  std::optional<package::ExtractionReport> report = package::ExtractFiles(PackagePath(), Out(), "", error);
  ASSERT_TRUE(report) << error;
  EXPECT_EQ(report->written, (std::vector<std::string>{"good.txt"}));
  EXPECT_EQ(report->refused_names.size(), 6u);
  EXPECT_FALSE(fs::exists(root_ / "evil.txt"));
  EXPECT_EQ(std::distance(fs::directory_iterator(Out()), fs::directory_iterator()), 1);
}

TEST_F(PackageTest, DamagedDirectoriesAreRefusedBeforeAnythingIsWritten) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  std::string whole = HandMadePackage({{"a.txt", "aaaa"}, {"b.txt", "bbbb"}}, "2");
  for (const Case& c : {Case{"contents cut short", whole.substr(0, whole.size() - 1)},
                        Case{"directory cut short", whole.substr(0, package::kHeaderSize + 60)},
                        Case{"header cut short", whole.substr(0, 200)},
                        Case{"count not a number", HandMadePackage({{"a.txt", "a"}}, "x1")},
                        Case{"count larger than the file", HandMadePackage({{"a.txt", "a"}}, "4000")},
                        Case{"negative size", HandMadePackage({{"a.txt", "a"}}, "1", {"-1"})},
                        Case{"size not a number", HandMadePackage({{"a.txt", "a"}}, "1", {"1e3"})},
                        Case{"size past the end", HandMadePackage({{"a.txt", "a"}}, "1", {"999999999999"})}}) {
    WriteAll(PackagePath(), c.bytes);
    std::string error;
    EXPECT_FALSE(package::ExtractFiles(PackagePath(), Out(), "", error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
    EXPECT_TRUE(fs::is_empty(Out())) << c.what;
  }
}

TEST_F(PackageTest, ExtractingIntoAFreshFolderRemembersTheHeader) {
  AddFile("identity.vexe", "script");
  ASSERT_EQ(Build(), BuildOutcome::kBuilt);
  engine().header = CurrentHeader();
  ExtractRequest request;
  request.package_path = PackagePath();
  request.make_extraction_folder = true;
  request.register_instance = true;
  ASSERT_TRUE(ExtractPackage(engine(), request));
  const CurrentHeader& header = engine().header;
  EXPECT_EQ(header.family_id, "FAMILY");
  EXPECT_EQ(header.extracted_family_id, "FAMILY");
  EXPECT_EQ(header.object_id, "OBJ");
  EXPECT_EQ(header.creator_id, "CREATOR");
  EXPECT_EQ(header.long_note, "long");
  std::string folder = header.extraction_folder;
  EXPECT_NE(folder.find("/zodizarez/OBJ-"), std::string::npos);
  EXPECT_EQ(ReadAll(folder + "identity.vexe"), "script");
  EXPECT_TRUE(RemoveFolder(folder));
  EXPECT_FALSE(fs::exists(folder));

  request.package_path = PackagePath() + ".missing";
  EXPECT_FALSE(ExtractPackage(engine(), request));
}

TEST(UniqueIdTest, FollowsThePatternAndTheGenerator) {
  RandomGenerator random;
  random.Seed(12345);
  std::string id = MakeUniqueId(random);
  ASSERT_EQ(id.size(), 16u);
  for (size_t i = 0; i < id.size(); ++i) {
    bool digit = i < 2 || (i >= 6 && i < 10) || i >= 14;
    EXPECT_TRUE(digit ? std::isdigit(static_cast<unsigned char>(id[i])) : std::isupper(static_cast<unsigned char>(id[i])))
        << id;
  }
  RandomGenerator same;
  same.Seed(12345);
  int first = same.ShortStep();
  EXPECT_EQ(id[0], '0' + first % 10);
}

TEST_F(PackageTest, TheIxoFamilyBuildsReadsAndExtracts) {
  AddFile("c.txt", "hello");
  engine().header.family_id = "FAM";
  Load("event.initialize()\nevent.end()\n");
  EXPECT_EQ(Command({"ixo", "create"}, {Source(), PackagePath()}), Result(""));
  Result header = Command({"ixo", "header", "get"}, {PackagePath()});
  ASSERT_TRUE(header);
  // A fresh object id; the running object is the creator and lends its notes and family.
  EXPECT_EQ(header->substr(16), "^^OBJ^^short^^long^^FAM^^1");
  EXPECT_EQ(engine().header.object_id, "OBJ");

  EXPECT_EQ(Command({"ixe", "currentheader", "set"}, {"NEWID", "ME", "s", "", "F2"}), Result(""));
  EXPECT_EQ(Command({"ixo", "currentheader", "get"}, {}), Result("NEWID^^ME^^s^^^^F2"));
  EXPECT_EQ(Command({"ixo", "extract"}, {PackagePath(), Out(), ""}), Result("1"));
  EXPECT_EQ(ReadAll(Out() + "c.txt"), "hello");
  EXPECT_EQ(Command({"ixo", "extracted", "familyid"}, {}), Result("FAM"));
  EXPECT_EQ(engine().header.object_id, "NEWID");  // extraction leaves the current header as it was
  EXPECT_EQ(Command({"ixo", "extract"}, {PackagePath() + ".missing", Out(), ""}), Result("0"));
  EXPECT_EQ(Command({"ixo", "header", "get"}, {PackagePath() + ".missing"}), Result(""));

  EXPECT_EQ(Command({"ixo", "header", "set"}, {}), kNoResult);
  EXPECT_EQ(Command({"ixo", "nothing"}, {}), kNoResult);
  EXPECT_EQ(reports().size(), 2u);
  EXPECT_NE(AllReports().find("Unknown or incomplete command : "), std::string::npos);
}

}  // namespace
}  // namespace ixo

namespace ixo {
namespace {

TEST_F(PackageTest, TheCommandLineBuildReportsWhatItBuilt) {
  AddFile("c.txt", std::string(5000, 'c'));
  std::string folder = root_.string() + "/";
  ASSERT_EQ(BuildFromCommandLine(engine(), {"ixoengine", "/make", folder, "source", " ID ", "ME", "n", "ln", "FAM"}),
            BuildOutcome::kBuilt);
  std::optional<package::PackageHeader> header = package::ReadHeader(folder + "source.ixo");
  ASSERT_TRUE(header);
  EXPECT_EQ(package::HeaderText(*header), "ID^^ME^^n^^ln^^FAM^^1");
  EXPECT_EQ(output(), "[message] ixo file has been built.\nFile : " + folder + "source.ixo\nSize : 0 Ko\n");

  EXPECT_EQ(BuildFromCommandLine(engine(), {"ixoengine", "/make", folder, "nothing"}), BuildOutcome::kFailed);
  EXPECT_NE(output().find("ixo file could not be built."), std::string::npos);

  size_t shown = output().size();
  EXPECT_EQ(BuildFromCommandLine(engine(), {"ixoengine", "/MAKE/EXE", folder, "source"}), BuildOutcome::kBuilt);
  EXPECT_EQ(output().size(), shown);  // no report with /exe
}

}  // namespace
}  // namespace ixo
