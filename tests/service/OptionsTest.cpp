#include "Options.h"
#include "RequestLog.h"

#include <gtest/gtest.h>

namespace orbelin::service {
namespace {

std::optional<Options> parse(const std::vector<std::string>& args)
{
    std::string error;
    return parseOptions(args, error);
}

TEST(Options, Defaults)
{
    const auto options = parse({});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->host, "127.0.0.1");
    EXPECT_EQ(options->port, 80);
    EXPECT_EQ(options->translator.timeout, std::chrono::milliseconds(30000));
    EXPECT_EQ(options->translator.local.apertiumModes, "/usr/share/apertium/modes");
}

TEST(Options, ListenTimeoutAndModes)
{
    const auto options = parse({"--listen", "0.0.0.0:8080", "--engine-timeout", "1500",
                                "--apertium-modes", "/tmp/modes"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->host, "0.0.0.0");
    EXPECT_EQ(options->port, 8080);
    EXPECT_EQ(options->translator.timeout, std::chrono::milliseconds(1500));
    EXPECT_EQ(options->translator.local.apertiumModes, "/tmp/modes");

    const auto ipv6 = parse({"--listen", "[::1]:0"});
    ASSERT_TRUE(ipv6);
    EXPECT_EQ(ipv6->host, "::1");
    EXPECT_EQ(ipv6->port, 0);
}

TEST(Options, RefusesBadValues)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--listen", "localhost"}, {"--listen", ":80"}, {"--listen", "host:"},
             {"--listen", "host:-1"}, {"--listen", "host:65536"}, {"--listen", "host:8o"},
             {"--engine-timeout", "0"}, {"--engine-timeout", "12s"}, {"--apertium-modes"},
             {"--what"}}) {
        std::string error;
        EXPECT_FALSE(parseOptions(args, error)) << args.front();
        EXPECT_FALSE(error.empty());
    }
}

TEST(RequestLog, LineHasTimePairBytesMillisecondsOutcome)
{
    LogEntry entry;
    entry.time = std::chrono::system_clock::time_point(std::chrono::milliseconds(1'700'000'000'123));
    entry.method = "POST";
    entry.path = "/wl/translate";
    entry.pair = "EN->ES";
    entry.bytes = 84;
    entry.milliseconds = 8;
    entry.status = 200;
    entry.outcome = "ok";
    EXPECT_EQ(formatLogLine(entry), "2023-11-14T22:13:20.123Z POST /wl/translate EN->ES 84B 8ms 200 ok");
}

TEST(RequestLog, RequestTextCannotBreakTheLine)
{
    LogEntry entry;
    entry.method = "GET";
    entry.path = "/a b\r\nfake line\x7f" + std::string(300, 'x');
    entry.status = 404;
    entry.outcome = "not-found";
    const std::string line = formatLogLine(entry);
    EXPECT_EQ(line.find('\n'), std::string::npos);
    EXPECT_EQ(line.find('\r'), std::string::npos);
    EXPECT_NE(line.find(" GET /a?b??fake?line?xxx"), std::string::npos);
    EXPECT_NE(line.find("... - 0B - 404 not-found"), std::string::npos) << line;
}

}  // namespace
}  // namespace orbelin::service
