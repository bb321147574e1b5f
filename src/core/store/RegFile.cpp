#include "core/store/RegFile.h"

#include <cstdint>

#include "core/store/KeyPath.h"

namespace tavrin {
namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::uint32_t kDwordType = 4;
constexpr std::size_t kWrapColumn = 78;

// Splits the text into lines (LF or CR LF) and lets the value reader pull continuation lines.
class LineReader {
  public:
    explicit LineReader(std::string_view text) : text_(text) {
        if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
    }
    bool next(std::string_view& line) {
        std::size_t after = 0;
        if (!look(line, after)) return false;
        pos_ = after;
        ++number_;
        return true;
    }
    // The next line without taking it.
    bool peek(std::string_view& line) const {
        std::size_t after = 0;
        return look(line, after);
    }
    std::size_t number() const { return number_; }

  private:
    bool look(std::string_view& line, std::size_t& after) const {
        if (pos_ > text_.size() || (pos_ == text_.size() && number_ > 0)) return false;
        if (text_.empty()) return false;
        std::size_t end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        after = end + 1;
        return true;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t number_ = 0;
};

// A line that goes on a hex value: hex digits, commas and blanks, perhaps ending in another backslash.
// Anything else (a key header, the next value, a blank line) is read as a line of its own.
bool isHexContinuation(std::string_view line) {
    line = trim(line);
    if (!line.empty() && line.back() == '\\') line.remove_suffix(1);
    if (trim(line).empty()) return false;
    for (char c : line)
        if (c != ',' && c != ' ' && c != '\t' && !hexDigit(c)) return false;
    return true;
}

// Reads a quoted text at the start of `s` (which begins with '"'); `s` is left after the closing quote.
bool readQuoted(std::string_view& s, std::string& out) {
    out.clear();
    std::size_t i = 1;
    // Most texts hold no backslash: copied in one piece.
    const std::size_t stop = s.find_first_of("\"\\", 1);
    if (stop != std::string_view::npos && s[stop] == '"') {
        out.assign(s.substr(1, stop - 1));
        s.remove_prefix(stop + 1);
        return true;
    }
    while (i < s.size()) {
        const char c = s[i];
        if (c == '"') {
            s.remove_prefix(i + 1);
            return true;
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == '\\' || s[i + 1] == '"')) {
            out += s[i + 1];
            i += 2;
            continue;
        }
        out += c;
        ++i;
    }
    return false;
}

bool readHexBytes(std::string_view list, std::string& out) {
    out.clear();
    while (!list.empty()) {
        std::size_t comma = list.find(',');
        std::string_view token = trim(list.substr(0, comma));
        list = comma == std::string_view::npos ? std::string_view() : list.substr(comma + 1);
        if (token.empty()) continue;
        if (token.size() > 2) return false;
        int value = 0;
        for (char c : token) {
            const std::optional<int> d = hexDigit(c);
            if (!d) return false;
            value = value * 16 + *d;
        }
        out += static_cast<char>(value);
    }
    return true;
}

// Reads the data part of a value line (after '='). Hex data may go on over following lines.
bool readData(std::string_view data, LineReader& lines, ValueType& type, std::string& out) {
    if (!data.empty() && data.front() == '"') {
        if (!readQuoted(data, out)) return false;
        type = ValueType::String;
        return trim(data).empty();
    }
    if (data.substr(0, 6) == "dword:") {
        std::string_view digits = trim(data.substr(6));
        if (digits.empty() || digits.size() > 8) return false;
        std::uint32_t number = 0;
        for (char c : digits) {
            const std::optional<int> d = hexDigit(c);
            if (!d) return false;
            number = number * 16 + static_cast<std::uint32_t>(*d);
        }
        out.clear();
        for (int i = 0; i < 4; ++i) out += static_cast<char>((number >> (8 * i)) & 0xFF);
        type = static_cast<ValueType>(kDwordType);
        return true;
    }
    if (data.substr(0, 3) != "hex") return false;
    data.remove_prefix(3);
    std::uint32_t typeNumber = static_cast<std::uint32_t>(ValueType::Binary);
    if (!data.empty() && data.front() == '(') {
        const std::size_t close = data.find(')');
        if (close == std::string_view::npos || close == 1 || close > 9) return false;
        typeNumber = 0;
        for (char c : data.substr(1, close - 1)) {
            const std::optional<int> d = hexDigit(c);
            if (!d) return false;
            typeNumber = typeNumber * 16 + static_cast<std::uint32_t>(*d);
        }
        data.remove_prefix(close + 1);
    }
    if (data.empty() || data.front() != ':') return false;
    std::string list(trim(data.substr(1)));
    std::string_view more;
    while (!list.empty() && list.back() == '\\' && lines.peek(more) && isHexContinuation(more)) {
        lines.next(more);
        list.pop_back();
        list += trim(more);
    }
    if (!list.empty() && list.back() == '\\') list.pop_back();
    type = static_cast<ValueType>(typeNumber);
    return readHexBytes(list, out);
}

bool printable(std::string_view text) {
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F) return false;
    return true;
}

