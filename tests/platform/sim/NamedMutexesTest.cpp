// Named mutexes across processes: two tables on one folder stand for two
// processes (each holds its own locks); a forked child that dies without
// closing anything stands for a crashed one.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "TempDirectory.h"
#include "platform/sim/NamedMutexes.h"

namespace sim {
namespace {

using testing_support::TempDirectory;

const std::u16string kName = u"/Program Files/Vantrel/Vantrel.exe";

TEST(NamedMutexes, TheSecondCreatorFindsTheNameTakenUntilTheLastHandleCloses) {
    TempDirectory folder;
    NamedMutexTable first(folder / "mutexes");
    NamedMutexTable second(folder / "mutexes");
    bool existed = true;
    auto a = first.Open(kName, 1, true, existed);
    ASSERT_TRUE(a.Ok()) << a.GetError().message;
    EXPECT_FALSE(existed);
    EXPECT_EQ((*a)->OwnerThread(), 1u);

    auto b = second.Open(kName, 2, true, existed);
    ASSERT_TRUE(b.Ok());
    EXPECT_TRUE(existed);
    // Ownership is not given to a creator that found the mutex.
    EXPECT_EQ((*b)->OwnerCount(), 0);
    // Names differ by letter case.
    auto other = second.Open(u"/program files/vantrel/vantrel.exe", 2, false, existed);
    ASSERT_TRUE(other.Ok());
    EXPECT_FALSE(existed);

    // A second handle in the same process, then both closed: the first
    // process still holds the name.
    auto b2 = second.Open(kName, 2, false, existed);
    EXPECT_TRUE(existed);
    second.Close(**b);
    second.Close(**b2);
    EXPECT_FALSE(first.Release(**a, 2));
    EXPECT_TRUE(first.Release(**a, 1));
    EXPECT_FALSE(first.Release(**a, 1));
    first.Close(**a);

    auto fresh = second.Open(kName, 2, false, existed);
    ASSERT_TRUE(fresh.Ok());
    EXPECT_FALSE(existed);
    second.Close(**fresh);
    second.Close(**other);
    EXPECT_FALSE(std::filesystem::exists(first.LockFileOf(kName)));
}

TEST(NamedMutexes, AHolderThatDiesFreesTheName) {
    TempDirectory folder;
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        NamedMutexTable table(folder / "mutexes");
        bool existed = false;
        const bool ok = table.Open(kName, 1, false, existed).Ok() && !existed;
        const char answer = ok ? 'y' : 'n';
        (void)!::write(ready[1], &answer, 1);
        ::pause();
        ::_exit(0);
    }
    char answer = 0;
    ASSERT_EQ(::read(ready[0], &answer, 1), 1);
    EXPECT_EQ(answer, 'y');

    NamedMutexTable table(folder / "mutexes");
    bool existed = false;
    auto held = table.Open(kName, 1, false, existed);
    ASSERT_TRUE(held.Ok());
    EXPECT_TRUE(existed);
    table.Close(**held);

    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    auto after = table.Open(kName, 1, false, existed);
    ASSERT_TRUE(after.Ok());
    EXPECT_FALSE(existed);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(NamedMutexes, LongAndOddNamesGetFilesOfTheirOwn) {
    TempDirectory folder;
    NamedMutexTable table(folder / "mutexes");
    const std::u16string longName(300, u'n');
    const std::u16string longName2 = std::u16string(299, u'n') + u"m";
    const std::u16string odd = u"a\xD800/b";
    EXPECT_NE(table.LockFileOf(longName), table.LockFileOf(longName2));
    EXPECT_NE(table.LockFileOf(odd), table.LockFileOf(u"a\xD801/b"));
    EXPECT_LT(table.LockFileOf(longName).filename().string().size(), 255u);
    bool existed = true;
    for (const auto& name : {longName, longName2, odd}) {
        auto opened = table.Open(name, 1, false, existed);
        ASSERT_TRUE(opened.Ok());
        EXPECT_FALSE(existed);
    }
}

} // namespace
} // namespace sim
