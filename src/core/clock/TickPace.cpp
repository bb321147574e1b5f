#include "core/clock/TickPace.h"

#include "core/timezones/PatternLexer.h"

namespace tavrin {

bool patternShowsSeconds(std::string_view pattern) {
    PatternLexer lex(pattern);
    PatternToken t;
    while (lex.next(t)) {
        if (t.kind == PatternToken::Kind::Field && t.letter == 's') return true;
    }
    return false;
}

TickPace clockTickPace(const Settings& settings) {
    return patternShowsSeconds(settings.TimeFormat) ? TickPace::EachSecond : TickPace::EachMinute;
}

}  // namespace tavrin
