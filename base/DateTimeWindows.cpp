#include "base/DateTime.h"

#include <windows.h>

namespace orbelin {

TDateTime Now()
{
    SYSTEMTIME st{};
    GetLocalTime(&st);
    TDateTime date = 0, time = 0;
    TryEncodeDate(st.wYear, st.wMonth, st.wDay, date);
    TryEncodeTime(st.wHour, st.wMinute, st.wSecond, st.wMilliseconds, time);
    return date + time;
}

} // namespace orbelin
