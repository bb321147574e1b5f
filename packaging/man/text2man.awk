# Turns the short text sources of the man pages into man(7) markup. The first line is the .TH line's
# arguments; "# SECTION" starts a section; a line starting with ": " describes the line before it (a
# term); a blank line starts a new paragraph; **bold** and *italic* mark words.
function inline(s) {
    gsub(/\\/, "\\e", s)
    while (match(s, /\*\*[^*]+\*\*/)) s = substr(s, 1, RSTART - 1) "\\fB" substr(s, RSTART + 2, RLENGTH - 4) "\\fR" substr(s, RSTART + RLENGTH)
    while (match(s, /\*[^*]+\*/)) s = substr(s, 1, RSTART - 1) "\\fI" substr(s, RSTART + 1, RLENGTH - 2) "\\fR" substr(s, RSTART + RLENGTH)
    if (s ~ /^[.']/) s = "\\&" s
    return s
}
function flush() {
    if (held != "") print inline(held)
    held = ""
}
NR == 1 { gsub(/@VERSION@/, version); print ".TH " $0; next }
/^# / { flush(); section = substr($0, 3); print ".SH " section; next }
section == "NAME" { sub(/ - /, " \\- "); print; next }
/^: / { if (held != "") { print ".TP"; print inline(held); held = "" } print inline(substr($0, 3)); next }
/^$/ { flush(); print ".PP"; next }
{ flush(); held = $0 }
END { flush() }
