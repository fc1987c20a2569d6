// How the device's shell turns a document into a program to start: the
// command a file class gives, with the document's path put in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace sim {

struct ShellCommand {
    std::u16string program;
    std::u16string commandLine;
    bool operator==(const ShellCommand&) const = default;
};

// A class's command ("\"\Program Files\Vantrel\Vantrel.exe\" %1") for a
// document: every "%1" becomes the document's path as it stands, "%%" a
// percent sign; the program is the first word, or the text in the double
// quotes that open the command, and the command line the rest after the
// blanks that follow it. Nothing for a command without a program.
std::optional<ShellCommand> CommandForDocument(std::u16string_view command,
                                               std::u16string_view document);

} // namespace sim
