// The POSIX form of text-mode output: what a Windows program's streams hold, with the line
// ends a POSIX build writes.
#pragma once

#include <string>
#include <vector>

namespace fexpr::testing {

inline std::string replace_all(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

// Text-mode output in the POSIX form: CR LF becomes LF.
inline std::string posix_line_ends(const std::string& text) {
    return replace_all(text, "\r\n", "\n");
}

/* Standard error in the POSIX form: CR LF becomes LF, except around a math error line (an
 * empty line, then a line ending in " error"), which the program writes as CR LF, the
 * message, CR LF on both systems. */
inline std::string posix_error_line_ends(const std::string& text) {
    const std::string posix = posix_line_ends(text);
    std::vector<std::string> lines;  // without their LF
    std::size_t start = 0;
    for (std::size_t end = posix.find('\n'); end != std::string::npos;
         start = end + 1, end = posix.find('\n', start)) {
        lines.push_back(posix.substr(start, end - start));
    }
    const auto is_report = [](const std::string& line) {
        return line.size() > 6 && line.compare(line.size() - 6, 6, " error") == 0;
    };
    std::string form;
    for (std::size_t index = 0; index < lines.size(); ++index) {
        if (lines[index].empty() && index + 1 < lines.size() && is_report(lines[index + 1])) {
            form += "\r\n" + lines[++index] + "\r\n";
        } else {
            form += lines[index] + "\n";
        }
    }
    return form + posix.substr(start);
}

}  // namespace fexpr::testing
