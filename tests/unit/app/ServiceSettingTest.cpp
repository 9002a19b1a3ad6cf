// The service address setting: which values pass, where they come from, and
// what the user is told about a refused one.

#include "app/ServiceSetting.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

TEST(ServiceAddress, TakesHostNamesAndIPv4WithAnOptionalPort)
{
    const struct {
        const char* Value;
        bool Good;
    } cases[] = {
        {"localhost", true},          {"mt.example.com:8080", true}, {"127.0.0.1:65535", true},
        {"a-1.b2:1", true},           {"10.0.0.255", true},          {"", false},
        {"host:", false},             {"host:0", false},             {"host:65536", false},
        {"host:080", false},          {"host:+80", false},           {"host:80:81", false},
        {":80", false},               {"10.0.0.256", false},         {"10.0.0", false},
        {"10.0.0.01", false},         {"-host", false},              {"host-.com", false},
        {"a..b", false},              {"host.", false},              {"my_host", false},
        {"my host", false},           {"[::1]:80", false},           {"http://host", false},
        {"host/path", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TServiceSetting::IsAddress(c.Value), c.Good) << '"' << c.Value << '"';
    EXPECT_TRUE(TServiceSetting::IsAddress(std::string(63, 'a') + ".com"));
    EXPECT_FALSE(TServiceSetting::IsAddress(std::string(64, 'a') + ".com")) << "a label of 64 characters";
}

TEST(ServiceAddress, CommandLineTakesTheLastServiceSwitch)
{
    using T = TServiceSetting;
    EXPECT_EQ(T::CommandLineValue("\"C:\\Program Files\\Orbelin\\orbelin.exe\""), std::nullopt);
    EXPECT_EQ(T::CommandLineValue("orbelin.exe /service=a:81"), "a:81");
    EXPECT_EQ(T::CommandLineValue("orbelin.exe \"/SERVICE=b\" /Service=c:82"), "c:82") << "any case, the last wins";
    EXPECT_EQ(T::CommandLineValue("orbelin.exe /service"), "") << "a bare switch is an empty value";
    EXPECT_EQ(T::CommandLineValue("orbelin.exe /services=a /x"), std::nullopt);
    EXPECT_EQ(T::CommandLineValue("\"C:\\a /service=x\\orbelin.exe\" other"), std::nullopt)
        << "the program's own quoted path is no argument";
}

TEST(ServiceSetting, CommandLineOverFileOverDefaultAndARefusedValueIsNamed)
{
    const std::string path = "C:\\Orbelin\\orbelin.ini";
    const std::string file = "; team service\r\n[service]\r\n  host = mt.example.com:8080 \r\n";
    const struct {
        std::optional<std::string> Ini;
        const char* CommandLine;
        const char* Host;
        std::vector<std::string> Told; // what the report names; none when empty
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
        const TServiceSetting setting(c.Ini, path, c.CommandLine);
        SCOPED_TRACE(c.CommandLine);
        EXPECT_EQ(setting.Host(), c.Host);
        EXPECT_EQ(setting.Problem().empty(), c.Told.empty()) << setting.Problem();
        for (const std::string& part : c.Told)
            EXPECT_NE(setting.Problem().find(part), std::string::npos) << part << " not in: " << setting.Problem();
    }
}

} // namespace
} // namespace orbelin
