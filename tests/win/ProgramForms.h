#pragma once
// The program's two windows for one test: created as start-up creates them,
// the main window shown, both freed at the end.

#include "app/Program.h"
#include "app/Unit1.h"
#include "app/Unit2.h"
#include "skin/data/SkinHost.h"
#include "tests/win/WinTestSupport.h"
#include "ui/Application.h"

namespace orbelin::test {

class TProgramForms {
public:
    TProgramForms()
    {
        CreateProgramForms();
        Form1->Show();
        Pump(100);
    }
    ~TProgramForms()
    {
        delete Form2;
        delete Form1;
        Form1 = nullptr;
        Form2 = nullptr;
        FreeSkinManager();
    }
    TProgramForms(const TProgramForms&) = delete;
    TProgramForms& operator=(const TProgramForms&) = delete;
};

} // namespace orbelin::test
