#include "app/ServiceSetting.h"

#include "base/Exceptions.h"
#include "base/Streams.h"

#include <windows.h>

namespace orbelin {

TServiceSetting LoadServiceSetting()
{
    char path[MAX_PATH * 2] = {};
    const DWORD n = GetModuleFileNameA(nullptr, path, sizeof(path));
    std::string ini(path, n);
    ini = ini.substr(0, ini.find_last_of("\\/") + 1) + TServiceSetting::FileName;
    std::optional<std::string> text;
    const DWORD attributes = GetFileAttributesA(ini.c_str());
    // A file that cannot be read (locked, say) counts as none.
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        try {
            text = ReadFileBytes(ini);
        } catch (const Exception&) {
        }
    }
    return TServiceSetting(text, ini, GetCommandLineA());
}

} // namespace orbelin
