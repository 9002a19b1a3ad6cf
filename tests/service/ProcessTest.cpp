#include "ApertiumPipeline.h"
#include "ApertiumText.h"
#include "PipeIo.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>

namespace orbelin::service {
namespace {

using namespace std::chrono_literals;

Deadline in(std::chrono::milliseconds ms)
{
    return Clock::now() + ms;
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

TEST(ApertiumText, RoundTripOfPlainText)
{
    const std::string text = "Line one [with brackets] \\ and ^caret$ \r\nline two\n\nend";
    const IoResult deformatted = deformatText(text, in(5s));
    ASSERT_EQ(deformatted.status, IoStatus::done);
    const IoResult back = reformatText(deformatted.output, in(5s));
    ASSERT_EQ(back.status, IoStatus::done);
    EXPECT_EQ(back.output, text);
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
    test::TempDir dir_;
};

TEST_F(FakeModes, WarmPipelineAnswersEveryRequest)
{
    const auto echo = script("echo.sh", "exec cat");
    ApertiumPipeline pipeline(mode("xx-yy", "'" + echo.string() + "' | '" + echo.string() + "' $1"));
    const std::vector<std::string> texts = {"one", "", "two\nlines", std::string(300000, 'z')};
    for (const std::string& text : texts) {
        const IoResult result = pipeline.translate(text, in(5s));
        EXPECT_EQ(result.status, IoStatus::done);
        EXPECT_EQ(result.output, text);
    }
}

TEST_F(FakeModes, DeadPipelineIsStartedAgain)
{
    // Answers one request, then ends.
    const auto once = script("once.sh", "head -c 4");
    ApertiumPipeline pipeline(mode("xx-yy", "'" + once.string() + "'"));
    for (int round = 0; round < 3; ++round) {
        const IoResult result = pipeline.translate("abc", in(5s));
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
    EXPECT_EQ(pipeline.translate("text", in(300ms)).status, IoStatus::timedOut);
    EXPECT_LT(Clock::now() - start, 2s);

    const IoResult result = pipeline.translate("text", in(5s));
    EXPECT_EQ(result.status, IoStatus::done);
    EXPECT_EQ(result.output, "text");
}

TEST_F(FakeModes, MissingProgramOrBrokenModeFails)
{
    ApertiumPipeline missing(mode("aa-bb", "/nonexistent/program | cat"));
    EXPECT_EQ(missing.translate("x", in(2s)).status, IoStatus::failed);

    ApertiumPipeline broken(mode("cc-dd", "prog 'unterminated"));
    EXPECT_EQ(broken.translate("x", in(2s)).status, IoStatus::failed);

    ApertiumPipeline absent(dir_.path() / "absent.mode");
    EXPECT_EQ(absent.translate("x", in(2s)).status, IoStatus::failed);

    const auto quits = script("quits.sh", "exit 3");
    ApertiumPipeline ends(mode("ee-ff", "'" + quits.string() + "'"));
    EXPECT_EQ(ends.translate("x", in(2s)).status, IoStatus::failed);
}

}  // namespace
}  // namespace orbelin::service
