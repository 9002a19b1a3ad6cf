#include "base/FormDescription.h"

#include "base/AnsiText.h"
#include "base/Format.h"
#include "base/PropertyTable.h"

#include <cctype>

namespace orbelin {

namespace {

class TFormParser {
public:
    explicit TFormParser(std::string_view text) : FText(text) {}

    TFormNode ParseRoot()
    {
        SkipSpace();
        TFormNode root = ParseObject();
        SkipSpace();
        if (!AtEnd())
            Fail("text after the last 'end'");
        return root;
    }

private:
    static constexpr int kMaxDepth = 64;

    [[noreturn]] void Fail(const std::string& what) const
    {
        throw EFormDescriptionError(Format("Form description line %d: %s", FLine, what.c_str()));
    }

    bool AtEnd() const { return FPos >= FText.size(); }
    char Peek() const { return AtEnd() ? '\0' : FText[FPos]; }

    char Next()
    {
        const char c = FText[FPos++];
        if (c == '\n')
            ++FLine;
        return c;
    }

    void SkipSpace()
    {
        while (!AtEnd()) {
            const char c = Peek();
            if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
                Next();
            else if (c == '/' && FPos + 1 < FText.size() && FText[FPos + 1] == '/')
                while (!AtEnd() && Peek() != '\n')
                    Next();
            else
                break;
        }
    }

    static bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
    static bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'; }

    std::string Identifier()
    {
        SkipSpace();
        if (!IsIdentStart(Peek()))
            Fail("identifier expected");
        const size_t start = FPos;
        while (!AtEnd() && IsIdentChar(Peek()))
            Next();
        return std::string(FText.substr(start, FPos - start));
    }

    void Expect(char c)
    {
        SkipSpace();
        if (Peek() != c)
            Fail(Format("'%c' expected", c));
        Next();
    }

    TFormNode ParseObject()
    {
        if (++FDepth > kMaxDepth)
            Fail("objects nested too deeply");
        TFormNode node;
        node.Line = FLine;
        if (Identifier() != "object")
            Fail("'object' expected");
        node.Name = Identifier();
        Expect(':');
        node.ClassName = Identifier();
        for (;;) {
            SkipSpace();
            if (AtEnd())
                Fail("'end' expected");
            const size_t mark = FPos;
            const int markLine = FLine;
            const std::string word = Identifier();
            if (word == "end")
                break;
            if (word == "object") {
                FPos = mark;
                FLine = markLine;
                node.Children.push_back(ParseObject());
                continue;
            }
            const int line = FLine;
            Expect('=');
            node.Properties.push_back({word, ParseValue(), line});
        }
        --FDepth;
        return node;
    }

    TPropertyValue ParseValue()
    {
        SkipSpace();
        const char c = Peek();
        if (c == '\'' || c == '#')
            return ParseString();
        if (c == '-' || c == '+' || std::isdigit(static_cast<unsigned char>(c)))
            return ParseNumber();
        if (c == '[')
            return ParseSet();
        if (c == '(')
            return ParseList();
        if (c == '{')
            return ParseBinary();
        if (IsIdentStart(c))
            return TIdentifier{Identifier()};
        Fail("property value expected");
    }

    std::string ParseString()
    {
        std::string out;
        SkipSpace();
        for (;;) {
            if (Peek() == '\'') {
                Next();
                for (;;) {
                    if (AtEnd() || Peek() == '\n')
                        Fail("unterminated string");
                    const char ch = Next();
                    if (ch == '\'') {
                        if (Peek() == '\'') {
                            Next();
                            out += '\'';
                            continue;
                        }
                        break;
                    }
                    out += ch;
                }
            } else if (Peek() == '#') {
                Next();
                const size_t start = FPos;
                while (std::isdigit(static_cast<unsigned char>(Peek())))
                    Next();
                const int code = StrToIntDef(FText.substr(start, FPos - start), -1);
                if (code < 0 || code > 255)
                    Fail("character code 0..255 expected after '#'");
                out += static_cast<char>(code);
            } else {
                break;
            }
            // Pieces written together join ('a'#13#10'b'); so does a '+'
            // between pieces. Pieces apart are separate values (list items).
            if (Peek() == '\'' || Peek() == '#')
                continue;
            const size_t mark = FPos;
            const int markLine = FLine;
            SkipSpace();
            if (Peek() != '+') {
                FPos = mark;
                FLine = markLine;
                break;
            }
            Next();
            SkipSpace();
            if (Peek() != '\'' && Peek() != '#')
                Fail("string expected after '+'");
        }
        return out;
    }

