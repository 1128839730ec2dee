#include "manual/manual_page.h"

#include <cctype>
#include <sstream>

namespace kalvera::manual {

namespace {

constexpr size_t kTextWidth = 79;

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end - start));
        if (end == std::string::npos) return parts;
        start = end + separator.size();
    }
}

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// A synopsis in words that a line is not broken within: an option stays
// with the value it takes.
std::vector<std::string> SynopsisUnits(const std::string& synopsis) {
    std::vector<std::string> units;
    for (const std::string& word : Words(synopsis)) {
        const bool takesThis = !units.empty() && units.back().find("--") != std::string::npos &&
                               units.back().find(' ') == std::string::npos &&
                               units.back().back() != ']' && word.front() != '[' &&
                               word.rfind("--", 0) != 0;
        if (takesThis)
            units.back() += " " + word;
        else
            units.push_back(word);
    }
    return units;
}

// `words` filled into lines of kTextWidth, the first starting with `first`
// and the rest indented by `indent` spaces.
std::string Filled(const std::vector<std::string>& words, const std::string& first, size_t indent) {
    std::string out = first, line = first;
    bool lineEmpty = true;
    for (const std::string& word : words) {
        if (!lineEmpty && line.size() + 1 + word.size() > kTextWidth) {
            out += "\n" + std::string(indent, ' ');
            line = std::string(indent, ' ');
            lineEmpty = true;
        }
        const std::string piece = lineEmpty ? word : " " + word;
        out += piece;
        line += piece;
        lineEmpty = false;
    }
    return out + "\n";
}

std::string Filled(const std::string& text, const std::string& first, size_t indent) {
    return Filled(Words(text), first, indent);
}

// Paragraphs of `text` for a terminal, indented by `indent` spaces.
std::string PlainParagraphs(const char* text, size_t indent) {
    std::string out;
    const std::string margin(indent, ' ');
    for (const std::string& paragraph : Split(text, "\n\n")) {
        if (!out.empty()) out += "\n";
        if (paragraph.rfind("  ", 0) == 0) {
            for (const std::string& line : Split(paragraph, "\n")) out += margin + line + "\n";
        } else if (paragraph.rfind("- ", 0) == 0) {
            for (const std::string& item : Split(paragraph.substr(2), "\n- ")) {
                out += Filled(item, margin + "- ", indent + 2);
            }
        } else {
            out += Filled(paragraph, margin, indent);
        }
    }
    return out;
}

// Backslashes and hyphens as roff wants them in text.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    return out;
}

// A line of running text; option names are set in bold, and a line that
// would read as a request is kept as text.
std::string RoffLine(const std::string& text) {
    std::string out;
    for (const std::string& word : Words(text)) {
        if (!out.empty()) out += ' ';
        if (word.rfind("--", 0) != 0) {
            out += Escaped(word);
            continue;
        }
        size_t end = word.size();
        while (end > 2 && std::string(",.;:)").find(word[end - 1]) != std::string::npos) --end;
        out += "\\fB" + Escaped(word.substr(0, end)) + "\\fR" + Escaped(word.substr(end));
    }
    if (!out.empty() && (out.front() == '.' || out.front() == '\'')) out = "\\&" + out;
    return out + "\n";
}

// Options in bold, values to fill in in italics, brackets and bars plain.
std::string RoffSynopsis(const std::string& synopsis) {
    std::string out;
    for (const std::string& unit : SynopsisUnits(synopsis)) {
        // An option and its value are kept on one line.
        const size_t space = unit.find(' ');
        if (space != std::string::npos) {
            out += (out.empty() ? "" : " ") + RoffSynopsis(unit.substr(0, space)) + "\\ " +
                   RoffSynopsis(unit.substr(space + 1));
            continue;
        }
        const std::string& word = unit;
        size_t begin = 0, end = word.size();
        while (begin < end && word[begin] == '[') ++begin;
        while (end > begin && word[end - 1] == ']') --end;
        const std::string core = word.substr(begin, end - begin);
        const bool value = !core.empty() && std::isupper(static_cast<unsigned char>(core[0]));
        if (!out.empty()) out += ' ';
        out += word.substr(0, begin);
        if (!core.empty()) out += (value ? "\\fI" : "\\fB") + Escaped(core) + "\\fR";
        out += word.substr(end);
    }
    return out;
}

