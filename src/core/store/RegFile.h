#pragma once
// The text form of one store root, readable and editable by users and administrators:
//
//   REGEDIT4
//
//   [SOFTWARE\QUILLON\TAVRIN]
//   @="Quillon"
//   "DateFormat"="mm/dd/yy"
//   "Odd"=hex(1):46,46,00
//
// Reading is tolerant: CR LF or LF, blank lines, ';' comments, hex data continued with a trailing
// backslash. A line that cannot be read marks the result corrupt, and every other line is kept.
#include <string>
#include <string_view>
#include <vector>

#include "core/store/RegTree.h"

namespace tavrin {

// What a text gave: every key and value that could be read, and the lines that could not. A damaged
// file is no failure to read: the store keeps its readable lines and a copy of the whole file.
struct ParsedRegFile {
    RegTree tree;
    std::vector<std::size_t> badLines;  // 1-based numbers of the lines that could not be read

    bool corrupt() const { return !badLines.empty(); }
};

class RegFile {
  public:
    static ParsedRegFile parse(std::string_view text);
    static std::string write(const RegTree& tree);
};

}  // namespace tavrin
