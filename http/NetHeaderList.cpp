#include "http/NetHeaderList.h"

#include "base/AnsiText.h"

namespace orbelin {

namespace {
constexpr std::string_view kBreakString = "\r\n ";

bool IsBreakChar(char c) { return c == ' ' || c == '\t' || c == ','; }
} // namespace

std::string TNetHeaderList::NameDelimiter() const
{
    std::string d = TrimRight(Separator);
    return d.empty() ? Separator : d;
}

bool TNetHeaderList::IsContinuation(const std::string& line)
{
    return !line.empty() && (line[0] == ' ' || line[0] == '\t');
}

std::string TNetHeaderList::LineName(int index) const
{
    const std::string& line = (*this)[index];
    const size_t at = line.find(NameDelimiter());
    return at == std::string::npos ? std::string() : line.substr(0, at);
}

int TNetHeaderList::FindName(std::string_view name) const
{
    for (int i = 0; i < Count(); ++i)
        if (SameText(LineName(i), name))
            return i;
    return -1;
}

std::string TNetHeaderList::ValueOfLine(int index) const
{
    if (index < 0 || index >= Count())
        return {};
    const std::string& line = (*this)[index];
    // The value starts one past the delimiter, with or without a blank there.
    std::string value = Copy(line, static_cast<int>(LineName(index).size()) + 2, static_cast<int>(line.size()));
    if (JoinFolded)
        for (int i = index + 1; i < Count() && IsContinuation((*this)[i]); ++i)
            value = Trim(value) + " " + Trim((*this)[i]);
    return Trim(value);
}

std::string TNetHeaderList::ValueOf(std::string_view name) const { return ValueOfLine(FindName(name)); }

void TNetHeaderList::DeleteContinuations(int index)
{
    while (index + 1 < Count() && IsContinuation((*this)[index + 1]))
        Delete(index + 1);
}

void TNetHeaderList::PutValue(std::string_view name, std::string_view value)
{
    int i = FindName(name);
    if (value.empty()) {
        if (i >= 0) {
            if (FoldOnWrite)
                DeleteContinuations(i);
            Delete(i);
        }
        return;
    }
    if (i < 0)
        i = Add({});
    std::string line = std::string(name) + Separator + std::string(value);
    if (!FoldOnWrite) {
        (*this)[i] = std::move(line);
        return;
    }
    DeleteContinuations(i);
    std::vector<std::string> pieces = FoldLine(line, FoldWidth);
    (*this)[i] = pieces.front();
    for (size_t k = 1; k < pieces.size(); ++k)
        Insert(i + static_cast<int>(k), pieces[k]);
}

void TNetHeaderList::ExtractValues(std::string_view name, TStrings* dest) const
{
    if (!dest)
        return;
    for (int i = 0; i < Count(); ++i)
        if (SameText(LineName(i), name))
            dest->Add(ValueOfLine(i));
}

std::vector<std::string> TNetHeaderList::FoldLine(std::string_view line, int width)
{
    std::string folded;
    const size_t n = line.size();
    size_t pieceStart = 0;
    size_t i = 0;
    long long lastBreak = -1; // last break character outside quotes in this piece
    int column = 1;
    bool quoted = false;
    while (i < n) {
        if (!quoted && i + kBreakString.size() <= n && SameText(line.substr(i, kBreakString.size()), kBreakString)) {
            // An existing fold stays as it is.
            i += kBreakString.size();
            folded.append(line.substr(pieceStart, i - pieceStart));
            pieceStart = i;
            lastBreak = -1;
            column = 1;
            continue;
        }
        if (!quoted && column > width && lastBreak >= static_cast<long long>(pieceStart)) {
            const size_t cut = static_cast<size_t>(lastBreak) + 1;
            size_t next = cut;
            while (next < n && (IsBreakChar(line[next]) || line[next] == '\r' || line[next] == '\n'))
                ++next;
            folded.append(line.substr(pieceStart, cut - pieceStart));
            if (n - next > 1)
                folded.append(kBreakString);
            pieceStart = cut; // the next piece starts right after the break character
            i = next;
            lastBreak = -1;
            column = 1;
            continue;
        }
        const char c = line[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < n) {
            i += 2;
            column += 2;
            continue;
        } else if (!quoted && IsBreakChar(c)) {
            lastBreak = static_cast<long long>(i);
        }
        ++i;
        ++column;
    }
    folded.append(line.substr(pieceStart));

    std::vector<std::string> pieces;
    size_t start = 0;
    while (true) {
        const size_t at = folded.find("\r\n", start);
        pieces.push_back(TrimRight(std::string_view(folded).substr(start, at == std::string::npos ? std::string::npos : at - start)));
        if (at == std::string::npos)
            break;
        start = at + 2;
    }
    return pieces;
}

} // namespace orbelin
