#include "ApertiumPipeline.h"
#include "PipeIo.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>
#include <thread>
#include <unistd.h>
#include <vector>

namespace orbelin::service {
namespace {

using namespace std::chrono_literals;

Deadline in(std::chrono::milliseconds ms)
{
    return Clock::now() + ms;
}

// A process that has ended but waits to be reaped (by whoever adopted it)
// does not run.
bool runs(pid_t pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    return close != std::string::npos && close + 2 < text.size() && text[close + 2] != 'Z';
}

TEST(RunFilter, PassesDataThroughAProgram)
{
    const IoResult result = runFilter({"tr", "a-z", "A-Z"}, "hello\nworld", in(5s));
    EXPECT_EQ(result.status, IoStatus::done);
    EXPECT_EQ(result.output, "HELLO\nWORLD");
}

TEST(RunFilter, EmptyInput)
{
    const IoResult result = runFilter({"cat"}, "", in(5s));
    EXPECT_EQ(result.status, IoStatus::done);
    EXPECT_EQ(result.output, "");
}

TEST(RunFilter, LargeDataDoesNotDeadlock)
{
    // Far more than a pipe buffer in both directions at once.
    std::string data;
    for (int i = 0; data.size() < 4 * 1024 * 1024; ++i) {
        data += "line " + std::to_string(i) + "\n";
    }
    const IoResult result = runFilter({"cat"}, data, in(20s));
    EXPECT_EQ(result.status, IoStatus::done);
    EXPECT_EQ(result.output, data);
}

TEST(RunFilter, FailuresAndTimeouts)
{
    EXPECT_EQ(runFilter({"/nonexistent/program"}, "x", in(5s)).status, IoStatus::failed);
    EXPECT_EQ(runFilter({"false"}, "x", in(5s)).status, IoStatus::failed);

    const auto start = Clock::now();
    EXPECT_EQ(runFilter({"sleep", "30"}, "x", in(300ms)).status, IoStatus::timedOut);
    EXPECT_LT(Clock::now() - start, 3s);
}

TEST(RunFilter, WaitForTheExitKeepsTheDeadline)
{
    // The output ends at once, but the program goes on running (its standard
    // error closed too, so that the sleep left behind holds no pipe of the run).
    const auto start = Clock::now();
    const IoResult result = runFilter({"sh", "-c", "cat; exec >&- 2>&-; sleep 30"}, "x", in(500ms));
    EXPECT_EQ(result.status, IoStatus::timedOut);
    EXPECT_LT(Clock::now() - start, 10s);
}

class FakeModes : public ::testing::Test {
protected:
    std::filesystem::path script(const std::string& name, const std::string& body)
    {
        const std::filesystem::path file = dir_.path() / name;
        test::writeFile(file, "#!/bin/sh\n" + body + "\n", true);
        return file;
    }
    std::filesystem::path mode(const std::string& name, const std::string& pipeline)
    {
        const std::filesystem::path file = dir_.path() / (name + ".mode");
        test::writeFile(file, pipeline + "\n");
        return file;
    }
    // One text as one piece.
    static IoResult one(ApertiumPipeline& pipeline, const std::string& text, Deadline deadline)
    {
        PiecesResult result = pipeline.translate(std::span(&text, 1), deadline);
        return {result.status, result.answers.empty() ? std::string() : std::move(result.answers.front())};
    }
    test::TempDir dir_;
};

TEST_F(FakeModes, WarmPipelineAnswersEveryRequest)
{
    const auto echo = script("echo.sh", "exec cat");
    ApertiumPipeline pipeline(mode("xx-yy", "'" + echo.string() + "' | '" + echo.string() + "' $1"));
    const std::vector<std::string> texts = {"one", "", "two\nlines", std::string(300000, 'z')};
    for (const std::string& text : texts) {
        const IoResult result = one(pipeline, text, in(5s));
        EXPECT_EQ(result.status, IoStatus::done);
        EXPECT_EQ(result.output, text);
    }
}

TEST_F(FakeModes, RequestsEnterWhileEarlierOnesAreStillInThePrograms)
{
    // Answers only once it holds two requests: were requests sent one at a
    // time, each after the answer to the one before, none would be answered.
    const auto pairs = script("pairs.sh", "exec perl -e '$/ = \"\\0\"; $| = 1; my @held;\n"
                                          "while (my $request = <STDIN>) {\n"
                                          "    push @held, $request;\n"
                                          "    if (@held == 2) { print @held; @held = (); }\n"
                                          "}'");
    ApertiumPipeline pipeline(mode("xx-yy", "'" + pairs.string() + "'"));
    auto first = std::async(std::launch::async, [&pipeline] { return one(pipeline, "first", in(10s)); });
    const IoResult second = one(pipeline, "second", in(10s));
    const IoResult other = first.get();
    EXPECT_EQ(other.status, IoStatus::done);
    EXPECT_EQ(other.output, "first");
    EXPECT_EQ(second.status, IoStatus::done);
    EXPECT_EQ(second.output, "second");
}

TEST_F(FakeModes, ConcurrentRequestsEachGetTheirOwnAnswer)
{
    const auto echo = script("echo.sh", "exec cat");
    ApertiumPipeline pipeline(mode("xx-yy", "'" + echo.string() + "' | '" + echo.string() + "'"));
    std::vector<std::future<bool>> clients;
    for (int c = 0; c < 8; ++c) {
        clients.push_back(std::async(std::launch::async, [&pipeline, c] {
            bool right = true;
            for (int i = 0; i < 25; ++i) {
                // Some long enough to arrive in several reads.
                const std::string text = std::to_string(c) + "/" + std::to_string(i) +
                                         std::string(static_cast<std::size_t>(i % 5) * 30000, 'x');
                const IoResult result = one(pipeline, text, in(20s));
                right = right && result.status == IoStatus::done && result.output == text;
            }
            return right;
        }));
    }
    for (int c = 0; c < 8; ++c) {
        EXPECT_TRUE(clients[static_cast<std::size_t>(c)].get()) << "client " << c;
    }
}

// A request past its deadline while the programs work on an earlier one is
// left behind: the earlier and the later ones are answered by the same run.
TEST_F(FakeModes, ARequestPastItsDeadlineFailsAloneAndTheRunGoesOn)
{
    const auto starts = dir_.path() / "starts";
    const auto slow = script("slow.sh", "echo start >> '" + starts.string() + "'\n"
                                        "exec perl -e '$/ = \"\\0\"; $| = 1; while (<STDIN>) { select(undef, undef, undef, 0.3); print }'");
    ApertiumPipeline pipeline(mode("xx-yy", "'" + slow.string() + "'"));
    auto first = std::async(std::launch::async, [&] { return one(pipeline, "first", in(10s)); });
    std::this_thread::sleep_for(50ms);
    auto late = std::async(std::launch::async, [&] { return one(pipeline, "late", in(200ms)); });
    std::this_thread::sleep_for(50ms);
    const IoResult last = one(pipeline, "last", in(10s));
    EXPECT_EQ(late.get().status, IoStatus::timedOut);
    EXPECT_EQ(first.get().output, "first");
    EXPECT_EQ(last.output, "last");
    std::ifstream in(starts);
    EXPECT_EQ(std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'), 1);
}

TEST_F(FakeModes, DeadPipelineIsStartedAgain)
{
    // Answers one request, then ends.
    const auto once = script("once.sh", "head -c 4");
    ApertiumPipeline pipeline(mode("xx-yy", "'" + once.string() + "'"));
    for (int round = 0; round < 3; ++round) {
        const IoResult result = one(pipeline, "abc", in(5s));
        EXPECT_EQ(result.status, IoStatus::done) << round;
        EXPECT_EQ(result.output, "abc") << round;
        // Let the program end before the next round finds it gone.
        std::this_thread::sleep_for(50ms);
    }
}

TEST_F(FakeModes, HungPipelineTimesOutAndIsReplaced)
{
    // Hangs on the first start only; the restarted pipeline works.
    const auto flag = dir_.path() / "started";
    const auto sometimes = script("sometimes.sh", "if [ -e '" + flag.string() + "' ]; then exec cat; fi\n"
                                                  "touch '" + flag.string() + "'\nexec sleep 600");
    ApertiumPipeline pipeline(mode("xx-yy", "'" + sometimes.string() + "'"));

    const auto start = Clock::now();
    EXPECT_EQ(one(pipeline, "text", in(300ms)).status, IoStatus::timedOut);
    EXPECT_LT(Clock::now() - start, 2s);

    const IoResult result = one(pipeline, "text", in(5s));
    EXPECT_EQ(result.status, IoStatus::done);
    EXPECT_EQ(result.output, "text");
}

TEST_F(FakeModes, MissingProgramOrBrokenModeFails)
{
    ApertiumPipeline missing(mode("aa-bb", "/nonexistent/program | cat"));
    EXPECT_EQ(one(missing, "x", in(2s)).status, IoStatus::failed);

    ApertiumPipeline broken(mode("cc-dd", "prog 'unterminated"));
    EXPECT_EQ(one(broken, "x", in(2s)).status, IoStatus::failed);

    ApertiumPipeline absent(dir_.path() / "absent.mode");
    EXPECT_EQ(one(absent, "x", in(2s)).status, IoStatus::failed);

    const auto quits = script("quits.sh", "exit 3");
    ApertiumPipeline ends(mode("ee-ff", "'" + quits.string() + "'"));
    EXPECT_EQ(one(ends, "x", in(2s)).status, IoStatus::failed);
}

TEST_F(FakeModes, FailingPipelineIsStartedAgainOnlyAfterABackOff)
{
    // Dies on every request; each start leaves a line in a file.
    const auto starts = dir_.path() / "starts";
    const auto healthy = dir_.path() / "healthy";
    const auto dies = script("dies.sh", "echo start >> '" + starts.string() + "'\n"
                                        "if [ -e '" + healthy.string() + "' ]; then exec cat; fi\n"
                                        "exit 3");
    ApertiumPipeline pipeline(mode("xx-yy", "'" + dies.string() + "'"));
    const auto startCount = [&starts] {
        std::ifstream in(starts);
        return static_cast<int>(std::count(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>(), '\n'));
    };
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(one(pipeline, "x", in(2s)).status, IoStatus::failed) << i;
        std::this_thread::sleep_for(50ms);
    }
    EXPECT_LE(startCount(), 3);

    // Once the program works, a start after the back-off serves again.
    test::writeFile(healthy, "");
    EXPECT_TRUE(test::eventually([&pipeline] { return one(pipeline, "ok", in(2s)).status == IoStatus::done; },
                                 40s));
    EXPECT_EQ(one(pipeline, "again", in(2s)).output, "again");
}

TEST_F(FakeModes, EndedLeaderLeavesNothingOfItsGroupBehind)
{
    // The first program answers one request and ends, leaving a process of
    // its group behind. Finding it ended must not reap it before its group
    // is killed, or the group could no longer be signalled.
    const auto pidFile = dir_.path() / "left.pids";
    const auto leaves = script("leaves.sh", "sleep 300 </dev/null >/dev/null 2>&1 &\n"
                                            "echo $! >> '" + pidFile.string() + "'\n"
                                            "exec head -c 2");
    {
        ApertiumPipeline pipeline(mode("xx-yy", "'" + leaves.string() + "'"));
        for (const std::string text : {"a", "b"}) {
            EXPECT_EQ(one(pipeline, text, in(5s)).output, text);
            std::this_thread::sleep_for(100ms); // the leader ends after its answer
        }
    }
    std::vector<pid_t> left;
    std::ifstream in(pidFile);
    for (pid_t pid = 0; in >> pid;) {
        left.push_back(pid);
    }
    ASSERT_EQ(left.size(), 2u);
    for (const pid_t pid : left) {
        EXPECT_TRUE(test::eventually([pid] { return !runs(pid); })) << "process " << pid << " still runs";
        ::kill(pid, SIGKILL);
    }
}

// Turns in the order asked, within the budget; small work and work alone
// pass at once; a closed gate or a passed deadline gives no turn.
TEST(FairGate, TurnsInOrderWithinTheBudget)
{
    const auto gate = std::make_shared<FairGate>(10, 2);
    auto inside = gate->enter(8, in(1s));
    ASSERT_TRUE(inside);
    EXPECT_TRUE(gate->enter(2, in(0ms))) << "small work never waits";
    EXPECT_FALSE(gate->enter(3, in(50ms))) << "beyond the budget";
    std::vector<int> order;
    std::mutex orderMutex;
    std::vector<std::future<void>> waiting;
    for (int i = 0; i < 3; ++i) {
        waiting.push_back(std::async(std::launch::async, [&, i] {
            // 6 + 6 passes the budget: one waiter inside at a time, so the
            // order they record is the order they were let in
            const auto turn = gate->enter(6, in(5s));
            const std::lock_guard lock(orderMutex);
            order.push_back(turn ? i : -1);
        }));
        // so that they ask in this order
        ASSERT_TRUE(test::eventually([&gate, i] { return gate->waiting() == static_cast<std::size_t>(i) + 1; }));
    }
    inside.reset();
    for (auto& w : waiting) {
        w.get();
    }
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(gate->inside(), 0u);
    EXPECT_TRUE(gate->enter(100, in(0ms))) << "work larger than the budget enters alone";
    gate->close();
    EXPECT_FALSE(gate->enter(1, in(1s)));
}

TEST(ChildProcess, GroupIsSignalledOnlyWhileTheLeaderIsUnreaped)
{
    // The leader ends at once and leaves a member of its group running.
    const UniqueFd devNull(::open("/dev/null", O_RDWR | O_CLOEXEC));
    ChildProcess leader = ChildProcess::spawn({"sh", "-c", "sleep 300 & echo $!"}, devNull.get(), devNull.get());
    const pid_t group = leader.pid();
    EXPECT_TRUE(test::eventually([&leader] { return leader.ended(); }));
    EXPECT_TRUE(leader.ended()) << "asking again does not reap it";
    leader.wait(); // reaped: its process group id is no longer ours to use

    const auto members = [group] {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
            const std::string name = entry.path().filename();
            if (!name.empty() && std::isdigit(static_cast<unsigned char>(name[0])) && ::getpgid(std::stoi(name)) == group &&
                runs(std::stoi(name))) {
                ++count;
            }
        }
        return count;
    };
    ASSERT_EQ(members(), 1);
    EXPECT_FALSE(leader.signalGroup(SIGKILL));
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(members(), 1) << "a reaped leader's group was signalled";
    ::killpg(group, SIGKILL);
}

}  // namespace
}  // namespace orbelin::service