void appendQuoted(std::string& out, std::string_view text) {
    out += '"';
    for (char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    out += '"';
}

void appendHex(std::string& out, std::size_t lineStart, std::string_view bytes) {
    static const char digits[] = "0123456789abcdef";
    std::size_t column = out.size() - lineStart;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const bool last = i + 1 == bytes.size();
        const std::size_t width = last ? 2 : 3;
        if (i > 0 && column + width + 1 > kWrapColumn) {
            out += "\\\n  ";
            column = 2;
        }
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += digits[b >> 4];
        out += digits[b & 0xF];
        if (!last) out += ',';
        column += width;
    }
}

void appendValue(std::string& out, const RegValue& v) {
    const std::size_t lineStart = out.size();
    if (v.name.empty()) {
        out += '@';
    } else {
        appendQuoted(out, v.name);
    }
    out += '=';
    auto typeNumber = static_cast<std::uint32_t>(v.type);
    if (v.type == ValueType::String && printable(v.data)) {
        appendQuoted(out, v.data);
    } else if (typeNumber == kDwordType && v.data.size() == 4) {
        std::uint32_t number = 0;
        for (int i = 3; i >= 0; --i) number = (number << 8) | static_cast<unsigned char>(v.data[i]);
        char text[16];
        static const char digits[] = "0123456789abcdef";
        for (int i = 7; i >= 0; --i, number >>= 4) text[i] = digits[number & 0xF];
        out += "dword:";
        out.append(text, 8);
    } else {
        if (v.type == ValueType::Binary) {
            out += "hex:";
        } else {
            static const char digits[] = "0123456789abcdef";
            std::string number;
            do {
                number.insert(number.begin(), digits[typeNumber & 0xF]);
            } while ((typeNumber >>= 4) != 0);
            out += "hex(" + number + "):";
        }
        appendHex(out, lineStart, v.data);
    }
    out += '\n';
}

void appendKey(std::string& out, const RegKey& key, const std::string& path) {
    if (!path.empty() && (key.declared || !key.values().empty() || key.children().empty())) {
        out += "\n[" + path + "]\n";
        for (const RegValue& v : key.values()) appendValue(out, v);
    }
    for (const RegKey& child : key.children())
        appendKey(out, child, path.empty() ? child.name : path + '\\' + child.name);
}

}  // namespace

ParsedRegFile RegFile::parse(std::string_view text) {
    ParsedRegFile result;
    LineReader lines(text);
    std::string_view raw;
    RegKey* current = nullptr;
    bool sawKey = false;
    bool keyUsable = false;
    while (lines.next(raw)) {
        const std::size_t number = lines.number();
        const std::string_view line = trim(raw);
        if (line.empty() || line.front() == ';') continue;
        bool ok = false;
        if (line.front() == '[') {
            sawKey = true;
            current = nullptr;
            keyUsable = false;
            if (line.back() == ']' && line.size() > 2) {
                const std::string_view path = line.substr(1, line.size() - 2);
                const auto names = splitKeyPath(path);
                // "[-KEY]" asks other tools to delete a key; this store has no such thing.
                ok = !names.empty() && names.front().front() != '-';
                for (std::string_view name : names) ok = ok && isValidName(name);
                if (ok) {
                    bool created = false;
                    current = &result.tree.create(path, created);
                    keyUsable = true;
                }
            }
        } else if (line.front() == '@' || line.front() == '"') {
            std::string name;
            std::string_view rest = line;
            bool named = true;
            if (rest.front() == '@') {
                rest.remove_prefix(1);
            } else {
                named = readQuoted(rest, name);
            }
            rest = trim(rest);
            if (named && !rest.empty() && rest.front() == '=') {
                ValueType type = ValueType::String;
                std::string data;
                if (readData(trim(rest.substr(1)), lines, type, data) && keyUsable) {
                    current->setValue(name, type, data);
                    ok = true;
                }
            }
        } else if (!sawKey && (line == kHeader || line == kHeader5)) {
            ok = true;
        }
        if (!ok) result.badLines.push_back(number);
    }
    return result;
}

std::string RegFile::write(const RegTree& tree) {
    std::string out(kHeader);
    out += '\n';
    appendKey(out, tree.root(), "");
    return out;
}

}  // namespace tavrin
