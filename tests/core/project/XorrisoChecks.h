#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <set>
#include <string>

namespace zv::test {

// A text as one word of /bin/sh.
inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

// What a shell command writes on its standard output; its exit status in `status`.
inline std::string Output(const std::string& command, int* status = nullptr) {
    std::string text;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[4096];
    for (size_t got; pipe && (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        text.append(buffer, got);
    const int ended = pipe ? pclose(pipe) : -1;
    if (status)
        *status = WIFEXITED(ended) ? WEXITSTATUS(ended) : -1;
    return text;
}

// The files of an ISO image as `xorriso -find / -type f` lists them, each
// without its leading "/"; xorriso quotes each name as the shell would.
inline std::set<std::string> IsoFiles(const std::string& image) {
    const std::string listing =
        Output("xorriso -no_rc -indev " + Quoted(image) + " -find / -type f 2>/dev/null");
    std::set<std::string> files;
    std::string name;
    char quote = 0;
    for (const char c : listing) {
        if (quote != 0 && c == quote) {
            quote = 0;
        } else if (quote == 0 && (c == '\'' || c == '"')) {
            quote = c;
        } else if (quote == 0 && c == '\n') {
            files.insert(name.substr(name.rfind('/', 0) == 0 ? 1 : 0));
            name.clear();
        } else {
            name += c;
        }
    }
    return files;
}

}  // namespace zv::test
