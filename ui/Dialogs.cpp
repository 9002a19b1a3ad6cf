#include "ui/Dialogs.h"

#include "base/AnsiText.h"
#include "ui/Application.h"
#include "ui/Forms.h"

#include <commdlg.h>

namespace orbelin {

std::string TSaveDialog::FilterBuffer(const std::string& filter)
{
    std::string buffer = filter;
    for (char& c : buffer)
        if (c == '|')
            c = '\0';
    buffer.push_back('\0');
    buffer.push_back('\0');
    return buffer;
}

bool TSaveDialog::Execute(HWND owner)
{
    if (!owner) {
        owner = GetActiveWindow();
        if (!owner && Application().MainForm())
            owner = Application().MainForm()->WindowHandle();
    }
    const std::string filter = FilterBuffer(Filter);
    std::string ext = DefaultExt;
    if (!ext.empty() && ext.front() == '.')
        ext.erase(0, 1);
    char file[MAX_PATH * 4] = {};
    lstrcpynA(file, FileName.c_str(), sizeof(file));

    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file;
    ofn.nMaxFile = sizeof(file);
    ofn.lpstrDefExt = ext.empty() ? nullptr : ext.c_str();
    ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
    if (OverwritePrompt)
        ofn.Flags |= OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameA(&ofn))
        return false;
    FileName = file;
    return true;
}

bool TSaveDialog::SetProperty(std::string_view name, const TPropertyValue& value)
{
    if (SameText(name, "Filter"))
        Filter = value.AsString();
    else if (SameText(name, "DefaultExt"))
        DefaultExt = value.AsString();
    else if (SameText(name, "FileName"))
        FileName = value.AsString();
    else if (SameText(name, "Title"))
        Title = value.AsString();
    else if (SameText(name, "Options"))
        OverwritePrompt = value.SetContains("ofOverwritePrompt");
    else
        return TComponent::SetProperty(name, value);
    return true;
}

} // namespace orbelin
