// The service address setting: which values pass, where they come from, and
// what the user is told about a refused one.

#include "app/ServiceSetting.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

using T = TServiceSetting;

TEST(ServiceSetting, TakesHostNamesAndIPv4WithAnOptionalPort)
{
    for (const char* good : {"localhost", "mt.example.com:8080", "127.0.0.1:65535", "a-1.b2:1", "10.0.0.255"})
        EXPECT_TRUE(T::IsAddress(good)) << good;
    EXPECT_TRUE(T::IsAddress(std::string(63, 'a') + ".com"));
    for (const std::string& bad : std::vector<std::string>{"", "host:", "host:0", "host:65536", "host:080", "host:+80", "host:80:81", ":80",
                            "10.0.0.256", "10.0.0", "10.0.0.01", "-host", "host-.com", "a..b", "host.", "my_host",
                            "my host", "[::1]:80", "http://host", "host/path", std::string(64, 'a') + ".com"})
        EXPECT_FALSE(T::IsAddress(bad)) << '"' << bad << '"';
}

TEST(ServiceSetting, CommandLineTakesTheLastServiceSwitch)
{
    EXPECT_EQ(T::CommandLineValue("\"C:\\a /service=x\\orbelin.exe\" /services=a"), std::nullopt)
        << "neither the program's own quoted path nor another switch";
    EXPECT_EQ(T::CommandLineValue("orbelin.exe \"/SERVICE=b\" /Service=c:82"), "c:82") << "any case, the last wins";
    EXPECT_EQ(T::CommandLineValue("orbelin.exe /service"), "") << "a bare switch is an empty value";
}

TEST(ServiceSetting, CommandLineOverFileOverDefaultAndARefusedValueIsNamed)
{
    const std::string path = "C:\\Orbelin\\orbelin.ini";
    const std::string file = "; team service\r\n[service]\r\n  host = mt.example.com:8080 \r\n";
    const struct {
        std::optional<std::string> Ini;
        const char* CommandLine;
        const char* Host;
        std::vector<std::string> Told; // what the report names; no report when empty
    } cases[] = {
        {std::nullopt, "orbelin.exe", "localhost", {}},
        {file, "orbelin.exe", "mt.example.com:8080", {}},
        {file, "orbelin.exe /service=127.0.0.1:8081", "127.0.0.1:8081", {}},
        {"[Other]\nHost=x\n", "orbelin.exe", "localhost", {}},
        {"[Service]\nHost=bad host\n", "orbelin.exe", "localhost", {path, "Host=bad host", "localhost"}},
        {"[Service]\nHost=\n", "orbelin.exe", "localhost", {path, "Host="}},
        {file, "orbelin.exe /service=host:99999", "localhost", {"命令行", "/service=host:99999", "localhost"}},
    };
    for (const auto& c : cases) {
        const T setting(c.Ini, path, c.CommandLine);
        SCOPED_TRACE(c.CommandLine);
        EXPECT_EQ(setting.Host(), c.Host);
        EXPECT_EQ(setting.Problem().empty(), c.Told.empty()) << setting.Problem();
        for (const std::string& part : c.Told)
            EXPECT_NE(setting.Problem().find(part), std::string::npos) << part << " not in: " << setting.Problem();
    }
}

} // namespace
} // namespace orbelin
