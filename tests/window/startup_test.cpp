#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <utility>

#include "engine/ascii_case.h"
#include "engine/host_path.h"
#include "engine/script_file.h"
#include "engine/script_source.h"
#include "package/package_builder.h"
#include "tests/support/script_test.h"

namespace ixo {
namespace {

namespace fs = std::filesystem;

class RecordingStarter : public platform::ProcessStarter {
 public:
  bool Open(const std::string& program, const std::string& parameters) override {
    started.emplace_back(program, parameters);
    return true;
  }
  std::vector<std::pair<std::string, std::string>> started;
};

// Packages built from script sources in a folder of the test's own. The folder's
// name has capitals, so finding a package named in lower case needs the path
// function.
class StartupTest : public ScriptTest {
 protected:
  StartupTest() {
    root_ = fs::path(testing::TempDir()) /
            ("Startup_" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" +
             std::to_string(getpid()));
    fs::create_directories(root_ / "Source");
    engine().header.object_id = "OBJ";
    runner().set_process_starter(starter_);
  }
  ~StartupTest() override { fs::remove_all(root_); }

  std::string BuildObject(const std::string& source) {
    source::AssembleResult assembled = source::Assemble(source, "identity.ixs");
    EXPECT_FALSE(assembled.error);
    std::ofstream(root_ / "Source" / "identity.vexe", std::ios::binary) << EncodeScriptFile(assembled.lines);
    std::string package = (root_ / "Clock.IXO").string();
    EXPECT_EQ(BuildPackage(engine(), (root_ / "Source").string() + "/", package, "", false, "FAMILY"),
              BuildOutcome::kBuilt);
    return package;
  }

  fs::path root_;
  RecordingStarter starter_;
};

TEST_F(StartupTest, RunsAPackageAndRemovesItsFolderAfterwards) {
  std::string package = BuildObject(
      "event.initialize()\n  &order[] = s(initialize)\nevent.end()\n"
      "event.load()\n  &order[] = s(load)\nevent.end()\n"
      "event.terminate()\n  &order[] = s(terminate)\nevent.end()\n");
  ASSERT_TRUE(runner().RunPackage({"/usr/bin/ixoengine", package, ""}));
  EXPECT_EQ(events(), (std::vector<std::string>{"initialize", "load", "terminate"}));
  const std::string folder = engine().header.extraction_folder;
  EXPECT_NE(folder.find("/zodizarez/OBJ-"), std::string::npos) << folder;
  EXPECT_FALSE(fs::exists(folder));
  EXPECT_EQ(engine().header.object_name, "clock");
  EXPECT_EQ(engine().header.package_path, ixo::LowerAscii(package));
  EXPECT_TRUE(starter_.started.empty());
}

TEST_F(StartupTest, AFailedExtractionRestartsOnce) {
  std::string package = (root_ / "Broken.ixo").string();
  std::ofstream(package) << "not a package";
  EXPECT_FALSE(runner().RunPackage({"/usr/bin/ixoengine", package, ""}));
  ASSERT_EQ(starter_.started.size(), 1u);
  EXPECT_EQ(starter_.started[0].first, "/usr/bin/ixoengine");
  EXPECT_EQ(starter_.started[0].second, "\"" + ixo::LowerAscii(package) + "\" \"/norestart\"");

  // The restarted run carries "/norestart" and gives up quietly.
  EXPECT_FALSE(runner().RunPackage({"/usr/bin/ixoengine", ixo::LowerAscii(package), " /NoRestart "}));
  EXPECT_EQ(starter_.started.size(), 1u);
  EXPECT_EQ(output(), "");
}

TEST_F(StartupTest, ExplainsWhatItCannotRun) {
  struct Case {
    RunArguments arguments;
    const char* message;
  };
  for (const Case& c : {Case{{"/opt/ixoengine", "/setupx", ""}, "[message] Cannot read this file : /setupx\n"},
                        Case{{"/nowhere/Clock.EXE", "", ""},
                             "[message] Cannot find /nowhere/Clock.ixo\n\nIxoEngine version 252\n"},
                        Case{{"/nowhere/clock", "", ""},
                             "[message] Cannot find /nowhere/clock.ixo\n\nIxoEngine version 252\n"},
                        Case{{"/opt/ixoengine", "/Nowhere/Ball.IXO", ""},
                             "[message] Cannot find /nowhere/ball.ixo\n\nIxoEngine version 252\n"}}) {
    std::ostringstream out, err;
    HeadlessRunner runner(out, err);
    EXPECT_FALSE(runner.RunPackage(c.arguments));
    EXPECT_EQ(out.str(), c.message);
  }
}

TEST_F(StartupTest, HostPathsFollowBackslashesDrivesAndAnyLetterCase) {
  fs::create_directories(root_ / "Objects" / "Sub");
  std::ofstream(root_ / "Objects" / "Sub" / "Clock.IXO") << "x";
  const std::string root = root_.string();
  const std::string lower_root = ixo::LowerAscii(root);
  struct Case {
    std::string written;
    std::string resolved;
  };
  for (const Case& c : {
           Case{root + "/Objects/Sub/Clock.IXO", root + "/Objects/Sub/Clock.IXO"},
           Case{lower_root + "/objects/sub/clock.ixo", root + "/Objects/Sub/Clock.IXO"},
           Case{lower_root + "\\OBJECTS\\sub\\clock.ixo", root + "/Objects/Sub/Clock.IXO"},
           Case{"c:" + lower_root + "\\objects", root + "/Objects"},
           Case{lower_root + "/objects/new/file.txt", root + "/Objects/new/file.txt"},
           Case{"C:\\", "/"},
       })
    EXPECT_EQ(HostPath(c.written), c.resolved) << c.written;
}

}  // namespace
}  // namespace ixo
