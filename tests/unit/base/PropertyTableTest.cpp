// Property tables, the one enumeration rule and the form description errors
// that name the form, the component, the property and the line.

#include "base/FormDescription.h"
#include "base/PropertyTable.h"

#include <gtest/gtest.h>

namespace orbelin {
namespace {

enum class TShade { shLight, shDark };
enum TEdge : unsigned { edLeft = 1, edTop = 2, edRight = 4 };

constexpr TEnumName<TShade> ShadeNames[] = {{"shLight", TShade::shLight}, {"shDark", TShade::shDark}};
constexpr TEnumName<TEdge> EdgeNames[] = {{"edLeft", edLeft}, {"edTop", edTop}, {"edRight", edRight}};

struct TPen {
    int Width = 1;
    std::string Style;
    static const TPropertyTable<TPen>& Properties()
    {
        static const TPropertyTable<TPen> table({Field("Width", &TPen::Width), Field("Style", &TPen::Style)});
        return table;
    }
};

class TShape : public TComponent {
public:
    using TComponent::TComponent;
    int Size = 0;
    TShade Shade = TShade::shLight;
    unsigned Edges = 0;
    TPen Pen;
    std::vector<std::string> Lines;
    TNotifyEvent OnPaint;
    const TPropertyTable<TComponent>& Properties() const override
    {
        static const TPropertyTable<TComponent> table(TComponent::Properties(), {
            Field("Size", &TShape::Size),
            EnumField("Shade", &TShape::Shade, ShadeNames),
            FlagsField("Edges", &TShape::Edges, EdgeNames),
            Part<TShape>("Pen.", TPen::Properties(), [](TShape& s) -> TPen& { return s.Pen; }),
            Field("Lines.Strings", &TShape::Lines),
            Ignored("DesignSize"),
            Event("OnPaint", &TShape::OnPaint),
        });
        return table;
    }
};

// A class adds rows; its base class's rows still apply.
class TBox : public TShape {
public:
    using TShape::TShape;
    bool Filled = false;
    const TPropertyTable<TComponent>& Properties() const override
    {
        static const TPropertyTable<TComponent> table(TShape::Properties(), {Field("Filled", &TBox::Filled)});
        return table;
    }
};

TEST(PropertyTable, RowsOfTheClassAndOfItsBasesSetTheirFields)
{
    TBox box(nullptr);
    EXPECT_TRUE(box.SetProperty("Filled", TIdentifier{"True"}));
    EXPECT_TRUE(box.SetProperty("size", int64_t{7})) << "names match in any letter case";
    EXPECT_TRUE(box.SetProperty("Shade", TIdentifier{"SHDARK"}));
    EXPECT_TRUE(box.SetProperty("Edges", TSetValue{{"edLeft", "edRight"}}));
    EXPECT_TRUE(box.SetProperty("Pen.Width", int64_t{3}));
    EXPECT_TRUE(box.SetProperty("Lines.Strings", TStringListValue{{"a", "b"}}));
    EXPECT_TRUE(box.SetProperty("DesignSize", TSetValue{{"anything"}}));
    EXPECT_TRUE(box.SetProperty("Name", std::string("Box1")));
    EXPECT_TRUE(box.Filled);
    EXPECT_EQ(box.Size, 7);
    EXPECT_EQ(box.Shade, TShade::shDark);
    EXPECT_EQ(box.Edges, unsigned{edLeft | edRight});
    EXPECT_EQ(box.Pen.Width, 3);
    EXPECT_EQ(box.Lines, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(box.Name(), "Box1");
}

TEST(PropertyTable, UnknownNamesAreRefusedAndUnknownValuesRaise)
{
    TShape shape(nullptr);
    EXPECT_FALSE(shape.SetProperty("Filled", TIdentifier{"True"})) << "a row of a derived class";
    EXPECT_FALSE(shape.SetProperty("Pen.Colour", int64_t{1}));
    EXPECT_FALSE(shape.SetProperty("Pen.", int64_t{1}));
    EXPECT_FALSE(shape.SetProperty("OnPaint", TIdentifier{"Handler"})) << "an event is not a property";
    EXPECT_THROW(shape.SetProperty("Shade", TIdentifier{"shGrey"}), EConvertError);
    EXPECT_THROW(shape.SetProperty("Edges", TSetValue{{"edLeft", "edBottom"}}), EConvertError);
    EXPECT_THROW(shape.SetProperty("Size", std::string("big")), EConvertError);
    EXPECT_EQ(shape.Edges, 0u) << "a refused set leaves the field alone";
}

TEST(PropertyTable, EventsBindHandlers)
{
    TBox box(nullptr);
    int painted = 0;
    EXPECT_TRUE(box.Properties().HasEvent("onpaint"));
    EXPECT_FALSE(box.Properties().HasEvent("Size"));
    EXPECT_TRUE(box.SetEvent("OnPaint", [&](TObject*) { ++painted; }));
    EXPECT_FALSE(box.SetEvent("OnClick", [&](TObject*) {}));
    box.OnPaint(&box);
    EXPECT_EQ(painted, 1);
}

TEST(EnumNames, NamesAndValuesBothWays)
{
    EXPECT_EQ(EnumFromName(ShadeNames, "shlight"), TShade::shLight);
    EXPECT_STREQ(EnumName(ShadeNames, TShade::shDark), "shDark");
    try {
        EnumFromName(ShadeNames, "shGrey");
        FAIL() << "accepted";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Invalid property value: shGrey");
    }
}

std::string AssignError(const std::string& text, const TMethodLookup& methods = nullptr)
{
    const TFormNode root = ParseFormDescription(text);
    TBox box(nullptr);
    try {
        AssignProperties(box, root.Children.at(0), root.Name, methods);
    } catch (const EFormDescriptionError& e) {
        return e.Message();
    }
    return "no error";
}

TEST(FormDescription, AMisspeltPropertyNamesFormComponentPropertyAndLine)
{
    EXPECT_EQ(AssignError("object Form1: TForm1\n"
                          "  object Box1: TBox\n"
                          "    Size = 4\n"
                          "    Fileld = True\n"
                          "  end\n"
                          "end\n"),
              "Form Form1, line 4: Error reading Box1.Fileld: Property Fileld does not exist");
}

TEST(FormDescription, WrongValuesAndMissingHandlersNameTheirLine)
{
    struct Case {
        const char* property;
        const char* expected;
    } cases[] = {
        {"Shade = shGrey", "Form F, line 3: Error reading B.Shade: Invalid property value: shGrey"},
        {"Edges = [edTop, edBotom]", "Form F, line 3: Error reading B.Edges: Invalid property value: edBotom"},
        {"Size = 'big'", "Form F, line 3: Error reading B.Size: Invalid property value: integer expected"},
        {"Pen.Colour = 3", "Form F, line 3: Error reading B.Pen.Colour: Property Pen.Colour does not exist"},
        {"OnPaint = Nothing", "Form F, line 3: Error reading B.OnPaint: Method Nothing not found"},
        {"OnPaint = 'Painted'", "Form F, line 3: Error reading B.OnPaint: Invalid property value: identifier expected"},
        {"OnClick = Painted", "Form F, line 3: Error reading B.OnClick: Property OnClick does not exist"},
    };
    const TMethodLookup methods = [](std::string_view name) {
        return name == "Painted" ? TNotifyEvent([](TObject*) {}) : TNotifyEvent();
    };
    for (const Case& c : cases)
        EXPECT_EQ(AssignError(std::string("object F: TForm\n  object B: TBox\n    ") + c.property + "\n  end\nend\n",
                              methods),
                  c.expected);
}

TEST(FormDescription, AssignedPropertiesAndHandlersReachTheComponent)
{
    const TFormNode root = ParseFormDescription("object F: TForm\n"
                                                "  object B: TBox\n"
                                                "    Filled = True\n"
                                                "    Pen.Style = 'dash'\n"
                                                "    OnPaint = Painted\n"
                                                "  end\n"
                                                "end\n");
    TBox box(nullptr);
    int painted = 0;
    AssignProperties(box, root.Children.at(0), root.Name, [&](std::string_view) {
        return TNotifyEvent([&](TObject*) { ++painted; });
    });
    EXPECT_TRUE(box.Filled);
    EXPECT_EQ(box.Pen.Style, "dash");
    ASSERT_TRUE(box.OnPaint);
    box.OnPaint(&box);
    EXPECT_EQ(painted, 1);
}

} // namespace
} // namespace orbelin