// Paragraphs in roff. Inside a tagged paragraph the later ones keep its indent.
std::string RoffParagraphs(const char* text, bool tagged) {
    std::string out;
    bool first = true;
    for (const std::string& paragraph : Split(text, "\n\n")) {
        if (!first || !tagged) out += tagged ? ".IP\n" : ".PP\n";
        first = false;
        if (paragraph.rfind("  ", 0) == 0) {
            out += ".nf\n";
            for (const std::string& line : Split(paragraph, "\n")) {
                const std::string shown = line.size() > 2 ? line.substr(2) : std::string();
                out += (shown.rfind('.', 0) == 0 || shown.rfind('\'', 0) == 0 ? "\\&" : "") +
                       Escaped(shown) + "\n";
            }
            out += ".fi\n";
        } else if (paragraph.rfind("- ", 0) == 0) {
            for (const std::string& item : Split(paragraph.substr(2), "\n- ")) {
                out += ".IP \\(bu 2\n" + RoffLine(item);
            }
        } else {
            out += RoffLine(paragraph);
        }
    }
    return out;
}

std::string RoffOptions(const std::vector<Option>& options) {
    std::string out;
    for (const Option& option : options) {
        out += ".TP\n" + RoffSynopsis(option.synopsis) + "\n" + RoffParagraphs(option.text, true);
    }
    return out;
}

std::string Upper(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

const Command* FindCommand(const Page& page, const std::string& name) {
    for (const Command& command : page.commands) {
        if (name == command.name) return &command;
    }
    return nullptr;
}

namespace {

std::string PlainOptions(const std::vector<Option>& options) {
    if (options.empty()) return {};
    std::string out = "\noptions:\n";
    for (const Option& option : options) {
        out += "  " + std::string(option.synopsis) + "\n" + PlainParagraphs(option.text, 6);
    }
    return out;
}

}  // namespace

std::string UsageText(const Page& page) {
    const std::string program = page.program;
    std::string out = Filled(SynopsisUnits(page.synopsis), "usage: " + program + " ", 8);
    if (page.commands.empty()) {
        out += "\n" + PlainParagraphs(page.text, 0);
    } else {
        out += "\n";
        for (const Command& command : page.commands) {
            out += Filled(SynopsisUnits(command.synopsis),
                          "  " + program + " " + command.name + " ", 8);
            out += Filled(command.summary, "      ", 6);
        }
    }
    return out + PlainOptions(page.options);
}

std::string CommandUsageText(const Page& page, const Command& command) {
    std::string out = Filled(SynopsisUnits(command.synopsis),
                             "usage: " + std::string(page.program) + " " + command.name + " ", 8);
    out += "\n" + PlainParagraphs(command.text, 0);
    return out + PlainOptions(command.options);
}

std::string ManPage(const Page& page, const std::string& version) {
    const std::string program = page.program;
    std::string out = ".TH " + Escaped(Upper(program)) + " 1 \"\" \"Kalvera " + version +
                      "\" \"User Commands\"\n";
    out += ".SH NAME\n" + Escaped(program) + " \\- " + Escaped(page.summary) + "\n";
    // Ragged and unhyphenated, so that options and their values read as written.
    out += ".SH SYNOPSIS\n.nh\n.ad l\n";
    if (page.commands.empty())
        out += "\\fB" + Escaped(program) + "\\fR " + RoffSynopsis(page.synopsis) + "\n";
    for (const Command& command : page.commands) {
        out += "\\fB" + Escaped(program + " " + command.name) + "\\fR " +
               RoffSynopsis(command.synopsis) + "\n.br\n";
    }
    out += ".ad\n.hy\n";
    out += ".SH DESCRIPTION\n" + RoffParagraphs(page.text, false);
    if (!page.commands.empty()) out += ".SH COMMANDS\n";
    for (const Command& command : page.commands) {
        out += ".SS " + Escaped(command.name) + "\n" + RoffParagraphs(command.text, false);
        out += RoffOptions(command.options);
    }
    if (!page.options.empty()) out += ".SH OPTIONS\n" + RoffOptions(page.options);
    for (const Section& section : page.sections) {
        out += ".SH " + Escaped(section.title) + "\n" + RoffParagraphs(section.text, false);
    }
    return out;
}

}  // namespace kalvera::manual
