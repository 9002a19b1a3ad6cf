#include "app/ServiceSetting.h"

#include "base/AnsiText.h"
#include "skin/data/SkinIniFile.h"

#include <algorithm>
#include <vector>

namespace orbelin {

namespace {

bool IsDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Decimal digits without a leading zero, at most max.
bool IsNumberUpTo(std::string_view text, long max)
{
    if (!IsDigits(text) || text.size() > 5 || (text.size() > 1 && text[0] == '0'))
        return false;
    return std::stol(std::string(text)) <= max;
}

std::vector<std::string_view> Labels(std::string_view host)
{
    std::vector<std::string_view> labels;
    size_t start = 0;
    for (size_t dot; (dot = host.find('.', start)) != std::string_view::npos; start = dot + 1)
        labels.push_back(host.substr(start, dot - start));
    labels.push_back(host.substr(start));
    return labels;
}

bool IsLabel(std::string_view label)
{
    auto allowed = [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
    };
    return !label.empty() && label.size() <= 63 && label.front() != '-' && label.back() != '-' &&
           std::all_of(label.begin(), label.end(), allowed);
}

// A name whose last label is all digits can only be an IPv4 address, as no
// top-level domain is numeric: "10.0.0.300" is refused, not looked up.
bool IsHost(std::string_view host)
{
    if (host.empty() || host.size() > 253)
        return false;
    const std::vector<std::string_view> labels = Labels(host);
    if (IsDigits(labels.back()))
        return labels.size() == 4 &&
               std::all_of(labels.begin(), labels.end(), [](std::string_view l) { return IsNumberUpTo(l, 255); });
    return std::all_of(labels.begin(), labels.end(), IsLabel);
}

// Splits a command line as Windows programs do for their arguments: blanks
// separate, double quotes group and are dropped.
std::vector<std::string> Arguments(std::string_view commandLine)
{
    std::vector<std::string> args;
    std::string current;
    bool quoted = false, inArgument = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument)
                args.push_back(current);
            current.clear();
            inArgument = false;
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument)
        args.push_back(current);
    return args;
}

constexpr std::string_view kSwitch = "/service";

} // namespace

bool TServiceSetting::IsAddress(std::string_view value)
{
    const size_t colon = value.find(':');
    if (colon == std::string_view::npos)
        return IsHost(value);
    const std::string_view port = value.substr(colon + 1);
    return IsHost(value.substr(0, colon)) && IsNumberUpTo(port, 65535) && port != "0";
}

std::optional<std::string> TServiceSetting::CommandLineValue(std::string_view commandLine)
{
    const std::vector<std::string> args = Arguments(commandLine);
    std::optional<std::string> value;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (SameText(arg, kSwitch))
            value = "";
        else if (arg.size() > kSwitch.size() && arg[kSwitch.size()] == '=' && StartsText(kSwitch, arg))
            value = arg.substr(kSwitch.size() + 1);
    }
    return value;
}

TServiceSetting::TServiceSetting(const std::optional<std::string>& iniText, const std::string& iniPath,
                                 std::string_view commandLine)
{
    if (const std::optional<std::string> value = CommandLineValue(commandLine)) {
        Take(Trim(*value), "命令行中的翻译服务地址无效：\r\n" + std::string(kSwitch) + "=" + *value);
        return;
    }
    if (!iniText)
        return;
    const TSkinIniFile ini(*iniText);
    if (ini.ValueExists("Service", "Host")) {
        const std::string value = ini.ReadString("Service", "Host", "");
        Take(value, "文件 " + iniPath + " 中的翻译服务地址无效：\r\n[Service]\r\nHost=" + value);
    }
}

void TServiceSetting::Take(const std::string& value, const std::string& source)
{
    if (IsAddress(value)) {
        FHost = value;
        return;
    }
    FProblem = source + "\r\n\r\n地址应为主机名或 IPv4 地址，可在冒号后加端口号（1 到 65535），例如 "
                        "mt.example.com:8080。\r\n现在使用默认地址 " +
               std::string(DefaultHost) + "。";
}

} // namespace orbelin
