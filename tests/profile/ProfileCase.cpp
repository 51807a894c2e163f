#include "ProfileCase.h"

namespace fw::testing {

namespace {

// Few names, so that sections and keys repeat often.
const std::vector<std::string> kSections = {"RS232Set", "PATH", "Ports"};
const std::vector<std::string> kKeys = {"COM", "FILE", "x"};
// Around the 1023 characters a value is cut to.
const std::vector<std::size_t> kLongLengths = {1022, 1023, 1024, 1025, 1100, 2000};

class Draw {
public:
    explicit Draw(std::uint32_t seed) : rng_(seed) {}
    // 0 .. n-1; its own arithmetic so a seed draws the same on every library.
    std::size_t below(std::size_t n) { return static_cast<std::size_t>(rng_() % n); }
    bool chance(unsigned percent) { return below(100) < percent; }
    template <class T> const T& pick(const std::vector<T>& items) { return items[below(items.size())]; }

private:
    std::mt19937 rng_;
};

std::string blanks(Draw& d)
{
    static const std::vector<std::string> kinds = {"", "", "", " ", "  ", "\t", " \t "};
    return d.pick(kinds);
}

// A name as a hand-edited file may spell it: any letter case.
std::string spelled(Draw& d, const std::string& name)
{
    std::string out = name;
    if (d.chance(30))
        for (char& c : out)
            if (d.chance(50)) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : (c >= 'A' && c <= 'Z' ? c + 32 : c));
    return out;
}

std::string eightBitText(Draw& d, std::size_t length)
{
    std::string out;
    for (std::size_t i = 0; i < length; ++i) out += static_cast<char>(0x80 + d.below(0x80));
    return out;
}

std::string plainText(Draw& d, std::size_t length)
{
    static const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789/\\:._-";
    std::string out;
    for (std::size_t i = 0; i < length; ++i) out += letters[d.below(letters.size())];
    return out;
}

// A value without CR or LF.
std::string value(Draw& d)
{
    switch (d.below(12)) {
    case 0: return "";
    case 1: return "\"" + plainText(d, d.below(12)) + "\"";
    case 2: return "'" + plainText(d, d.below(12)) + "'";
    case 3: return "\"" + plainText(d, 1 + d.below(8));  // an unmatched quote
    case 4: return "\"" + plainText(d, d.below(6)) + "'";
    case 5: return plainText(d, d.pick(kLongLengths));
    case 6: return eightBitText(d, 1 + d.below(10));
    case 7: return plainText(d, 3) + d.pick(std::vector<std::string>{"=", ";", "[", "]", "#", "\t", "  "}) + plainText(d, 3);
    case 8: return "\"" + plainText(d, d.pick(kLongLengths)) + "\"";
    case 9: return plainText(d, 1) + " " + plainText(d, 4) + " " + plainText(d, 1);
    default: return plainText(d, 1 + d.below(20));
    }
}

// The lines of one file. Only some files name a section twice or hold a key
// without "=", since Windows reads those differently (see docs/windows.md), and
// they would hide every other difference in the file.
class FileLines {
public:
    explicit FileLines(Draw& d) : d_(d), repeatSections_(d.chance(25)), bareKeys_(d.chance(25)) {}

    std::string next()
    {
        switch (d_.below(20)) {
        case 0: return "";
        case 1: return ";" + plainText(d_, d_.below(20));
        case 2: return bareKeys_ ? blanks(d_) + spelled(d_, d_.pick(kKeys)) : "";
        case 3: return eightBitText(d_, 1 + d_.below(20));
        case 4: return section() + blanks(d_) + "; " + plainText(d_, 4);
        case 5:
        case 6: return section() + blanks(d_);
        default: return blanks(d_) + spelled(d_, d_.pick(kKeys)) + blanks(d_) + "=" + blanks(d_) + value(d_) + blanks(d_);
        }
    }

private:
    std::string section()
    {
        const std::size_t i = d_.below(kSections.size());
        if (used_.size() < kSections.size()) used_.resize(kSections.size());
        if (used_[i] && !repeatSections_) return ";";
        used_[i] = true;
        return "[" + blanks(d_) + spelled(d_, kSections[i]) + blanks(d_) + "]";
    }

    Draw& d_;
    bool repeatSections_;
    bool bareKeys_;
    std::vector<bool> used_;
};

} // namespace

ProfileCase generateProfileCase(std::uint32_t seed)
{
    Draw d(seed);
    ProfileCase c;
    c.sections = kSections;
    c.sections.push_back("Missing");
    c.keys = kKeys;
    const bool crlf = d.chance(50);
    if (d.chance(10)) c.content += "\xEF\xBB\xBF";
    FileLines file(d);
    const std::size_t lines = d.below(25);
    for (std::size_t i = 0; i < lines; ++i) {
        c.content += file.next();
        if (i + 1 < lines || d.chance(80)) c.content += (crlf || d.chance(5)) ? "\r\n" : "\n";
    }
    c.writeSection = d.chance(90) ? d.pick(kSections) : "New";
    c.writeKey = d.pick(kKeys);
    c.writeValue = blanks(d) + value(d) + blanks(d);
    return c;
}

} // namespace fw::testing
