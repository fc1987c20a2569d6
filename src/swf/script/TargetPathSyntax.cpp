#include "swf/script/TargetPathSyntax.h"

namespace swf::script {

namespace {

bool IsSeparator(char c) {
    return c == '/' || c == ':' || c == '.';
}

} // namespace

std::optional<std::vector<PathStep>> ParseTargetPath(std::string_view path) {
    std::vector<PathStep> steps;
    const std::size_t size = path.size();
    std::size_t at = 0;
    bool slashSyntax = false;
    if (!path.empty() && path[0] == '/') {
        steps.push_back({PathStepKind::Root, {}});
        slashSyntax = true;
        at = 1;
    }
    while (at < size) {
        const char c = path[at];
        // Colons where a step starts are skipped, unless the colon is all
        // the step there is: then it is a name.
        if (c == ':' && at + 1 < size && path[at + 1] != '/') {
            ++at;
            continue;
        }
        const bool climbs = path.substr(at, 2) == ".." &&
                            (at + 2 == size || path[at + 2] == '/' || path[at + 2] == ':') &&
                            !(at > 0 && path[at - 1] == '.');
        if (climbs) {
            steps.push_back({PathStepKind::Parent, {}});
            slashSyntax = true;
            at += 2;
        } else if (c == '/') {
            return std::nullopt;
        } else {
            // A name that starts with '.' or ':' keeps its dots.
            const bool dotsEnd = !slashSyntax && c != '.' && c != ':';
            std::size_t end = at + 1;
            while (end < size && path[end] != '/' && path[end] != ':' &&
                   (!dotsEnd || path[end] != '.')) {
                ++end;
            }
            steps.push_back({PathStepKind::Named, path.substr(at, end - at)});
            at = end;
        }
        if (at < size) {
            slashSyntax = slashSyntax || path[at] == '/';
            ++at;
        }
    }
    return steps;
}

VariableReference SplitVariableName(std::string_view text) {
    VariableReference reference;
    bool hasSeparator = false;
    for (const char c : text) {
        hasSeparator = hasSeparator || IsSeparator(c);
    }
    if (!hasSeparator) {
        reference.variable = text;
        return reference;
    }
    reference.plain = false;
    const std::size_t split = text.find_last_of(":.");
    if (split == std::string_view::npos) {
        reference.pathOnly = true;
        reference.holderPath = text;
        return reference;
    }
    reference.holderPath = text.substr(0, split);
    reference.variable = text.substr(split + 1);
    return reference;
}

} // namespace swf::script
