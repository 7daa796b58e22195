// cards.h: the one way cards and holds are written and read: "AS", "TD", "2C"; "KS QS JS". Inline, so
// the host and every test can use it without linking the analysis.
#pragma once

#include "engine/game.h"

#include <cstring>
#include <string>

constexpr char RankLetters[] = "23456789TJQKA";   // by CardRank
constexpr char SuitLetters[] = "CDHS";            // by Suit

// "KS", "TD", "2C"; "??" for what is no card.
inline std::string CardName(Card card)
{
    if (card >= DeckSize)
        return "??";
    return std::string(1, RankLetters[RankOf(card)]) + SuitLetters[SuitOf(card)];
}

// The card of "AS", "td", "10h", "2c" (rank then suit, either case), taking `length` characters; -1
// when they are no card.
inline int ParseCard(const char *text, size_t length)
{
    auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
    if (length == 3 && text[0] == '1' && text[1] == '0') {
        const char ten[2] = { 'T', text[2] };
        return ParseCard(ten, 2);
    }
    if (length != 2 || text[0] == '\0' || text[1] == '\0')
        return -1;
    const char *rank = strchr(RankLetters, upper(text[0]));
    const char *suit = strchr(SuitLetters, upper(text[1]));
    if (!rank || !suit)
        return -1;
    return static_cast<int>(suit - SuitLetters) * 13 + static_cast<int>(rank - RankLetters);
}

inline int ParseCard(const char *text) { return ParseCard(text, strlen(text)); }

// The held cards by name, left to right: "KS QS JS", or "nothing".
inline std::string HeldNames(const Card cards[HandSize], int heldMask)
{
    std::string names;
    for (int i = 0; i < HandSize; ++i)
        if (heldMask & (1 << i))
            names += (names.empty() ? "" : " ") + CardName(cards[i]);
    return names.empty() ? "nothing" : names;
}

// Card under card: "KS QS -- -- 9D", a hold as a row of the five positions.
inline std::string HoldRow(const Card cards[HandSize], int heldMask, const char *separator = " ")
{
    std::string row;
    for (int i = 0; i < HandSize; ++i)
        row += (i ? separator : "") + (heldMask & (1 << i) ? CardName(cards[i]) : std::string("--"));
    return row;
}
