#pragma once
// A form read from description text given by a test.

#include "ui/Forms.h"

#include <string_view>

namespace orbelin::test {

class TTestForm : public TForm {
public:
    explicit TTestForm(TComponent* owner) : TForm(owner) {}
    void Read(std::string_view text) { ReadDescriptionText(text); }

protected:
    using TForm::RegisterMethod;
};

} // namespace orbelin::test
