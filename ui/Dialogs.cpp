#include "ui/Dialogs.h"

#include "ui/Application.h"
#include "ui/Forms.h"

#include <commdlg.h>

#include <algorithm>

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

namespace {

enum class TOpenOption {
    ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate, ofAllowMultiSelect,
    ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt, ofShareAware, ofNoReadOnlyReturn,
    ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames, ofOldStyleDialog, ofNoDereferenceLinks,
    ofEnableIncludeNotify, ofEnableSizing, ofDontAddToRecent, ofForceShowHidden
};

constexpr TEnumName<TOpenOption> OpenOptionNames[] = {
    {"ofReadOnly", TOpenOption::ofReadOnly},
    {"ofOverwritePrompt", TOpenOption::ofOverwritePrompt},
    {"ofHideReadOnly", TOpenOption::ofHideReadOnly},
    {"ofNoChangeDir", TOpenOption::ofNoChangeDir},
    {"ofShowHelp", TOpenOption::ofShowHelp},
    {"ofNoValidate", TOpenOption::ofNoValidate},
    {"ofAllowMultiSelect", TOpenOption::ofAllowMultiSelect},
    {"ofExtensionDifferent", TOpenOption::ofExtensionDifferent},
    {"ofPathMustExist", TOpenOption::ofPathMustExist},
    {"ofFileMustExist", TOpenOption::ofFileMustExist},
    {"ofCreatePrompt", TOpenOption::ofCreatePrompt},
    {"ofShareAware", TOpenOption::ofShareAware},
    {"ofNoReadOnlyReturn", TOpenOption::ofNoReadOnlyReturn},
    {"ofNoTestFileCreate", TOpenOption::ofNoTestFileCreate},
    {"ofNoNetworkButton", TOpenOption::ofNoNetworkButton},
    {"ofNoLongNames", TOpenOption::ofNoLongNames},
    {"ofOldStyleDialog", TOpenOption::ofOldStyleDialog},
    {"ofNoDereferenceLinks", TOpenOption::ofNoDereferenceLinks},
    {"ofEnableIncludeNotify", TOpenOption::ofEnableIncludeNotify},
    {"ofEnableSizing", TOpenOption::ofEnableSizing},
    {"ofDontAddToRecent", TOpenOption::ofDontAddToRecent},
    {"ofForceShowHidden", TOpenOption::ofForceShowHidden},
};

} // namespace

const TPropertyTable<TComponent>& TSaveDialog::Properties() const
{
    static const TPropertyTable<TComponent> table(TComponent::Properties(), {
        Field("Filter", &TSaveDialog::Filter),
        Field("DefaultExt", &TSaveDialog::DefaultExt),
        Field("FileName", &TSaveDialog::FileName),
        Field("Title", &TSaveDialog::Title),
        // Of the options only the overwrite question changes what this dialog does.
        Property<TSaveDialog>("Options",
                              [](TSaveDialog& d, const TPropertyValue& v) {
                                  const auto options = EnumsFromNames(OpenOptionNames, v.AsSet());
                                  d.OverwritePrompt = std::find(options.begin(), options.end(),
                                                                TOpenOption::ofOverwritePrompt) != options.end();
                              }),
    });
    return table;
}

} // namespace orbelin
