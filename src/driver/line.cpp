#include "driver/line.hpp"

#include <cstring>

#include "text/text.hpp"

namespace bytesmith {

NumericOutcome translate_line(char* line, std::size_t len, ByteSink& out) {
    line[len] = '\0';
    // A zero byte ends the line's content; what follows it is never looked at.
    std::size_t content = std::strlen(line);
    const char* tab = static_cast<const char*>(memrchr(line, '\t', content));
    const char* field = tab ? tab + 1 : line;
    std::size_t field_len = content - static_cast<std::size_t>(field - line);
    if (field_len >= 2 && field[0] == '\\' && field[1] == '#') {
        return translate_numbers(field + 2, field_len - 2, out);
    }
    translate_text(field, field_len, out);
    return {NumericStatus::done, nullptr};
}

} // namespace bytesmith
