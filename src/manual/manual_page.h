#pragma once
// What a program tells about itself, held once: its --help (or `help`) text
// and its manual page are both printed from these tables, so that the two
// cannot drift apart.
//
// Texts are plain: paragraphs are separated by an empty line, a line that
// starts with "- " is an item of a list, and a paragraph that starts with two
// spaces is shown as it stands (an example). In a synopsis a word that starts
// with "--" is an option, an upper-case word a value to fill in.

#include <string>
#include <vector>

namespace kalvera::manual {

struct Option {
    const char* synopsis;  // "--side PX"
    const char* text;
};

struct Command {
    const char* name;
    const char* synopsis;  // the arguments after the command's name
    const char* summary;   // one line for the list of commands
    const char* text;
    std::vector<Option> options;
};

struct Section {
    const char* title;  // "EXIT STATUS"
    const char* text;
};

struct Page {
    const char* program;
    const char* summary;   // the NAME line after "program - "
    const char* synopsis;  // the arguments after the program's name
    const char* text;      // DESCRIPTION
    std::vector<Command> commands;
    std::vector<Option> options;
    std::vector<Section> sections;  // after COMMANDS and OPTIONS
};

const Page& ViewerPage();
const Page& CliPage();
const Page& DemoPage();

const Command* FindCommand(const Page& page, const std::string& name);

// What --help prints: the synopsis, the commands with their synopses or the
// options with their texts.
std::string UsageText(const Page& page);
// What `kalvera-cli help COMMAND` prints: its synopsis, text and options.
std::string CommandUsageText(const Page& page, const Command& command);
// The manual page in roff with the man macros; `version` goes in its footer.
std::string ManPage(const Page& page, const std::string& version);

}  // namespace kalvera::manual
