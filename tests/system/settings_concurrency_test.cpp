// Several engines share one store: writes from processes running at once, a
// process killed halfway, and a writer that keeps the database locked.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <future>
#include <thread>

#include "tests/system/settings_folder.h"

namespace ixo::system {
namespace {

using namespace std::chrono_literals;

constexpr const char* kKey = "Software\\zodizarez\\Shared";

// Reads exactly size bytes from a pipe; false at its end.
bool ReadFully(int fd, void* buffer, size_t size) {
  char* bytes = static_cast<char*>(buffer);
  while (size > 0) {
    ssize_t got = read(fd, bytes, size);
    if (got <= 0) return false;
    bytes += got;
    size -= static_cast<size_t>(got);
  }
  return true;
}

// Runs body in a child process, which ends with status 0 when body returns true.
// Children leave through _exit, so that nothing of the test framework runs in them.
template <typename Body>
pid_t StartChild(Body body) {
  pid_t child = fork();
  if (child == 0) _exit(body() ? 0 : 1);
  return child;
}

int WaitForExit(pid_t child) {
  int status = 0;
  waitpid(child, &status, 0);
  return status;
}

std::string WriterValueName(int writer, int index) { return "writer" + std::to_string(writer) + "_" + std::to_string(index); }

// Big enough that the child is often in the middle of writing one when it is killed.
std::string Payload(int index) { return std::string(3000, static_cast<char>('a' + index % 26)) + std::to_string(index); }

using SettingsConcurrencyTest = SettingsFolderTest;

TEST_F(SettingsConcurrencyTest, TwoProcessesWritingOneKeyAtOnceLoseNothing) {
  constexpr int kWriters = 2;
  constexpr int kWritesEach = 500;
  // Both children wait at the gate until the parent closes it, so that they
  // create the database and write into the one key at the same time.
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  pid_t children[kWriters];
  for (int writer = 0; writer < kWriters; ++writer) {
    children[writer] = StartChild([&] {
      close(gate[1]);
      char ignored;
      (void)read(gate[0], &ignored, 1);
      SqliteSettingsStore store = OpenStore();
      for (int i = 0; i < kWritesEach; ++i) {
        // Every write also counts in a value both children rewrite.
        if (!store.WriteString(Root::kCurrentUser, kKey, WriterValueName(writer, i), std::to_string(i)) ||
            !store.WriteInteger(Root::kCurrentUser, kKey, "last", i))
          return false;
      }
      return true;
    });
  }
  close(gate[0]);
  close(gate[1]);
  for (pid_t child : children) {
    int status = WaitForExit(child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write failed in a child";
  }

  SqliteSettingsStore store = OpenStore();
  EXPECT_EQ(store.ValueNames(Root::kCurrentUser, kKey).size(), static_cast<size_t>(kWriters * kWritesEach + 1));
  for (int writer = 0; writer < kWriters; ++writer)
    for (int i = 0; i < kWritesEach; ++i)
      ASSERT_EQ(store.ReadString(Root::kCurrentUser, kKey, WriterValueName(writer, i)), std::to_string(i))
          << WriterValueName(writer, i);
  EXPECT_EQ(store.ReadInteger(Root::kCurrentUser, kKey, "last"), kWritesEach - 1);
  EXPECT_EQ(store.SubKeys(Root::kCurrentUser, "Software\\zodizarez"), std::vector<std::string>{"Shared"});
}

TEST_F(SettingsConcurrencyTest, AProcessKilledWhileWritingLeavesEveryCommittedValue) {
  constexpr int kCommitsBeforeKill = 150;
  // The child reports the index of each write after the store said it was done.
  int reports[2];
  ASSERT_EQ(pipe(reports), 0);
  pid_t child = StartChild([&] {
    close(reports[0]);
    SqliteSettingsStore store = OpenStore();
    for (int i = 0;; ++i) {
      if (!store.WriteBytes(Root::kCurrentUser, kKey, "v" + std::to_string(i), Payload(i))) return false;
      if (write(reports[1], &i, sizeof i) != sizeof i) return false;
    }
  });
  close(reports[1]);
  int committed = -1;
  for (int index; committed + 1 < kCommitsBeforeKill && ReadFully(reports[0], &index, sizeof index);) committed = index;
  kill(child, SIGKILL);
  int status = WaitForExit(child);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the child stopped writing before it was killed";
  for (int index; ReadFully(reports[0], &index, sizeof index);) committed = index;
  close(reports[0]);
  ASSERT_GE(committed, kCommitsBeforeKill - 1);

  EXPECT_EQ(RawDatabase(DatabasePath()).Query("PRAGMA integrity_check"), "ok");
  SqliteSettingsStore store = OpenStore();
  for (int i = 0; i <= committed; ++i)
    ASSERT_EQ(store.ReadBytes(Root::kCurrentUser, kKey, "v" + std::to_string(i)), Payload(i)) << i;
  EXPECT_TRUE(store.WriteString(Root::kCurrentUser, kKey, "after", "written")) << store.LastError();
}

TEST_F(SettingsConcurrencyTest, AWriteBlockedByAnotherWriterFailsClearlyAndWorksOnceReleased) {
  SqliteSettingsStore store = OpenStore(50ms);
  ASSERT_TRUE(store.WriteString(Root::kCurrentUser, kKey, "before", "1"));

  // Another connection changes the value and keeps its transaction open.
  RawDatabase blocker(DatabasePath());
  ASSERT_TRUE(blocker.Exec("BEGIN IMMEDIATE; UPDATE key_values SET data = 'uncommitted'"));

  EXPECT_FALSE(store.WriteString(Root::kCurrentUser, kKey, "during", "2"));
  EXPECT_NE(store.LastError().find("locked"), std::string::npos) << store.LastError();
  EXPECT_FALSE(store.OpenKey(Root::kCurrentUser, "Software\\Other", true));
  // Readers are not held up, and see only what was committed.
  EXPECT_EQ(store.ReadString(Root::kCurrentUser, kKey, "before"), "1");
  EXPECT_EQ(store.ReadString(Root::kCurrentUser, kKey, "during"), std::nullopt);

  ASSERT_TRUE(blocker.Exec("ROLLBACK"));
  EXPECT_TRUE(store.WriteString(Root::kCurrentUser, kKey, "during", "2")) << store.LastError();
  EXPECT_EQ(store.LastError(), "");
  EXPECT_EQ(store.ReadString(Root::kCurrentUser, kKey, "during"), "2");
  EXPECT_EQ(store.ReadString(Root::kCurrentUser, kKey, "before"), "1");
  EXPECT_EQ(RawDatabase(DatabasePath()).Query("PRAGMA integrity_check"), "ok");
}

TEST_F(SettingsConcurrencyTest, AWriteWaitsForAnotherWriterToFinish) {
  SqliteSettingsStore store = OpenStore();
  ASSERT_TRUE(store.OpenKey(Root::kCurrentUser, kKey, true));

  // The other writer holds the lock for a moment, well inside the store's busy timeout.
  std::promise<void> locked;
  std::thread other_writer([&] {
    RawDatabase blocker(DatabasePath());
    blocker.Exec("BEGIN IMMEDIATE");
    locked.set_value();
    std::this_thread::sleep_for(200ms);
    blocker.Exec("COMMIT");
  });
  locked.get_future().wait();
  EXPECT_TRUE(store.WriteString(Root::kCurrentUser, kKey, "waited", "yes")) << store.LastError();
  other_writer.join();
  EXPECT_EQ(store.ReadString(Root::kCurrentUser, kKey, "waited"), "yes");
}

}  // namespace
}  // namespace ixo::system
