#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "CaseRecord.h"
#include "RunTable.h"

// What a deck holds, as the reader takes it back.
struct DeckValues {
    std::string reportLine;          // line 1: the case name padded to 8, then ".out"
    std::string title;               // the first 16 characters of line 2, padding included
    int componentCount = 0;
    std::string densityExponentText; // lines 4 and 5 as text, padding included
    std::string temperatureText;
    double densityExponent = 0.0;    // the same two lines as numbers
    double initialTemperature = 0.0;
    double cp[3] = {};               // Cpa, Cpb, Cpc
    int options[8] = {};             // the digits of line 7; 5 to 7 carry nothing
    RunTable runs;                   // run count, ingredient numbers, every run's values
};

// Where and why a deck could not be read.
struct DeckProblem {
    int line = 0;                    // 1-based line of the deck
    std::string message;             // what was expected there
};

struct DeckReading {
    DeckValues deck;                 // complete only when there is no problem
    std::optional<DeckProblem> problem;

    bool ok() const { return !problem.has_value(); }
    // "line 3: ..." for messages to the user.
    std::string Account() const;
};

// Reads a deck as the writer lays it out.  Lines may end in CR LF or LF and may
// be of any length.  Values that touch (a real of 12 characters or more, an
// ingredient number of 5 digits) are read as the fields they were written as;
// decks edited by hand with values apart still read.  The reader stops at the
// first fault: a count outside 1 to 10, a missing line or value, or text where
// a number belongs.  Nothing is read beyond ten components or ten runs.
DeckReading ReadInputDeck(std::string_view text);

// Reads the rest of an open stream as a deck.  The caller opens and closes it.
DeckReading ReadInputDeck(std::FILE* stream);
