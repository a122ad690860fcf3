#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "platform/SingleInstance.h"
#include "tests/support/TestSupport.h"

namespace kobalto::platform {
namespace {

using State = SingleInstance::State;

TEST(SingleInstance, LockLivesInTheRuntimeFolderElseInTheTemporaryOneWithTheUserId)
{
    test::TempDir dir;
    EXPECT_EQ(SingleInstanceLockPathFrom(dir.Path(), "/var/tmp", 1000), dir.Path() + "/MutexObjectForKobalto");
    EXPECT_EQ(SingleInstanceLockPathFrom("", "/var/tmp", 1000), "/var/tmp/MutexObjectForKobalto-1000");
    EXPECT_EQ(SingleInstanceLockPathFrom(dir.File("gone"), "", 7), "/tmp/MutexObjectForKobalto-7");
    EXPECT_EQ(SingleInstanceLockPathFrom("relative", "also", 7), "/tmp/MutexObjectForKobalto-7");
}

TEST(SingleInstance, ASecondCopyFindsTheLockUntilTheFirstEnds)
{
    test::TempDir dir;
    const std::string lock = dir.File("MutexObjectForKobalto");
    auto first = std::make_unique<SingleInstance>(lock);
    EXPECT_EQ(first->GetState(), State::Running);
    EXPECT_EQ(SingleInstance(lock).GetState(), State::AnotherRuns);
    EXPECT_EQ(SingleInstance(lock).GetState(), State::AnotherRuns);
    first.reset();
    EXPECT_EQ(SingleInstance(lock).GetState(), State::Running);
}

TEST(SingleInstance, ACrashedCopyLeavesNoLockBehind)
{
    test::TempDir dir;
    const std::string lock = dir.File("MutexObjectForKobalto");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SingleInstance held(lock);
        char c = held.GetState() == State::Running ? 'y' : 'n';
        (void)!::write(ready[1], &c, 1);
        ::pause();
        std::_Exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    EXPECT_EQ(SingleInstance(lock).GetState(), State::AnotherRuns);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(SingleInstance(lock).GetState(), State::Running);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(SingleInstance, ALockThatCannotBeTakenLetsTheProgramRunUnguarded)
{
    test::TempDir dir;
    // A symbolic link planted under the lock's name is not followed.
    ASSERT_EQ(::symlink(dir.File("elsewhere").c_str(), dir.File("MutexObjectForKobalto").c_str()), 0);
    EXPECT_EQ(SingleInstance(dir.File("MutexObjectForKobalto")).GetState(), State::Unguarded);
    EXPECT_FALSE(test::FileExists(dir.File("elsewhere")));
    EXPECT_EQ(SingleInstance(dir.File("no/such/folder/lock")).GetState(), State::Unguarded);
}

}  // namespace
}  // namespace kobalto::platform
