#pragma once
// Start-up of the program, shared by the executable and the window tests.

namespace orbelin {

inline constexpr const char* ApplicationTitle = "Orbelin多国语言在线翻译系统";

// Makes the non-visual component classes of the form descriptions known.
void RegisterProgramClasses();
// Initialises the application, sets the title, creates Form1 and Form2.
void CreateProgramForms();
// Points Form1 at the service the setting names; a refused value is shown
// over the main window before the program goes on with the default.
void ApplyServiceSetting();

} // namespace orbelin