    TPropertyValue ParseNumber()
    {
        const size_t start = FPos;
        if (Peek() == '-' || Peek() == '+')
            Next();
        bool isFloat = false;
        while (!AtEnd() && (std::isdigit(static_cast<unsigned char>(Peek())) || Peek() == '.')) {
            isFloat |= Peek() == '.';
            Next();
        }
        const std::string text(FText.substr(start, FPos - start));
        if (isFloat) {
            try {
                return std::stod(text);
            } catch (const std::exception&) {
                Fail("bad number '" + text + "'");
            }
        }
        int64_t v = 0;
        if (!TryStrToInt64(text, v))
            Fail("bad number '" + text + "'");
        return v;
    }

    TSetValue ParseSet()
    {
        Expect('[');
        TSetValue set;
        SkipSpace();
        while (Peek() != ']') {
            set.Members.push_back(Identifier());
            SkipSpace();
            if (Peek() == ',')
                Next();
            else if (Peek() != ']')
                Fail("',' or ']' expected");
            SkipSpace();
        }
        Next();
        return set;
    }

    TStringListValue ParseList()
    {
        Expect('(');
        TStringListValue list;
        SkipSpace();
        while (Peek() != ')') {
            if (AtEnd())
                Fail("')' expected");
            if (Peek() != '\'' && Peek() != '#')
                Fail("string expected in list");
            list.Items.push_back(ParseString());
            SkipSpace();
        }
        Next();
        return list;
    }

    TBinaryValue ParseBinary()
    {
        Expect('{');
        TBinaryValue bin;
        int high = -1;
        for (;;) {
            SkipSpace();
            if (AtEnd())
                Fail("'}' expected");
            const char c = Next();
            if (c == '}')
                break;
            int digit;
            if (c >= '0' && c <= '9')
                digit = c - '0';
            else if (c >= 'A' && c <= 'F')
                digit = c - 'A' + 10;
            else if (c >= 'a' && c <= 'f')
                digit = c - 'a' + 10;
            else
                Fail("hexadecimal digit expected");
            if (high < 0) {
                high = digit;
            } else {
                bin.Bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
                high = -1;
            }
        }
        if (high >= 0)
            Fail("odd number of hexadecimal digits");
        return bin;
    }

    std::string_view FText;
    size_t FPos = 0;
    int FLine = 1;
    int FDepth = 0;
};

} // namespace

const TPropertyValue* TFormNode::Find(std::string_view property) const
{
    for (const TFormProperty& p : Properties)
        if (SameText(p.Name, property))
            return &p.Value;
    return nullptr;
}

TFormNode ParseFormDescription(std::string_view text) { return TFormParser(text).ParseRoot(); }

EFormDescriptionError FormDescriptionError(std::string_view form, int line, std::string_view what)
{
    return EFormDescriptionError("Form " + std::string(form) + ", line " + IntToStr(line) + ": " + std::string(what));
}

void AssignProperties(TComponent& component, const TFormNode& node, std::string_view form,
                      const TMethodLookup& findMethod)
{
    for (const TFormProperty& p : node.Properties) {
        const auto fail = [&](const std::string& what) {
            return FormDescriptionError(form, p.Line, "Error reading " + node.Name + "." + p.Name + ": " + what);
        };
        // Only conversion errors are the description's fault; anything else
        // a setter raises (a damaged skin archive, say) keeps its own class.
        try {
            if (component.Properties().HasEvent(p.Name)) {
                const std::string& method = p.Value.AsIdentifier();
                TNotifyEvent handler = findMethod ? findMethod(method) : TNotifyEvent();
                if (!handler)
                    throw fail("Method " + method + " not found");
                component.SetEvent(p.Name, std::move(handler));
            } else if (!component.SetProperty(p.Name, p.Value)) {
                throw fail("Property " + p.Name + " does not exist");
            }
        } catch (const EConvertError& e) {
            throw fail(e.Message());
        }
    }
}

} // namespace orbelin
