#pragma once
// The program's one setting: the translation service's address, "host" or
// "host:port". It comes from the command line ("/service=host[:port]"), else
// from orbelin.ini beside the program ([Service] Host=host[:port]), else it
// is "localhost". A bad value is reported and the default used instead.

#include <optional>
#include <string>
#include <string_view>

namespace orbelin {

class TServiceSetting {
public:
    static constexpr const char* DefaultHost = "localhost";
    static constexpr const char* FileName = "orbelin.ini";

    // iniText: the file's bytes, or nothing when there is no file; iniPath
    // names it in the report. commandLine: the whole command line, the
    // program's own name first.
    TServiceSetting(const std::optional<std::string>& iniText, const std::string& iniPath,
                    std::string_view commandLine);

    // What the service URL takes: "host" or "host:port".
    const std::string& Host() const { return FHost; }
    // Empty, or the text telling the user which value was refused and where.
    const std::string& Problem() const { return FProblem; }

    // A host name or dotted IPv4 address, and optionally ":" and a port 1-65535.
    static bool IsAddress(std::string_view value);
    // The value of the last "/service=" argument (letter case aside; a bare
    // "/service" gives an empty value), or nothing without one.
    static std::optional<std::string> CommandLineValue(std::string_view commandLine);

private:
    void Take(const std::string& value, const std::string& source);

    std::string FHost = DefaultHost;
    std::string FProblem;
};

// Windows: the setting of this process, from orbelin.ini beside its
// executable and from its command line.
TServiceSetting LoadServiceSetting();

} // namespace orbelin
